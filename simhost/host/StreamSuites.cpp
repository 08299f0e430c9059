// Stream suite 4: refs to layer transform, time remap and mask outline streams, and values.
#include <cstring>

#include "LayerSuitesCommon.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kStreamSuite[] = "StreamSuite";
namespace layersuites {

namespace {

const char* streamName(int which) {
    switch (which) {
        case AEGP_LayerStream_ANCHORPOINT:
            return "anchor point";
        case AEGP_LayerStream_POSITION:
            return "position";
        case AEGP_LayerStream_SCALE:
            return "scale";
        case AEGP_LayerStream_ROTATION:
            return "rotation";
        case AEGP_LayerStream_OPACITY:
            return "opacity";
        case AEGP_LayerStream_TIME_REMAP:
            return "time remap";
        case AEGP_MaskStream_OUTLINE:
            return "outline";
    }
    return nullptr;
}

// The streams a layer of that kind has; cameras and lights have no anchor point, scale or
// opacity, and only layers showing a composition can be time remapped here.
void requireLegal(const Project& project, const Layer& l, AEGP_LayerStream which) {
    if (!streamName(which) || which == AEGP_MaskStream_OUTLINE)
        throw HostError(A_Err_PARAMETER,
                        "layer stream " + std::to_string(which) + " is not provided");
    const bool cameraOrLight = l.kind == LayerKind::Camera || l.kind == LayerKind::Light;
    const bool transformOnly =
        which == AEGP_LayerStream_POSITION || which == AEGP_LayerStream_ROTATION;
    if (cameraOrLight && !transformOnly)
        throw HostError(A_Err_PARAMETER,
                        std::string("a camera or light has no ") + streamName(which) + " stream");
    if (which == AEGP_LayerStream_TIME_REMAP) {
        const Item* source = project.findItem(l.source);
        if (!source || source->type != ItemType::Comp)
            throw HostError(A_Err_PARAMETER, "layer '" + l.name + "' cannot be time remapped");
    }
}

std::string describe(const StreamTarget& s) {
    return std::string(streamName(s.which)) + " of " +
           (s.mask ? "mask '" + s.mask->name + "' of " : std::string()) + "layer '" +
           s.layer->name + "'";
}

A_Err GetNewLayerStream(AEGP_PluginID plugin, AEGP_LayerH layerH, AEGP_LayerStream which,
                        AEGP_StreamRefH* streamPH) {
    return hostCall("AEGP_GetNewLayerStream", [&](Host& h) {
        requireOut(streamPH, "stream");
        *streamPH = nullptr;
        Layer& l = h.layerOf(layerH);
        args(h, plugin, "layer", l.id, "stream", which);
        requireLegal(h.project(), l, which);
        *streamPH = h.handles()
                        .make(HandleKind::Stream,
                              std::string(streamName(which)) + " of layer '" + l.name + "'",
                              nullptr, l.id, which)
                        ->handle<AEGP_StreamRefH>();
        return A_Err_NONE;
    });
}

A_Err GetNewMaskStream(AEGP_PluginID plugin, AEGP_MaskRefH maskH, AEGP_MaskStream which,
                       AEGP_StreamRefH* streamPH) {
    return hostCall("AEGP_GetNewMaskStream", [&](Host& h) {
        requireOut(streamPH, "stream");
        *streamPH = nullptr;
        MaskLocation at = maskOf(h, maskH);
        args(h, plugin, "mask", at.mask->id, "stream", which);
        if (which != AEGP_MaskStream_OUTLINE)
            throw HostError(A_Err_PARAMETER,
                            "mask stream " + std::to_string(which) + " is not provided");
        *streamPH =
            h.handles()
                .make(HandleKind::Stream,
                      "outline of mask '" + at.mask->name + "' of layer '" + at.layer->name + "'",
                      nullptr, at.mask->id, which)
                ->handle<AEGP_StreamRefH>();
        return A_Err_NONE;
    });
}

A_Err DisposeStream(AEGP_StreamRefH streamH) {
    return hostCall("AEGP_DisposeStream", [&](Host& h) {
        // Released even when what it reads is gone: the plug-in still owns the ref.
        HandleRecord* r = h.record(streamH, HandleKind::Stream, "stream");
        args(h, "stream", r->which, "of", r->id);
        h.handles().release(r);
        return A_Err_NONE;
    });
}

A_Err GetNewStreamValue(AEGP_PluginID plugin, AEGP_StreamRefH streamH, AEGP_LTimeMode mode,
                        const A_Time* timeP, A_Boolean preExpression, AEGP_StreamValue2* valueP) {
    return hostCall("AEGP_GetNewStreamValue", [&](Host& h) {
        requireOut(valueP, "value");
        std::memset(valueP, 0, sizeof *valueP);
        StreamTarget s = streamOf(h, streamH);
        Rational t = layerTimeOf(*s.layer, mode, timeP);
        args(h, plugin, describe(s), "mode", mode, "time", fromATime(*timeP).toString(),
             preExpression ? "pre-expression" : "");
        valueP->streamH = streamH;
        if (s.which == AEGP_LayerStream_TIME_REMAP && !s.layer->timeRemapEnabled) {
            valueP->val.one_d = t.toDouble();  // not remapped: the source runs with the layer
            return A_Err_NONE;
        }
        // No expressions are modelled, so the pre- and post-expression values are the same.
        visitStream(s, [&](auto& a) { toStreamVal(h, s, valueAt(a, t), &valueP->val); });
        return A_Err_NONE;
    });
}

A_Err DisposeStreamValue(AEGP_StreamValue2* valueP) {
    return hostCall("AEGP_DisposeStreamValue", [&](Host& h) {
        requireOut(valueP, "value");
        // The value owns only its outline (mask streams); its stream ref stays the plug-in's.
        if (HandleRecord* s = h.handles().find(valueP->streamH, HandleKind::Stream)) {
            args(h, "stream", s->which, "of", s->id);
            if (s->which != AEGP_MaskStream_OUTLINE) return A_Err_NONE;
            HandleRecord* outline = nullptr;
            outlineOf(h, valueP->val.mask, &outline);
            h.handles().release(outline);
        } else if (HandleRecord* o = h.handles().find(valueP->val.mask, HandleKind::MaskOutline)) {
            // The stream was disposed first; the outline is still the value's to release.
            h.handles().release(o);
        } else if (!h.handles().known(valueP->streamH)) {
            h.record(valueP->streamH, HandleKind::Stream, "stream of the value");
        }
        return A_Err_NONE;
    });
}

A_Err SetStreamValue(AEGP_PluginID plugin, AEGP_StreamRefH streamH, AEGP_StreamValue2* valueP) {
    return undoableCall("AEGP_SetStreamValue", [&](Host& h) {
        requireOut(valueP, "value");
        StreamTarget s = streamOf(h, streamH);
        args(h, plugin, describe(s));
        visitStream(s, [&](auto& a) {
            if (a.keyed())
                throw HostError(A_Err_PARAMETER,
                                "the " + describe(s) + " has keyframes; set them one by one");
            fromStreamVal(h, valueP->val, &a.value);
        });
        return A_Err_NONE;
    });
}

A_Err IsStreamTimevarying(AEGP_StreamRefH streamH, A_Boolean* varyingP) {
    return hostCall("AEGP_IsStreamTimevarying", [&](Host& h) {
        requireOut(varyingP, "flag");
        StreamTarget s = streamOf(h, streamH);
        *varyingP = visitStream(s, [](auto& a) { return a.keyed(); }) ? 1 : 0;
        args(h, describe(s), "->", int(*varyingP));
        return A_Err_NONE;
    });
}

}  // namespace

StreamTarget streamOf(Host& h, AEGP_StreamRefH streamH) {
    StreamTarget s;
    s.record = h.record(streamH, HandleKind::Stream, "stream");
    s.which = s.record->which;
    if (s.which == AEGP_MaskStream_OUTLINE) {
        MaskLocation at = findMask(h.project(), s.record->id);
        s.comp = at.comp;
        s.layer = at.layer;
        s.mask = at.mask;
        return s;
    }
    int index = 0;
    s.comp = h.project().findLayerComp(s.record->id, &index);
    if (!s.comp) throw HostError(A_Err_PARAMETER, "the stream's layer no longer exists");
    s.layer = &s.comp->comp.layers[static_cast<size_t>(index)];
    return s;
}

void toStreamVal(Host&, const StreamTarget&, const Vec3& v, AEGP_StreamVal2* out) {
    out->three_d = {v.x, v.y, v.z};
}
void toStreamVal(Host&, const StreamTarget&, double v, AEGP_StreamVal2* out) {
    out->one_d = v;
}
void toStreamVal(Host& h, const StreamTarget& s, const MaskPath& v, AEGP_StreamVal2* out) {
    out->mask = newOutline(h, v, "value of " + describe(s));
}

void fromStreamVal(Host&, const AEGP_StreamVal2& in, Vec3* v) {
    *v = {in.three_d.x, in.three_d.y, in.three_d.z};
}
void fromStreamVal(Host&, const AEGP_StreamVal2& in, double* v) {
    *v = in.one_d;
}
void fromStreamVal(Host& h, const AEGP_StreamVal2& in, MaskPath* v) {
    *v = outlineOf(h, in.mask);
}

void registerStreamSuites(Host& host) {
    static AEGP_StreamSuite4 stream = [] {
        AEGP_StreamSuite4 s{};
        s.AEGP_GetNewLayerStream = entry<kStreamSuite, GetNewLayerStream>;
        s.AEGP_GetNewMaskStream = entry<kStreamSuite, GetNewMaskStream>;
        s.AEGP_DisposeStream = entry<kStreamSuite, DisposeStream>;
        setSlot(s.AEGP_IsStreamTimevarying, entry<kStreamSuite, IsStreamTimevarying>);
        s.AEGP_GetNewStreamValue = entry<kStreamSuite, GetNewStreamValue>;
        s.AEGP_DisposeStreamValue = entry<kStreamSuite, DisposeStreamValue>;
        s.AEGP_SetStreamValue = entry<kStreamSuite, SetStreamValue>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    host.addSuite(kAEGPStreamSuite, kAEGPStreamSuiteVersion4, &stream);
}

}  // namespace layersuites
}  // namespace sim
