// One layer's part in a render: whether it draws, the frame pixels it may touch, the map back into
// its source, and which source pixels its masks leave visible.
#pragma once

#include <cstdint>
#include <vector>

#include "Geometry.h"
#include "Model.h"
#include "World.h"

namespace sim {

// Converts a coordinate to an int after clamping, so far-away layers never overflow (NaN: lo).
int clampToInt(double v, int lo, int hi);

// A layer that will draw, with what is needed to draw it.
struct LayerPlan {
    const Layer* layer = nullptr;
    const Item* source = nullptr;
    Rational layerTime;
    Vec2 root;               // subtracted from composition coordinates before `inverse` applies
    Affine inverse;          // composition (minus root) -> source pixels
    PixelRect sourceWindow;  // source pixels that may show
    PixelRect dest;          // frame pixels that may be touched
    float opacity = 1;
};

// Fills `plan` and returns true when the layer draws at composition time `time` into a frame of
// frameW x frameH pixels downsampled by (dh, dv). Throws std::runtime_error for a broken parent
// chain.
bool planLayer(const Project& project, const Comp& comp, const Layer& layer, Rational time, int dh,
               int dv, int frameW, int frameH, LayerPlan* plan);

// Which source pixels of a window the masks leave visible (1) or hide (0).
struct Coverage {
    PixelRect window;
    bool everything = true;  // no active mask
    std::vector<uint8_t> bits;

    // The flags of source row y, indexed by x - window.x0; only when !everything.
    const uint8_t* row(int y) const {
        return bits.data() +
               static_cast<size_t>(y - window.y0) * static_cast<size_t>(window.x1 - window.x0);
    }
};

// The layer's masks at a layer time over a window of its source: coverage starts empty, or full
// when the first active mask subtracts or intersects; each closed mask (mode not None) then adds,
// subtracts or intersects its inside (pixel centres, even-odd rule), flipped when inverted. Reuses
// the memory `out` already holds.
void maskCoverage(const Layer& layer, Rational layerTime, const PixelRect& window, Coverage* out);

}  // namespace sim
