// A simulated host with the layer-side suites acquired as a plug-in would, and a project builder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "AE_GeneralPlug.h"
#include "AE_GeneralPlugSuites_Layer.h"
#include "Host.h"

namespace simtest {

using namespace sim;

inline A_Time at(A_long value, A_u_long scale = 1) {
    return {value, scale};
}
inline Rational exact(const A_Time& t) {
    return Rational(t.value, static_cast<int64_t>(t.scale));
}

inline MaskPath rectPath(double x0, double y0, double x1, double y1, bool closed = true) {
    MaskPath p;
    p.vertices = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    p.inTangents = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};
    p.outTangents = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};
    p.closed = closed;
    return p;
}

// A suite member our sdk header may leave without a signature, called with the vendor's.
template <typename Fn, typename Slot>
Fn slotAs(Slot slot) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(slot));
}
using DeleteKeyframeFn = A_Err (*)(AEGP_StreamRefH, AEGP_KeyframeIndex);
using IsStreamTimevaryingFn = A_Err (*)(AEGP_StreamRefH, A_Boolean*);

class LayerSuites : public ::testing::Test {
  protected:
    Host host;
    const AEGP_LayerSuite7* layers = nullptr;
    const AEGP_LayerSuite5* layers5 = nullptr;
    const AEGP_MaskSuite5* masks = nullptr;
    const AEGP_MaskOutlineSuite2* outlines = nullptr;
    const AEGP_StreamSuite4* streams = nullptr;
    const AEGP_KeyframeSuite4* keys = nullptr;

    void SetUp() override {
        acquire(kAEGPLayerSuite, kAEGPLayerSuiteVersion7, &layers);
        acquire(kAEGPLayerSuite, kAEGPLayerSuiteVersion5, &layers5);
        acquire(kAEGPMaskSuite, kAEGPMaskSuiteVersion5, &masks);
        acquire(kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2, &outlines);
        acquire(kAEGPStreamSuite, kAEGPStreamSuiteVersion4, &streams);
        acquire(kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4, &keys);
    }
    void TearDown() override {
        SPBasicSuite* basic = host.basicSuite();
        basic->ReleaseSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion7);
        basic->ReleaseSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion5);
        basic->ReleaseSuite(kAEGPMaskSuite, kAEGPMaskSuiteVersion5);
        basic->ReleaseSuite(kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2);
        basic->ReleaseSuite(kAEGPStreamSuite, kAEGPStreamSuiteVersion4);
        basic->ReleaseSuite(kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4);
        EXPECT_TRUE(host.unbalancedSuites().empty());
        // Tests that leave handles on purpose release them before they end.
        for (const std::string& leak : host.handles().leaks())
            ADD_FAILURE() << "leaked " << leak;
    }
    template <typename Suite>
    void acquire(const char* name, int version, const Suite** suite) {
        const void* p = nullptr;
        ASSERT_EQ(host.basicSuite()->AcquireSuite(name, version, &p), 0) << name << " " << version;
        *suite = static_cast<const Suite*>(p);
    }

    // ---- project builder ----
    Item& item(ItemType type, const std::string& name, int w, int h) {
        Item it;
        it.id = host.project().newId();
        it.type = type;
        it.name = name;
        it.width = w;
        it.height = h;
        host.project().items.push_back(it);
        return host.project().items.back();
    }
    Id solid(const std::string& name, int w, int h) { return item(ItemType::Solid, name, w, h).id; }
    Id comp(const std::string& name, int w, int h, Rational duration = Rational(10)) {
        Item& c = item(ItemType::Comp, name, 0, 0);
        c.comp.width = w;
        c.comp.height = h;
        c.comp.duration = duration;
        return c.id;
    }
    // Appended below the composition's other layers.
    Layer& layer(Id compId, Id source, const std::string& name, LayerKind kind = LayerKind::AV) {
        Layer l;
        l.id = host.project().newId();
        l.name = name;
        l.kind = kind;
        l.source = source;
        l.outPoint = Rational(10);
        Item* c = host.project().findItem(compId);
        c->comp.layers.push_back(l);
        return c->comp.layers.back();
    }
    Layer& get(Id layerId) { return *host.project().findLayer(layerId); }
    Comp& compOf(Id compId) { return host.project().findItem(compId)->comp; }
    Mask& addMask(Id layerId, const std::string& name, const MaskPath& path) {
        Mask m;
        m.id = host.project().newId();
        m.name = name;
        m.path.value = path;
        get(layerId).masks.push_back(m);
        return get(layerId).masks.back();
    }
    AEGP_LayerH lh(Id id) { return host.layerHandle(id); }
    AEGP_CompH ch(Id id) { return host.compHandle(id); }
    AEGP_ItemH ih(Id id) { return host.itemHandle(id); }

    // ---- plug-in side helpers ----
    AEGP_StreamRefH layerStream(Id layerId, AEGP_LayerStream which) {
        AEGP_StreamRefH s = nullptr;
        EXPECT_EQ(streams->AEGP_GetNewLayerStream(1, lh(layerId), which, &s), A_Err_NONE);
        return s;
    }
    AEGP_MaskRefH maskRef(Id layerId, A_long index) {
        AEGP_MaskRefH m = nullptr;
        EXPECT_EQ(masks->AEGP_GetLayerMaskByIndex(lh(layerId), index, &m), A_Err_NONE);
        return m;
    }
    AEGP_StreamRefH outlineStream(AEGP_MaskRefH mask) {
        AEGP_StreamRefH s = nullptr;
        EXPECT_EQ(streams->AEGP_GetNewMaskStream(1, mask, AEGP_MaskStream_OUTLINE, &s), A_Err_NONE);
        return s;
    }
    AEGP_StreamValue2 valueAtTime(AEGP_StreamRefH s, A_Time t,
                                  AEGP_LTimeMode mode = AEGP_LTimeMode_LayerTime) {
        AEGP_StreamValue2 v{};
        EXPECT_EQ(streams->AEGP_GetNewStreamValue(1, s, mode, &t, 0, &v), A_Err_NONE);
        return v;
    }
};

}  // namespace simtest
