// Software rendering of a composition into a world, as the host does for a frame checkout.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "Model.h"
#include "World.h"

namespace sim {

struct RenderSettings {
    // Bytes added to every row beyond width * pixel size. Non-zero by default so that every reader
    // of a rendered frame must honour rowBytes; the padding holds kPaddingByte. Must be a multiple
    // of the channel size (1, 2 or 4 bytes at 8, 16, 32 bpc).
    int extraRowBytes = 32;
    // Threads a render may use, the caller's included: 0 for the machine's processors (at most
    // eight), 1 for the calling thread only. Small frames stay on the calling thread.
    int threads = 0;
};

// Working memory a renderer keeps from one frame to the next (float rows, nested compositions'
// pictures, mask coverage, helper threads), so that rendering frame after frame allocates nothing
// once the sizes settle. For one thread at a time.
class RenderScratch {
  public:
    RenderScratch();
    ~RenderScratch();
    RenderScratch(const RenderScratch&) = delete;
    RenderScratch& operator=(const RenderScratch&) = delete;

    struct Impl;
    Impl& impl() { return *impl_; }

  private:
    std::unique_ptr<Impl> impl_;
};

// A world rendered into again and again. Outside the `drawn` rectangles its pixels are
// transparent and every row's padding holds kPaddingByte; a render clears only what the previous
// one drew and its own layers do not cover again.
struct ReusableFrame {
    static constexpr size_t kMaxDrawn = 64;  // more layers' footprints are kept as their union
    World world;
    std::vector<PixelRect> drawn;  // what the last render may have made non-transparent
};

// Renders composition item compItemId at a composition time, downsampled by (downsampleH,
// downsampleV) >= 1, into a world of ceil(width / h) x ceil(height / v) pixels whose depth is the
// project's bits per channel.
//
// Layers are composited from the bottom of the stack (highest index) to the top (index 0) with the
// premultiplied "over" operator on a transparent background. A layer draws when its video switch
// is on, compTime lies in [inPoint, outPoint), it is an AV layer and its source is a solid, an
// image or a composition (rendered recursively at full resolution at the layer's source time:
// layer time, or the time-remap value in seconds when remapping is on). Each destination pixel
// centre, in full-resolution composition coordinates ((x + 0.5) h, (y + 0.5) v), is mapped back
// through the layer's transform (see layerTransform) and takes the source pixel containing that
// point (nearest neighbour). Masks decide per source pixel, testing its centre against the
// flattened outline with the even-odd rule; coverage starts empty, or full when the first active
// mask subtracts or intersects, and each closed mask (mode not None) then adds (max), subtracts
// (min with 1 - m) or intersects (min) its inside m, flipped when inverted. Opacity scales alpha.
// Compositing is done in float; 8 and 16 bpc frames store round(v * 255) and round(v * 32768),
// clamped to range.
//
// Throws std::invalid_argument for a bad item, depth, factor or padding, and std::runtime_error for
// a composition that contains itself or a broken parent chain.
World renderComp(const Project& project, Id compItemId, Rational compTime, int downsampleH,
                 int downsampleV, const RenderSettings& settings = {});

// The same into `frame`, whose memory is reused when its depth, size and row padding are already
// right (the world is made anew otherwise), with the working memory of `scratch`. When it throws,
// `frame` is left as it was or made anew and transparent.
void renderComp(const Project& project, Id compItemId, Rational compTime, int downsampleH,
                int downsampleV, ReusableFrame& frame, RenderScratch& scratch,
                const RenderSettings& settings = {});

}  // namespace sim
