// The host's frame cache: frames given back after use are kept for the next render, so that
// frame after frame reuses the same memory, together with the renderer's working memory.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "Renderer.h"

namespace sim {

class FramePool {
  public:
    static constexpr size_t kKept = 2;  // frames kept; more given back are freed

    FramePool() = default;
    ~FramePool();
    FramePool(const FramePool&) = delete;
    FramePool& operator=(const FramePool&) = delete;

    // A frame to render into: the one given back last, or a new empty one.
    std::shared_ptr<ReusableFrame> take();
    // Keeps a frame nobody uses any more for a later take(). Under AddressSanitizer its pixels are
    // poisoned meanwhile, so that reading a frame after checking it in is reported.
    void giveBack(std::shared_ptr<ReusableFrame> frame);
    size_t kept() const { return free_.size(); }

    RenderScratch scratch;

  private:
    std::vector<std::shared_ptr<ReusableFrame>> free_;
};

}  // namespace sim
