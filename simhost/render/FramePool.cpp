// Frames kept between renders, poisoned while unused in AddressSanitizer builds.
#include "FramePool.h"

#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define ZENTRIM_SIM_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENTRIM_SIM_ASAN 1
#endif
#endif

#ifdef ZENTRIM_SIM_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace sim {

namespace {

void setPoisoned(ReusableFrame& frame, bool poisoned) {
#ifdef ZENTRIM_SIM_ASAN
    std::vector<uint8_t>& bytes = frame.world.data;
    if (bytes.empty()) return;
    if (poisoned)
        ASAN_POISON_MEMORY_REGION(bytes.data(), bytes.size());
    else
        ASAN_UNPOISON_MEMORY_REGION(bytes.data(), bytes.size());
#else
    (void)frame;
    (void)poisoned;
#endif
}

}  // namespace

FramePool::~FramePool() {
    for (const std::shared_ptr<ReusableFrame>& f : free_)
        setPoisoned(*f, false);
}

std::shared_ptr<ReusableFrame> FramePool::take() {
    if (free_.empty()) return std::make_shared<ReusableFrame>();
    std::shared_ptr<ReusableFrame> f = std::move(free_.back());
    free_.pop_back();
    setPoisoned(*f, false);
    return f;
}

void FramePool::giveBack(std::shared_ptr<ReusableFrame> frame) {
    if (!frame || free_.size() >= kKept) return;
    setPoisoned(*frame, true);
    free_.push_back(std::move(frame));
}

}  // namespace sim
