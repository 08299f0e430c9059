// Per-call cache of the host's suites: each suite is acquired on first use and released when the
// handler goes out of scope. The only place in the plug-in that talks to the basic suite.
#pragma once

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

// Thrown (as an A_Err) when the host cannot provide a suite; the entry point and the hooks catch
// it and hand the code back to the host.
constexpr A_Err kMissingSuiteError = 516;  // PF_Err_BAD_CALLBACK_PARAM, as the host expects

// Every suite the plug-in uses, once: X(accessor, type, slot, name, version). The accessors, the
// slots and the releases are all made from this list, so that a suite cannot be acquired without
// being released. Releases run in this order.
#define ZENTRIM_SUITES(X)                                                                         \
    X(CommandSuite1, AEGP_CommandSuite1, command1, kAEGPCommandSuite, kAEGPCommandSuiteVersion1)  \
    X(RegisterSuite5, AEGP_RegisterSuite5, register5, kAEGPRegisterSuite,                         \
      kAEGPRegisterSuiteVersion5)                                                                 \
    X(UtilitySuite5, AEGP_UtilitySuite5, utility5, kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5)  \
    X(PersistentDataSuite3, AEGP_PersistentDataSuite3, persistentData3, kAEGPPersistentDataSuite, \
      kAEGPPersistentDataSuiteVersion3)                                                           \
    X(MemorySuite1, AEGP_MemorySuite1, memory1, kAEGPMemorySuite, kAEGPMemorySuiteVersion1)       \
    X(ItemSuite1, AEGP_ItemSuite1, item1, kAEGPItemSuite, kAEGPItemSuiteVersion1)                 \
    X(ItemSuite6, AEGP_ItemSuite6, item6, kAEGPItemSuite, kAEGPItemSuiteVersion6)                 \
    X(ItemSuite8, AEGP_ItemSuite8, item8, kAEGPItemSuite, kAEGPItemSuiteVersion8)                 \
    X(ProjSuite5, AEGP_ProjSuite5, proj5, kAEGPProjSuite, kAEGPProjSuiteVersion5)                 \
    X(ProjSuite6, AEGP_ProjSuite6, proj6, kAEGPProjSuite, kAEGPProjSuiteVersion6)                 \
    X(RenderOptionsSuite3, AEGP_RenderOptionsSuite3, renderOptions3, kAEGPRenderOptionsSuite,     \
      kAEGPRenderOptionsSuiteVersion3)                                                            \
    X(WorldSuite3, AEGP_WorldSuite3, world3, kAEGPWorldSuite, kAEGPWorldSuiteVersion3)            \
    X(CompSuite4, AEGP_CompSuite4, comp4, kAEGPCompSuite, kAEGPCompSuiteVersion4)                 \
    X(CompSuite7, AEGP_CompSuite7, comp7, kAEGPCompSuite, kAEGPCompSuiteVersion7)                 \
    X(CompSuite9, AEGP_CompSuite9, comp9, kAEGPCompSuite, kAEGPCompSuiteVersion9)                 \
    X(LayerSuite5, AEGP_LayerSuite5, layer5, kAEGPLayerSuite, kAEGPLayerSuiteVersion5)            \
    X(LayerSuite7, AEGP_LayerSuite7, layer7, kAEGPLayerSuite, kAEGPLayerSuiteVersion7)            \
    X(MaskSuite5, AEGP_MaskSuite5, mask5, kAEGPMaskSuite, kAEGPMaskSuiteVersion5)                 \
    X(MaskOutlineSuite2, AEGP_MaskOutlineSuite2, maskOutline2, kAEGPMaskOutlineSuite,             \
      kAEGPMaskOutlineSuiteVersion2)                                                              \
    X(StreamSuite4, AEGP_StreamSuite4, stream4, kAEGPStreamSuite, kAEGPStreamSuiteVersion4)       \
    X(KeyframeSuite4, AEGP_KeyframeSuite4, keyframe4, kAEGPKeyframeSuite,                         \
      kAEGPKeyframeSuiteVersion4)                                                                 \
    X(CollectionSuite2, AEGP_CollectionSuite2, collection2, kAEGPCollectionSuite,                 \
      kAEGPCollectionSuiteVersion2)                                                               \
    X(RenderSuite3, AEGP_RenderSuite3, render3, kAEGPRenderSuite, kAEGPRenderSuiteVersion3)

class AEGP_SuiteHandler {
  public:
    explicit AEGP_SuiteHandler(const SPBasicSuite* pica_basicP);
    ~AEGP_SuiteHandler();

    AEGP_SuiteHandler(const AEGP_SuiteHandler&) = delete;
    AEGP_SuiteHandler& operator=(const AEGP_SuiteHandler&) = delete;

    const SPBasicSuite* Pica() const { return i_pica_basicP; }

#define ZENTRIM_SUITE_ACCESSOR_DECLARATION(ACCESSOR, TYPE, SLOT, NAME, VERSION) \
    TYPE* ACCESSOR() const;
    ZENTRIM_SUITES(ZENTRIM_SUITE_ACCESSOR_DECLARATION)
#undef ZENTRIM_SUITE_ACCESSOR_DECLARATION

  private:
    // One slot per suite version; null until first use.
    struct Suites {
#define ZENTRIM_SUITE_SLOT(ACCESSOR, TYPE, SLOT, NAME, VERSION) TYPE* SLOT;
        ZENTRIM_SUITES(ZENTRIM_SUITE_SLOT)
#undef ZENTRIM_SUITE_SLOT
    };

    const void* LoadSuite(const A_char* nameZ, A_long version) const;
    void ReleaseSuite(const A_char* nameZ, A_long version);
    void ReleaseAllSuites();
    [[noreturn]] void MissingSuiteError() const;

    const SPBasicSuite* i_pica_basicP;
    mutable Suites i_suites;
};
