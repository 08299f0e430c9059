// Drawing a planned layer into rows of float pixels: nearest-neighbour sampling at pixel centres,
// masks, opacity and the premultiplied "over" operator, over any part of the layer's footprint.
#pragma once

#include <cstddef>
#include <vector>

#include "LayerPlan.h"
#include "Png.h"
#include "World.h"

namespace sim {

// Premultiplied float ARGB over a window of a composition; everything outside it is transparent.
// A nested composition's picture, sampled by the layers that show it.
struct FloatCanvas {
    PixelRect area;
    std::vector<float> px;  // at least the area's pixels * 4; contents beyond it are unused

    bool contains(int x, int y) const {
        return x >= area.x0 && x < area.x1 && y >= area.y0 && y < area.y1;
    }
    const float* at(int x, int y) const {
        return px.data() +
               (static_cast<size_t>(y - area.y0) * static_cast<size_t>(area.x1 - area.x0) +
                static_cast<size_t>(x - area.x0)) *
                   4;
    }
};

// Float ARGB rows being drawn into: pixel (x, y) at base + (y - y0) * stride + (x - x0) * 4.
struct FloatRows {
    float* base = nullptr;
    size_t stride = 0;  // floats from one row to the next
    int x0 = 0, y0 = 0;

    float* at(int x, int y) const {
        return base + static_cast<size_t>(y - y0) * stride + static_cast<size_t>(x - x0) * 4;
    }
};

// A planned layer with what its pixels come from and how they are found.
struct PreparedLayer {
    LayerPlan plan;
    Coverage coverage;
    const FloatCanvas* nested = nullptr;  // composition sources: their picture
    // 16-bit footage as the project holds it: rounded to 8 bits in an 8 bpc project, with every
    // bit in 16 and 32 bpc projects.
    bool footageAtEightBits = true;

    // Without rotation or skew, the source column a frame column samples does not depend on the
    // row, nor the source row on the column: columnSource[x - dest.x0] and rowSource[y - dest.y0]
    // hold them, -1 where the sample falls outside the source window. Valid columns run from
    // firstColumn to endColumn; `contiguous` when none in between is invalid.
    bool axisAligned = false;
    std::vector<int> columnSource, rowSource;
    int firstColumn = 0, endColumn = 0;
    bool contiguous = false;
    // With rotation: a.cx and c.cx of the inverse map for each frame column, and whether the part
    // of a row whose samples lie inside the window can be searched for (the sample coordinates are
    // monotonic along a row; false when magnitudes could overflow).
    std::vector<double> columnA, columnC;
    bool searchable = false;
};

// Footage pixel (x, y) inside the image, premultiplied float ARGB: 8-bit footage as it is; 16-bit
// footage rounded to 8 bits when `atEightBits` (an 8 bpc project), else with every bit.
inline bool footagePixel(const ImageData& img, int x, int y, bool atEightBits, float out[4]) {
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(img.width) + static_cast<size_t>(x)) * 4;
    float c[4];
    if (!img.sixteenBits()) {
        for (int i = 0; i < 4; ++i)
            c[i] = img.rgba[at + static_cast<size_t>(i)] / 255.0f;
    } else if (atEightBits) {
        for (int i = 0; i < 4; ++i)
            c[i] = eightBitsOf(img.rgba16[at + static_cast<size_t>(i)]) / 255.0f;
    } else {
        for (int i = 0; i < 4; ++i)
            c[i] = img.rgba16[at + static_cast<size_t>(i)] / 65535.0f;
    }
    out[0] = c[3];
    out[1] = c[0] * c[3];
    out[2] = c[1] * c[3];
    out[3] = c[2] * c[3];
    return true;
}

// Fills the sampling fields from the plan (dest, sourceWindow, inverse, root).
void prepareSampling(PreparedLayer& layer, int dh, int dv);

// Whether the layer, drawn over transparent pixels, leaves one colour on every pixel of `region`
// (a solid without masks or rotation covering it); that colour goes into argb.
bool fillsRegion(const PreparedLayer& layer, const PixelRect& region, float argb[4]);

// Draws the layer's pixels inside `region` (frame pixels) over `target`. The result for every pixel
// is the one a per-pixel evaluation of the layer's inverse map gives.
void drawLayer(const PreparedLayer& layer, const FloatRows& target, const PixelRect& region, int dh,
               int dv);

}  // namespace sim
