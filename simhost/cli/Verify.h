// "Nothing moved", measured: every composition whose picture depends on a cropped composition is
// rendered before and after the command, at the times that matter, and compared pixel by pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Host.h"
#include "Pictures.h"

namespace sim {

// One frame of one composition that differs.
struct FrameDifference {
    std::string comp;
    Rational time;
    int64_t pixels = 0;   // pixels whose value differs in any channel
    std::string picture;  // the diff picture's file name, when one was written
};

// What a cropped composition kept: the rectangle of its former frame that its new frame shows
// (left, top, width, height in its former pixels).
struct CropWindow {
    Id comp = 0;
    double left = 0, top = 0;
    int width = 0, height = 0;
};

struct Verification {
    std::vector<std::string> comps;  // the compositions compared, in project order
    int64_t frames = 0;              // frames compared, over all of them
    int64_t differingPixels = 0;     // pixels that moved or changed
    std::vector<FrameDifference> differences;
    // Content of a cropped composition outside its crop window that a frame showed before: what
    // a crop measured at one time (or on one mask) cuts away, not something that moved.
    int64_t croppedAwayPixels = 0;
    std::vector<FrameDifference> croppedAway;
    bool nothingMoved() const { return differingPixels == 0; }
};

// The crop window of each cropped composition that existed before, read from what the crop did
// to it: its new size, and the offset by which its layers without a parent were carried. A
// composition with no such layer has none (and is compared without one).
std::vector<CropWindow> cropWindows(const Project& before, const Project& after,
                                    const std::vector<ResizeRecord>& resized);

// `before` with every layer that shows a cropped composition limited to its crop window (an
// intersecting mask of the window appended to its masks): what the crop may keep of the picture.
Project limitedToCropWindows(const Project& before, const std::vector<CropWindow>& windows);

// The compositions of `after` that show a cropped composition (one of `resized`), directly or
// through any depth of nested compositions, and are not cropped themselves and existed before.
// In project order.
std::vector<Id> dependentComps(const Project& before, const Project& after,
                               const std::vector<ResizeRecord>& resized);

// The times (composition time) at which `comp` is compared: its current time (before and after),
// and the in point, the last frame before the out point and every keyframe time of each layer
// between it and a cropped composition, mapped to its own time (uses under a time remap add
// none); with `everyFrame` (the crop over the duration) every frame of its duration. Sorted,
// each once, within [0, duration).
std::vector<Rational> verificationTimes(const Project& before, const Project& after, Id comp,
                                        const std::vector<ResizeRecord>& resized, bool everyFrame);

// Renders and compares each frame after with the frame before limited to the crop windows: a
// pixel that differs moved (or changed). Where the frame before shows more than its limited
// version, the difference is counted as cropped away. With `everyFrame` (the crop over the
// duration, which must keep whatever any frame shows) the frames are compared as they were. With
// `diffDir` set, a picture of every frame with moved pixels is written there as
// <base>-diff-<time>.png (the frame after, dimmed, with those pixels in magenta).
Verification verifyNothingMoved(const Project& before, const Project& after,
                                const std::vector<ResizeRecord>& resized, bool everyFrame,
                                const std::string& diffDir, PictureNames& names);

// "nothing moved: N compositions, M frames, 0 pixels differ", or what differs.
std::string verificationSummary(const Verification& v);

}  // namespace sim
