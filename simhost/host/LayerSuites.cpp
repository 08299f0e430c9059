// Layer suites 5 and 7: a composition's layers, their times, flags, parents and masked bounds.
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

#include "LayerSuitesCommon.h"
#include "MaskedBounds.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kLayerSuite[] = "LayerSuite";
namespace layersuites {

A_Time exactTime(Rational t, const Comp& comp) {
    constexpr int64_t kMaxScale = std::numeric_limits<A_u_long>::max();
    std::vector<int64_t> scales;
    // A frame-rate scale (30 for 30 fps, 2997 for 29.97) where it holds t exactly, as the host
    // gives times; the time's own denominator otherwise.
    Rational rate = comp.frameRate > 0 && comp.frameRate < 1e6
                        ? Rational::fromDouble(comp.frameRate)
                        : Rational(0);
    if (rate.num > 0 && rate.num <= kMaxScale) {
        int64_t g = std::gcd(rate.num, t.den);
        if (rate.num / g <= kMaxScale / t.den) scales.push_back(rate.num / g * t.den);
    }
    scales.push_back(t.den);
    for (int64_t scale : scales) {
        if (scale > kMaxScale) continue;
        int64_t factor = scale / t.den;
        if (t.num > std::numeric_limits<A_long>::max() / factor ||
            t.num < std::numeric_limits<A_long>::min() / factor)
            continue;
        return {static_cast<A_long>(t.num * factor), static_cast<A_u_long>(scale)};
    }
    throw HostError(A_Err_PARAMETER, "the time " + t.toString() + " does not fit an A_Time");
}

static void requireTimeMode(AEGP_LTimeMode mode) {
    if (mode != AEGP_LTimeMode_LayerTime && mode != AEGP_LTimeMode_CompTime)
        throw HostError(A_Err_PARAMETER, "time mode " + std::to_string(mode) + " is not 0 or 1");
}

Rational layerTimeOf(const Layer& layer, AEGP_LTimeMode mode, const A_Time* time) {
    requireTimeMode(mode);
    requireOut(time, "time");
    Rational t = fromATime(*time);
    return mode == AEGP_LTimeMode_CompTime ? t - layer.startTime : t;
}

Rational inTimeMode(const Layer& layer, AEGP_LTimeMode mode, Rational layerTime) {
    requireTimeMode(mode);
    return mode == AEGP_LTimeMode_CompTime ? layerTime + layer.startTime : layerTime;
}

namespace {

Layer& layerAt(Item& comp, A_long index) {
    auto& layers = comp.comp.layers;
    if (index < 0 || static_cast<size_t>(index) >= layers.size())
        throw HostError(A_Err_PARAMETER, "layer index " + std::to_string(index) +
                                             " is outside a composition of " +
                                             std::to_string(layers.size()) + " layers");
    return layers[static_cast<size_t>(index)];
}

A_long indexOf(const Item& comp, const Layer& layer) {
    return static_cast<A_long>(&layer - comp.comp.layers.data());
}

A_Err GetCompNumLayers(AEGP_CompH compH, A_long* numP) {
    return hostCall("AEGP_GetCompNumLayers", [&](Host& h) {
        requireOut(numP, "layer count");
        Item& comp = h.compItemOf(compH);
        args(h, "comp", comp.id);
        *numP = static_cast<A_long>(comp.comp.layers.size());
        return A_Err_NONE;
    });
}

A_Err GetCompLayerByIndex(AEGP_CompH compH, A_long index, AEGP_LayerH* layerPH) {
    return hostCall("AEGP_GetCompLayerByIndex", [&](Host& h) {
        requireOut(layerPH, "layer");
        Item& comp = h.compItemOf(compH);
        args(h, "comp", comp.id, "index", index);
        *layerPH = h.layerHandle(layerAt(comp, index).id);
        return A_Err_NONE;
    });
}

A_Err GetActiveLayer(AEGP_LayerH* layerPH) {
    return hostCall("AEGP_GetActiveLayer", [&](Host& h) {
        requireOut(layerPH, "layer");
        Layer* l = h.activeLayer();
        *layerPH = l ? h.layerHandle(l->id) : nullptr;
        args(h, "->", l ? l->id : 0);
        return A_Err_NONE;
    });
}

A_Err GetLayerIndex(AEGP_LayerH layerH, A_long* indexP) {
    return hostCall("AEGP_GetLayerIndex", [&](Host& h) {
        requireOut(indexP, "index");
        Item* comp = nullptr;
        Layer& l = h.layerOf(layerH, &comp);
        *indexP = indexOf(*comp, l);
        args(h, "layer", l.id, "->", *indexP);
        return A_Err_NONE;
    });
}

A_Err GetLayerSourceItem(AEGP_LayerH layerH, AEGP_ItemH* itemPH) {
    return hostCall("AEGP_GetLayerSourceItem", [&](Host& h) {
        requireOut(itemPH, "item");
        Layer& l = h.layerOf(layerH);
        args(h, "layer", l.id, "->", l.source);
        // Cameras, lights, text and shape layers have no source item.
        *itemPH =
            l.source != 0 && h.project().findItem(l.source) ? h.itemHandle(l.source) : nullptr;
        return A_Err_NONE;
    });
}

A_Err GetLayerParentComp(AEGP_LayerH layerH, AEGP_CompH* compPH) {
    return hostCall("AEGP_GetLayerParentComp", [&](Host& h) {
        requireOut(compPH, "composition");
        Item* comp = nullptr;
        Layer& l = h.layerOf(layerH, &comp);
        args(h, "layer", l.id, "->", comp->id);
        *compPH = h.compHandle(comp->id);
        return A_Err_NONE;
    });
}

A_Err GetLayerFlags(AEGP_LayerH layerH, AEGP_LayerFlags* flagsP) {
    return hostCall("AEGP_GetLayerFlags", [&](Host& h) {
        requireOut(flagsP, "flags");
        Layer& l = h.layerOf(layerH);
        AEGP_LayerFlags f = AEGP_LayerFlag_NONE;
        if (l.video) f |= AEGP_LayerFlag_VIDEO_ACTIVE;
        if (l.threeD) f |= AEGP_LayerFlag_LAYER_IS_3D;
        if (l.timeRemapEnabled) f |= AEGP_LayerFlag_TIME_REMAPPING;
        if (l.kind == LayerKind::Null) f |= AEGP_LayerFlag_NULL_LAYER;
        *flagsP = f;
        args(h, "layer", l.id, "->", f);
        return A_Err_NONE;
    });
}

A_Err GetLayerCurrentTime(AEGP_LayerH layerH, AEGP_LTimeMode mode, A_Time* timeP) {
    return hostCall("AEGP_GetLayerCurrentTime", [&](Host& h) {
        requireOut(timeP, "time");
        Item* comp = nullptr;
        Layer& l = h.layerOf(layerH, &comp);
        Rational t = inTimeMode(l, mode, comp->comp.currentTime - l.startTime);
        args(h, "layer", l.id, "mode", mode, "->", t.toString());
        *timeP = exactTime(t, comp->comp);
        return A_Err_NONE;
    });
}

A_Err GetLayerInPoint(AEGP_LayerH layerH, AEGP_LTimeMode mode, A_Time* timeP) {
    return hostCall("AEGP_GetLayerInPoint", [&](Host& h) {
        requireOut(timeP, "in point");
        Item* comp = nullptr;
        Layer& l = h.layerOf(layerH, &comp);
        Rational t = inTimeMode(l, mode, l.inPoint - l.startTime);
        args(h, "layer", l.id, "mode", mode, "->", t.toString());
        *timeP = exactTime(t, comp->comp);
        return A_Err_NONE;
    });
}

A_Err GetLayerDuration(AEGP_LayerH layerH, AEGP_LTimeMode mode, A_Time* timeP) {
    return hostCall("AEGP_GetLayerDuration", [&](Host& h) {
        requireOut(timeP, "duration");
        Item* comp = nullptr;
        Layer& l = h.layerOf(layerH, &comp);
        requireTimeMode(mode);
        Rational d = l.outPoint - l.inPoint;  // the same in both time modes
        args(h, "layer", l.id, "mode", mode, "->", d.toString());
        *timeP = exactTime(d, comp->comp);
        return A_Err_NONE;
    });
}

A_Err IsAddLayerValid(AEGP_ItemH itemH, AEGP_CompH compH, A_Boolean* validP) {
    return hostCall("AEGP_IsAddLayerValid", [&](Host& h) {
        requireOut(validP, "flag");
        Item& item = h.itemOf(itemH);
        Item& comp = h.compItemOf(compH);
        *validP = canAddLayer(h.project(), item, comp) ? 1 : 0;
        args(h, "item", item.id, "comp", comp.id, "->", int(*validP));
        return A_Err_NONE;
    });
}

A_Err AddLayer(AEGP_ItemH itemH, AEGP_CompH compH, AEGP_LayerH* layerPH) {
    return undoableCall("AEGP_AddLayer", [&](Host& h) {
        if (layerPH) *layerPH = nullptr;
        Item& item = h.itemOf(itemH);
        Item& comp = h.compItemOf(compH);
        args(h, "item", item.id, "comp", comp.id);
        Id id = addLayer(h.project(), item, comp);
        if (layerPH) *layerPH = h.layerHandle(id);
        return A_Err_NONE;
    });
}

A_Err ReorderLayer(AEGP_LayerH layerH, A_long index) {
    return undoableCall("AEGP_ReorderLayer", [&](Host& h) {
        Item* comp = nullptr;
        Layer& l = h.layerOf(layerH, &comp);
        args(h, "layer", l.id, "index", index);
        reorderLayer(*comp, l.id, index);
        return A_Err_NONE;
    });
}

A_Err GetLayerMaskedBounds(AEGP_LayerH layerH, AEGP_LTimeMode mode, const A_Time* timeP,
                           A_FloatRect* boundsP) {
    return hostCall("AEGP_GetLayerMaskedBounds", [&](Host& h) {
        requireOut(boundsP, "bounds");
        Layer& l = h.layerOf(layerH);
        Rational t = layerTimeOf(l, mode, timeP);
        FloatRect r = maskedBounds(h.project(), l.id, t);
        args(h, "layer", l.id, "mode", mode, "time", fromATime(*timeP).toString(), "->", r.left,
             r.top, r.right, r.bottom);
        *boundsP = {r.left, r.top, r.right, r.bottom};
        return A_Err_NONE;
    });
}

A_Err GetLayerObjectType(AEGP_LayerH layerH, AEGP_ObjectType* typeP) {
    return hostCall("AEGP_GetLayerObjectType", [&](Host& h) {
        requireOut(typeP, "object type");
        Layer& l = h.layerOf(layerH);
        switch (l.kind) {
            case LayerKind::Camera:
                *typeP = AEGP_ObjectType_CAMERA;
                break;
            case LayerKind::Light:
                *typeP = AEGP_ObjectType_LIGHT;
                break;
            case LayerKind::Text:
                *typeP = AEGP_ObjectType_TEXT;
                break;
            case LayerKind::Shape:
                *typeP = AEGP_ObjectType_VECTOR;
                break;
            default:  // footage, solids, compositions and nulls
                *typeP = AEGP_ObjectType_AV;
        }
        args(h, "layer", l.id, "->", *typeP);
        return A_Err_NONE;
    });
}

A_Err IsLayer3D(AEGP_LayerH layerH, A_Boolean* is3DP) {
    return hostCall("AEGP_IsLayer3D", [&](Host& h) {
        requireOut(is3DP, "flag");
        Layer& l = h.layerOf(layerH);
        bool is3D = l.threeD || l.kind == LayerKind::Camera || l.kind == LayerKind::Light;
        *is3DP = is3D ? 1 : 0;
        args(h, "layer", l.id, "->", int(*is3DP));
        return A_Err_NONE;
    });
}

A_Err GetLayerParent(const AEGP_LayerH layerH, AEGP_LayerH* parentPH) {
    return hostCall("AEGP_GetLayerParent", [&](Host& h) {
        requireOut(parentPH, "parent");
        Layer& l = h.layerOf(layerH);
        args(h, "layer", l.id, "->", l.parent);
        *parentPH = l.parent != 0 ? h.layerHandle(l.parent) : nullptr;
        return A_Err_NONE;
    });
}

A_Err SetLayerParent(AEGP_LayerH layerH, const AEGP_LayerH parentH) {
    return undoableCall("AEGP_SetLayerParent", [&](Host& h) {
        Layer& l = h.layerOf(layerH);
        Id parent = parentH ? h.layerOf(parentH).id : 0;
        args(h, "layer", l.id, "parent", parent);
        setLayerParent(h.project(), l.id, parent);
        return A_Err_NONE;
    });
}

A_Err DeleteLayer(AEGP_LayerH layerH) {
    return undoableCall("AEGP_DeleteLayer", [&](Host& h) {
        Id id = h.layerOf(layerH).id;
        args(h, "layer", id);
        deleteLayer(h.project(), id);
        return A_Err_NONE;
    });
}

// Both versions share every member up to the end of version 5.
template <typename Suite>
void fillLayerSuite(Suite& s) {
    s.AEGP_GetCompNumLayers = entry<kLayerSuite, GetCompNumLayers>;
    s.AEGP_GetCompLayerByIndex = entry<kLayerSuite, GetCompLayerByIndex>;
    s.AEGP_GetActiveLayer = entry<kLayerSuite, GetActiveLayer>;
    s.AEGP_GetLayerIndex = entry<kLayerSuite, GetLayerIndex>;
    s.AEGP_GetLayerSourceItem = entry<kLayerSuite, GetLayerSourceItem>;
    s.AEGP_GetLayerParentComp = entry<kLayerSuite, GetLayerParentComp>;
    s.AEGP_GetLayerFlags = entry<kLayerSuite, GetLayerFlags>;
    s.AEGP_GetLayerCurrentTime = entry<kLayerSuite, GetLayerCurrentTime>;
    s.AEGP_GetLayerInPoint = entry<kLayerSuite, GetLayerInPoint>;
    s.AEGP_GetLayerDuration = entry<kLayerSuite, GetLayerDuration>;
    s.AEGP_IsAddLayerValid = entry<kLayerSuite, IsAddLayerValid>;
    s.AEGP_AddLayer = entry<kLayerSuite, AddLayer>;
    s.AEGP_ReorderLayer = entry<kLayerSuite, ReorderLayer>;
    s.AEGP_GetLayerMaskedBounds = entry<kLayerSuite, GetLayerMaskedBounds>;
    s.AEGP_GetLayerObjectType = entry<kLayerSuite, GetLayerObjectType>;
    s.AEGP_IsLayer3D = entry<kLayerSuite, IsLayer3D>;
    s.AEGP_GetLayerParent = entry<kLayerSuite, GetLayerParent>;
    s.AEGP_SetLayerParent = entry<kLayerSuite, SetLayerParent>;
    s.AEGP_DeleteLayer = entry<kLayerSuite, DeleteLayer>;
    fillUnimplemented(&s, sizeof s);
}

}  // namespace
}  // namespace layersuites

void registerLayerSuites(Host& host) {
    using namespace layersuites;
    static AEGP_LayerSuite5 layer5 = [] {
        AEGP_LayerSuite5 s{};
        fillLayerSuite(s);
        return s;
    }();
    static AEGP_LayerSuite7 layer7 = [] {
        AEGP_LayerSuite7 s{};
        fillLayerSuite(s);
        return s;
    }();
    host.addSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion5, &layer5);
    host.addSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion7, &layer7);
    registerMaskSuites(host);
    registerStreamSuites(host);
    registerKeyframeSuites(host);
}

}  // namespace sim
