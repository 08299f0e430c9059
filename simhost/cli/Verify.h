// "Nothing moved, nothing cut", measured: every composition whose picture depends on a cropped
// composition, and each cropped composition as itself, is rendered before and after the command
// at the times that matter and compared pixel by pixel (VerifyPlan.h says what is compared).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Host.h"
#include "Pictures.h"
#include "VerifyPlan.h"

namespace sim {

// One frame of one composition with pixels that moved, were cut, or are no longer shown.
struct FrameDifference {
    std::string comp;
    Rational time;
    int64_t pixels = 0;   // pixels whose value differs in any channel
    std::string picture;  // the diff picture's file name, when one was written
};

struct Verification {
    std::vector<std::string> comps;  // the compositions compared, in project order
    int64_t frames = 0;              // frames compared, over all of them
    // Pixels that differ from what the crop may keep (within the crop windows): moved or changed.
    int64_t differingPixels = 0;
    std::vector<FrameDifference> differences;
    // Content that was visible at a time the command measured (and, for Mask Crop, within the
    // mask it cropped to) and is gone afterwards.
    int64_t cutPixels = 0;
    std::vector<FrameDifference> cut;
    // Content outside the crop windows at times the command did not measure: what a crop
    // measured at one time (or on one mask) cuts away by design.
    int64_t croppedAwayPixels = 0;
    std::vector<FrameDifference> croppedAway;
    size_t resized = 0;  // resizes the command made
    bool nothingMoved() const { return differingPixels == 0; }
    bool nothingCut() const { return cutPixels == 0; }
    bool passed() const { return nothingMoved() && nothingCut(); }
};

// Renders and compares each planned frame (VerifyPlan.h): the frame after against the frame
// before limited to the crop windows (a pixel that differs moved); the frame before as the command
// had to keep it against the same limited to the windows (a pixel that differs was visible at a
// measured time and outside the window: if it is gone, it was cut); what else the frame before
// showed beyond the windows is counted as cropped away. With `diffDir` set, a picture of every
// frame with moved pixels is written there as <base>-diff-<time>.png (the frame after, dimmed,
// those pixels magenta), and of every frame with cut pixels as <base>-cut-<time>.png (the frame
// before, dimmed, the pixels cut magenta).
Verification verifyCrop(const Project& before, const Project& after,
                        const std::vector<ResizeRecord>& resized, const CropCommand& command,
                        const std::string& diffDir, PictureNames& names);

// "nothing moved, nothing cut: N compositions, M frames, 0 pixels differ", what moved or was cut,
// or that there was nothing to compare.
std::string verificationSummary(const Verification& v);

}  // namespace sim
