// Plane geometry shared by the renderer and the mask bounds: affine maps, layer transforms, masks.
#pragma once

#include <vector>

#include "Model.h"

namespace sim {

// Axis-aligned rectangle; empty when right <= left or bottom <= top.
struct FloatRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool isEmpty() const { return right <= left || bottom <= top; }
};
bool operator==(const FloatRect& a, const FloatRect& b);

// (x, y) -> (a x + b y + tx, c x + d y + ty).
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    Vec2 apply(Vec2 p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
    double determinant() const { return a * d - b * c; }
};
Affine operator*(const Affine& outer, const Affine& inner);  // inner first, then outer
Affine translation(double x, double y);
// Clockwise on screen (y grows downwards); multiples of 90 degrees are exact.
Affine rotationDegrees(double degrees);
Affine scaling(double sx, double sy);
// Throws std::domain_error for a singular map.
Affine inverse(const Affine& m);

// A layer's map from source pixels to composition pixels, kept as translate(rootPosition) * rest,
// where rootPosition is the position of the top of the parent chain. Renderers subtract
// rootPosition before applying inverse(rest), so that moving a parentless layer by a whole number
// of pixels moves its pixels by exactly that amount, without rounding differences.
struct LayerTransform {
    Vec2 rootPosition;
    Affine rest;
    Affine full() const { return translation(rootPosition.x, rootPosition.y) * rest; }
};

// position * rotation * scale * (-anchor point) of the layer alone, at a layer time (z ignored).
Affine layerLocalMatrix(const Layer& layer, Rational layerTime);
// Composed with the parent chain, every layer evaluated at its own layer time (composition time -
// its start time). Throws std::runtime_error for a missing parent or a parent cycle.
LayerTransform layerTransform(const Comp& comp, const Layer& layer, Rational compTime);

// A mask outline flattened to a polygon: segment i runs from vertex i to vertex i+1 with control
// points v_i + out_i and v_{i+1} + in_{i+1}; a closed outline includes the segment back to vertex
// 0. Straight segments (both handles zero) give one edge; curved ones a fixed number, so the result
// is deterministic.
std::vector<Vec2> flattenMaskPath(const MaskPath& path);
FloatRect boundsOf(const std::vector<Vec2>& points);  // empty rect at 0 for no points

FloatRect intersect(const FloatRect& a, const FloatRect& b);  // {0,0,0,0} when they don't overlap
FloatRect unite(const FloatRect& a, const FloatRect& b);      // empty operands are ignored

// Sample positions (a pixel centre mapped into a source, a mask outline's point) are snapped to a
// grid of 2^-20 pixel before the pixel holding them is decided. Two computations of one geometry
// that differ only in their last bits (an anchor multiplied and divided by the same ratio, a
// crop window read back as a difference of positions) then sample the same pixels, where a
// position on a pixel's edge would otherwise fall on either side of it; a real move of a
// hundredth of a pixel is some ten thousand grid steps and still shows. Exact for |v| < 2^31
// (adding 1.5 * 2^32 leaves 2^-20 as the last bit); beyond, the grid only gets coarser, never
// out of order. NaN stays NaN.
inline double snapToSampleGrid(double v) {
    constexpr double kShift = 6442450944.0;  // 1.5 * 2^32
    return (v + kShift) - kShift;
}

}  // namespace sim
