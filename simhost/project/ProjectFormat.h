// Names and limits of the project file shared by its reader and writer.
#pragma once

#include <cstdint>
#include <vector>

namespace sim::format {

inline constexpr const char* kFormatName = "zentrim-project";
inline constexpr int kVersion = 1;
inline constexpr int kMaxSize = 30000;                // widths, heights, downsample factors
inline constexpr int64_t kMaxRatioTerm = 2147483647;  // pixel aspect terms (the host's A_Ratio)
inline constexpr double kMinFrameRate = 1;            // frames per second, as the host allows
inline constexpr double kMaxFrameRate = 999;
inline constexpr double kMaxSeconds = 10000000;  // any time, either way
// Any other number (positions, anchor points, scales, rotations, time-remap values; mask points
// may be any finite number):
// far beyond what a frame of at most 30000 pixels can show, and small enough that the renderer's
// and the plug-in's arithmetic on it stays finite.
inline constexpr double kMaxMagnitude = 10000000;

// Each list is indexed by the model's enum value.
inline const std::vector<const char*> kItemTypes = {"folder", "solid", "image", "comp", "null"};
inline const std::vector<const char*> kLayerKinds = {"av",    "null", "camera",
                                                     "light", "text", "shape"};
inline const std::vector<const char*> kMaskModes = {"none", "add", "subtract", "intersect"};
inline const std::vector<const char*> kInterpolations = {"linear", "hold", "bezier"};

}  // namespace sim::format
