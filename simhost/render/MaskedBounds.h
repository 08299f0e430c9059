// Bounds of the part of a layer's source that its masks leave visible, in source pixels.
#pragma once

#include "Geometry.h"
#include "Model.h"

namespace sim {

// The source rectangle [0, w] x [0, h] cut down by the layer's masks at a layer time, following
// the renderer's rule mask by mask: before the first active mask (closed path, mode not None) the
// visible area is everything when that mask subtracts or intersects, nothing when it adds; an add
// mask unites its flattened outline's bounding box (the whole source when inverted); an intersect
// mask intersects with it (no change when inverted); a subtract mask changes nothing (bounds cannot
// shrink by removing an inner part). No active mask gives the source rectangle. An empty result is
// {0, 0, 0, 0}.
FloatRect maskedBounds(const Layer& layer, int sourceWidth, int sourceHeight, Rational layerTime);
// The same for a layer of the project, its source size taken from its source item (0 x 0 for
// layers without one). Throws std::invalid_argument when there is no such layer.
FloatRect maskedBounds(const Project& project, Id layerId, Rational layerTime);

}  // namespace sim
