// Keyframe suite 4: a stream's keyframes, their times, values and interpolation.
#include <algorithm>

#include "LayerSuitesCommon.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kKeyframeSuite[] = "KeyframeSuite";
namespace layersuites {

namespace {

template <typename T>
Keyframe<T>& keyAt(Animatable<T>& a, AEGP_KeyframeIndex index) {
    if (index < 0 || static_cast<size_t>(index) >= a.keys.size())
        throw HostError(A_Err_PARAMETER, "keyframe " + std::to_string(index) +
                                             " is outside a stream of " +
                                             std::to_string(a.keys.size()) + " keyframes");
    return a.keys[static_cast<size_t>(index)];
}

AEGP_KeyframeInterpolationType toHost(Interp i) {
    switch (i) {
        case Interp::Linear:
            return AEGP_KeyInterp_LINEAR;
        case Interp::Bezier:
            return AEGP_KeyInterp_BEZIER;
        case Interp::Hold:
            return AEGP_KeyInterp_HOLD;
    }
    return AEGP_KeyInterp_NONE;
}

Interp fromHost(AEGP_KeyframeInterpolationType i) {
    switch (i) {
        case AEGP_KeyInterp_LINEAR:
            return Interp::Linear;
        case AEGP_KeyInterp_BEZIER:
            return Interp::Bezier;
        case AEGP_KeyInterp_HOLD:
            return Interp::Hold;
    }
    throw HostError(A_Err_PARAMETER, "interpolation " + std::to_string(i) + " is not 1, 2 or 3");
}

A_Err GetStreamNumKFs(AEGP_StreamRefH streamH, A_long* numP) {
    return hostCall("AEGP_GetStreamNumKFs", [&](Host& h) {
        requireOut(numP, "keyframe count");
        StreamTarget s = streamOf(h, streamH);
        *numP = visitStream(s, [](auto& a) { return static_cast<A_long>(a.keys.size()); });
        args(h, "stream", s.which, "of", s.record->id, "->", *numP);
        return A_Err_NONE;
    });
}

A_Err GetKeyframeTime(AEGP_StreamRefH streamH, AEGP_KeyframeIndex index, AEGP_LTimeMode mode,
                      A_Time* timeP) {
    return hostCall("AEGP_GetKeyframeTime", [&](Host& h) {
        requireOut(timeP, "time");
        StreamTarget s = streamOf(h, streamH);
        Rational t = visitStream(s, [&](auto& a) { return keyAt(a, index).time; });
        t = inTimeMode(*s.layer, mode, t);
        args(h, "stream", s.which, "of", s.record->id, "key", index, "mode", mode, "->",
             t.toString());
        *timeP = exactTime(t, s.comp->comp);
        return A_Err_NONE;
    });
}

A_Err InsertKeyframe(AEGP_StreamRefH streamH, AEGP_LTimeMode mode, const A_Time* timeP,
                     AEGP_KeyframeIndex* indexP) {
    return undoableCall("AEGP_InsertKeyframe", [&](Host& h) {
        requireOut(indexP, "keyframe index");
        StreamTarget s = streamOf(h, streamH);
        Rational t = layerTimeOf(*s.layer, mode, timeP);
        args(h, "stream", s.which, "of", s.record->id, "time", t.toString());
        *indexP = visitStream(s, [&](auto& a) {
            auto at = std::lower_bound(a.keys.begin(), a.keys.end(), t,
                                       [](const auto& k, Rational v) { return k.time < v; });
            // A keyframe already there is kept; the new one takes the stream's value at t.
            if (at == a.keys.end() || at->time != t) {
                using Key = typename std::decay_t<decltype(a.keys)>::value_type;
                Key k;
                k.time = t;
                k.value = valueAt(a, t);
                at = a.keys.insert(at, k);
            }
            return static_cast<AEGP_KeyframeIndex>(at - a.keys.begin());
        });
        return A_Err_NONE;
    });
}

A_Err DeleteKeyframe(AEGP_StreamRefH streamH, AEGP_KeyframeIndex index) {
    return undoableCall("AEGP_DeleteKeyframe", [&](Host& h) {
        StreamTarget s = streamOf(h, streamH);
        args(h, "stream", s.which, "of", s.record->id, "key", index);
        visitStream(s, [&](auto& a) {
            auto value = keyAt(a, index).value;
            a.keys.erase(a.keys.begin() + index);
            // Without keyframes the stream keeps the last key's value.
            if (a.keys.empty()) a.value = value;
        });
        return A_Err_NONE;
    });
}

A_Err SetKeyframeValue(AEGP_StreamRefH streamH, AEGP_KeyframeIndex index,
                       const AEGP_StreamValue2* valueP) {
    return undoableCall("AEGP_SetKeyframeValue", [&](Host& h) {
        requireOut(valueP, "value");
        StreamTarget s = streamOf(h, streamH);
        args(h, "stream", s.which, "of", s.record->id, "key", index);
        // The value is copied, not adopted: the plug-in still disposes it.
        visitStream(s, [&](auto& a) { fromStreamVal(h, valueP->val, &keyAt(a, index).value); });
        return A_Err_NONE;
    });
}

A_Err GetKeyframeInterpolation(AEGP_StreamRefH streamH, AEGP_KeyframeIndex index,
                               AEGP_KeyframeInterpolationType* inP,
                               AEGP_KeyframeInterpolationType* outP) {
    return hostCall("AEGP_GetKeyframeInterpolation", [&](Host& h) {
        StreamTarget s = streamOf(h, streamH);
        Interp in = Interp::Linear, out = Interp::Linear;
        visitStream(s, [&](auto& a) {
            in = keyAt(a, index).in;
            out = keyAt(a, index).out;
        });
        args(h, "stream", s.which, "of", s.record->id, "key", index, "->", toHost(in), toHost(out));
        if (inP) *inP = toHost(in);
        if (outP) *outP = toHost(out);
        return A_Err_NONE;
    });
}

A_Err SetKeyframeInterpolation(AEGP_StreamRefH streamH, AEGP_KeyframeIndex index,
                               AEGP_KeyframeInterpolationType in,
                               AEGP_KeyframeInterpolationType out) {
    return undoableCall("AEGP_SetKeyframeInterpolation", [&](Host& h) {
        StreamTarget s = streamOf(h, streamH);
        args(h, "stream", s.which, "of", s.record->id, "key", index, in, out);
        Interp i = fromHost(in), o = fromHost(out);
        visitStream(s, [&](auto& a) {
            keyAt(a, index).in = i;
            keyAt(a, index).out = o;
        });
        return A_Err_NONE;
    });
}

}  // namespace

void registerKeyframeSuites(Host& host) {
    static AEGP_KeyframeSuite4 keyframe = [] {
        AEGP_KeyframeSuite4 s{};
        s.AEGP_GetStreamNumKFs = entry<kKeyframeSuite, GetStreamNumKFs>;
        s.AEGP_GetKeyframeTime = entry<kKeyframeSuite, GetKeyframeTime>;
        setSlot(s.AEGP_InsertKeyframe, entry<kKeyframeSuite, InsertKeyframe>);
        setSlot(s.AEGP_DeleteKeyframe, entry<kKeyframeSuite, DeleteKeyframe>);
        s.AEGP_SetKeyframeValue = entry<kKeyframeSuite, SetKeyframeValue>;
        s.AEGP_GetKeyframeInterpolation = entry<kKeyframeSuite, GetKeyframeInterpolation>;
        s.AEGP_SetKeyframeInterpolation = entry<kKeyframeSuite, SetKeyframeInterpolation>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    host.addSuite(kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4, &keyframe);
}

}  // namespace layersuites
}  // namespace sim
