// Helpers shared by the layer, mask, mask outline, stream and keyframe suite files.
#pragma once

#include <string>
#include <type_traits>

#include "LayerEdits.h"
#include "Suites.h"

namespace sim {

// Kept apart from the other suite files' helpers, which may use the same plain names.
namespace layersuites {

void registerMaskSuites(Host& host);      // Mask, Mask Outline
void registerStreamSuites(Host& host);    // Stream
void registerKeyframeSuites(Host& host);  // Keyframe

// Fills a suite slot with a function of the vendor's signature. Where our sdk header declares the
// slot without one (AEGP_UndeclaredFunc) the pointer is converted; the detour through void(*)()
// is the cast GCC accepts between unrelated function types without -Wcast-function-type.
template <typename Slot, typename R, typename... A>
void setSlot(Slot& slot, R (*fn)(A...)) {
    if constexpr (std::is_same_v<Slot, R (*)(A...)>)
        slot = fn;
    else
        slot = reinterpret_cast<Slot>(reinterpret_cast<void (*)()>(fn));
}

// The A_Time holding t exactly, in units of the composition's frames when they can (30 for
// 30 fps), else in the smallest scale that can; a time no A_Time holds exactly is refused.
A_Time exactTime(Rational t, const Comp& comp);

// A time given to the host in a time mode, as the layer's time (composition time − start time).
Rational layerTimeOf(const Layer& layer, AEGP_LTimeMode mode, const A_Time* time);
// A layer time expressed in a time mode.
Rational inTimeMode(const Layer& layer, AEGP_LTimeMode mode, Rational layerTime);

struct MaskLocation {
    Item* comp = nullptr;
    Layer* layer = nullptr;
    Mask* mask = nullptr;
    size_t index = 0;
};
// Where a mask of the project is; throws HostError when it no longer exists.
MaskLocation findMask(Project& project, Id maskId);
MaskLocation maskOf(Host& h, AEGP_MaskRefH maskH);

// The path an outline value handle holds.
MaskPath& outlineOf(Host& h, AEGP_MaskOutlineValH outlineH, HandleRecord** recordP = nullptr);
AEGP_MaskOutlineValH newOutline(Host& h, const MaskPath& path, const std::string& what);

// What a stream handle reads: a stream of a layer, or the outline of one of its masks.
struct StreamTarget {
    HandleRecord* record = nullptr;
    Item* comp = nullptr;
    Layer* layer = nullptr;
    Mask* mask = nullptr;  // mask streams only
    int which = 0;         // AEGP_LayerStream or AEGP_MaskStream value
};
StreamTarget streamOf(Host& h, AEGP_StreamRefH streamH);

// Calls f with the Animatable<T> behind a stream (Vec3, double or MaskPath).
template <typename F>
decltype(auto) visitStream(const StreamTarget& s, F&& f) {
    switch (s.which) {
        case AEGP_LayerStream_ANCHORPOINT:
            return f(s.layer->anchorPoint);
        case AEGP_LayerStream_POSITION:
            return f(s.layer->position);
        case AEGP_LayerStream_SCALE:
            return f(s.layer->scale);
        case AEGP_LayerStream_ROTATION:
            return f(s.layer->rotation);
        case AEGP_LayerStream_OPACITY:
            return f(s.layer->opacity);
        case AEGP_LayerStream_TIME_REMAP:
            return f(s.layer->timeRemap);
        default:
            return f(s.mask->path);
    }
}

// Stream values to and from the plug-in's AEGP_StreamVal2. A mask path goes out as a new
// outline handle the plug-in releases through AEGP_DisposeStreamValue, and comes in from one.
void toStreamVal(Host& h, const StreamTarget& s, const Vec3& v, AEGP_StreamVal2* out);
void toStreamVal(Host& h, const StreamTarget& s, double v, AEGP_StreamVal2* out);
void toStreamVal(Host& h, const StreamTarget& s, const MaskPath& v, AEGP_StreamVal2* out);
void fromStreamVal(Host& h, const AEGP_StreamVal2& in, Vec3* v);
void fromStreamVal(Host& h, const AEGP_StreamVal2& in, double* v);
void fromStreamVal(Host& h, const AEGP_StreamVal2& in, MaskPath* v);

}  // namespace layersuites
}  // namespace sim
