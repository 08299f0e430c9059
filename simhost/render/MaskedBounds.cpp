// Mask-limited source bounds of a layer, consistent with how the renderer applies masks.
#include "MaskedBounds.h"

#include <stdexcept>

namespace sim {

FloatRect maskedBounds(const Layer& layer, int sourceWidth, int sourceHeight, Rational layerTime) {
    const FloatRect source{0, 0, static_cast<double>(sourceWidth),
                           static_cast<double>(sourceHeight)};
    FloatRect visible = source;
    bool first = true;
    for (const Mask& mask : layer.masks) {
        if (mask.mode == MaskMode::None) continue;
        MaskPath path = valueAt(mask.path, layerTime);
        if (!path.closed) continue;
        if (first && mask.mode == MaskMode::Add) visible = {};
        first = false;
        FloatRect outline = boundsOf(flattenMaskPath(path));
        if (mask.mode == MaskMode::Add)
            visible = unite(visible, mask.inverted ? source : outline);
        else if (mask.mode == MaskMode::Intersect && !mask.inverted)
            visible = intersect(visible, outline);
    }
    return intersect(visible, source);
}

FloatRect maskedBounds(const Project& project, Id layerId, Rational layerTime) {
    const Layer* layer = project.findLayer(layerId);
    if (!layer) throw std::invalid_argument("no layer " + std::to_string(layerId));
    int w = 0, h = 0;
    if (const Item* source = project.findItem(layer->source)) itemSize(*source, &w, &h);
    return maskedBounds(*layer, w, h, layerTime);
}

}  // namespace sim
