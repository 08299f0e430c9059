// Acquisition and release of the host's suites through the basic suite.
#include "AEGP_SuiteHandler.h"

#include <cstring>

// Accessor: the cached suite, else acquire it (throwing the missing-suite error) and cache it.
#define ZENTRIM_SUITE_ACCESSOR(ACCESSOR, TYPE, SLOT, NAME, VERSION)                          \
    TYPE* AEGP_SuiteHandler::ACCESSOR() const {                                              \
        if (!i_suites.SLOT)                                                                  \
            i_suites.SLOT = static_cast<TYPE*>(const_cast<void*>(LoadSuite(NAME, VERSION))); \
        return i_suites.SLOT;                                                                \
    }

ZENTRIM_SUITE_ACCESSOR(CommandSuite1, AEGP_CommandSuite1, command1, kAEGPCommandSuite,
                       kAEGPCommandSuiteVersion1)
ZENTRIM_SUITE_ACCESSOR(RegisterSuite5, AEGP_RegisterSuite5, register5, kAEGPRegisterSuite,
                       kAEGPRegisterSuiteVersion5)
ZENTRIM_SUITE_ACCESSOR(UtilitySuite5, AEGP_UtilitySuite5, utility5, kAEGPUtilitySuite,
                       kAEGPUtilitySuiteVersion5)
ZENTRIM_SUITE_ACCESSOR(PersistentDataSuite3, AEGP_PersistentDataSuite3, persistentData3,
                       kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3)
ZENTRIM_SUITE_ACCESSOR(MemorySuite1, AEGP_MemorySuite1, memory1, kAEGPMemorySuite,
                       kAEGPMemorySuiteVersion1)
ZENTRIM_SUITE_ACCESSOR(ItemSuite1, AEGP_ItemSuite1, item1, kAEGPItemSuite, kAEGPItemSuiteVersion1)
ZENTRIM_SUITE_ACCESSOR(ItemSuite6, AEGP_ItemSuite6, item6, kAEGPItemSuite, kAEGPItemSuiteVersion6)
ZENTRIM_SUITE_ACCESSOR(ItemSuite8, AEGP_ItemSuite8, item8, kAEGPItemSuite, kAEGPItemSuiteVersion8)
ZENTRIM_SUITE_ACCESSOR(ProjSuite5, AEGP_ProjSuite5, proj5, kAEGPProjSuite, kAEGPProjSuiteVersion5)
ZENTRIM_SUITE_ACCESSOR(ProjSuite6, AEGP_ProjSuite6, proj6, kAEGPProjSuite, kAEGPProjSuiteVersion6)
ZENTRIM_SUITE_ACCESSOR(RenderOptionsSuite3, AEGP_RenderOptionsSuite3, renderOptions3,
                       kAEGPRenderOptionsSuite, kAEGPRenderOptionsSuiteVersion3)
ZENTRIM_SUITE_ACCESSOR(WorldSuite3, AEGP_WorldSuite3, world3, kAEGPWorldSuite,
                       kAEGPWorldSuiteVersion3)
ZENTRIM_SUITE_ACCESSOR(CompSuite4, AEGP_CompSuite4, comp4, kAEGPCompSuite, kAEGPCompSuiteVersion4)
ZENTRIM_SUITE_ACCESSOR(CompSuite7, AEGP_CompSuite7, comp7, kAEGPCompSuite, kAEGPCompSuiteVersion7)
ZENTRIM_SUITE_ACCESSOR(CompSuite9, AEGP_CompSuite9, comp9, kAEGPCompSuite, kAEGPCompSuiteVersion9)
ZENTRIM_SUITE_ACCESSOR(LayerSuite5, AEGP_LayerSuite5, layer5, kAEGPLayerSuite,
                       kAEGPLayerSuiteVersion5)
ZENTRIM_SUITE_ACCESSOR(LayerSuite7, AEGP_LayerSuite7, layer7, kAEGPLayerSuite,
                       kAEGPLayerSuiteVersion7)
ZENTRIM_SUITE_ACCESSOR(MaskSuite5, AEGP_MaskSuite5, mask5, kAEGPMaskSuite, kAEGPMaskSuiteVersion5)
ZENTRIM_SUITE_ACCESSOR(MaskOutlineSuite2, AEGP_MaskOutlineSuite2, maskOutline2,
                       kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2)
ZENTRIM_SUITE_ACCESSOR(StreamSuite4, AEGP_StreamSuite4, stream4, kAEGPStreamSuite,
                       kAEGPStreamSuiteVersion4)
ZENTRIM_SUITE_ACCESSOR(KeyframeSuite4, AEGP_KeyframeSuite4, keyframe4, kAEGPKeyframeSuite,
                       kAEGPKeyframeSuiteVersion4)
ZENTRIM_SUITE_ACCESSOR(CollectionSuite2, AEGP_CollectionSuite2, collection2, kAEGPCollectionSuite,
                       kAEGPCollectionSuiteVersion2)
ZENTRIM_SUITE_ACCESSOR(RenderSuite3, AEGP_RenderSuite3, render3, kAEGPRenderSuite,
                       kAEGPRenderSuiteVersion3)

#undef ZENTRIM_SUITE_ACCESSOR

AEGP_SuiteHandler::AEGP_SuiteHandler(const SPBasicSuite* pica_basicP) : i_pica_basicP(pica_basicP) {
    std::memset(&i_suites, 0, sizeof(i_suites));
    if (!i_pica_basicP) MissingSuiteError();
}

AEGP_SuiteHandler::~AEGP_SuiteHandler() {
    ReleaseAllSuites();
}

const void* AEGP_SuiteHandler::LoadSuite(const A_char* nameZ, A_long version) const {
    const void* suiteP = nullptr;
    SPErr err = i_pica_basicP->AcquireSuite(nameZ, version, &suiteP);
    if (err || !suiteP) MissingSuiteError();
    return suiteP;
}

void AEGP_SuiteHandler::ReleaseSuite(const A_char* nameZ, A_long version) {
    // A failed release has nobody to report to: the handler is going away.
    (void)i_pica_basicP->ReleaseSuite(nameZ, version);
}

void AEGP_SuiteHandler::ReleaseAllSuites() {
#define ZENTRIM_RELEASE(SLOT, NAME, VERSION) \
    if (i_suites.SLOT) ReleaseSuite(NAME, VERSION);
    ZENTRIM_RELEASE(command1, kAEGPCommandSuite, kAEGPCommandSuiteVersion1)
    ZENTRIM_RELEASE(register5, kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5)
    ZENTRIM_RELEASE(utility5, kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5)
    ZENTRIM_RELEASE(persistentData3, kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3)
    ZENTRIM_RELEASE(memory1, kAEGPMemorySuite, kAEGPMemorySuiteVersion1)
    ZENTRIM_RELEASE(item1, kAEGPItemSuite, kAEGPItemSuiteVersion1)
    ZENTRIM_RELEASE(item6, kAEGPItemSuite, kAEGPItemSuiteVersion6)
    ZENTRIM_RELEASE(item8, kAEGPItemSuite, kAEGPItemSuiteVersion8)
    ZENTRIM_RELEASE(proj5, kAEGPProjSuite, kAEGPProjSuiteVersion5)
    ZENTRIM_RELEASE(proj6, kAEGPProjSuite, kAEGPProjSuiteVersion6)
    ZENTRIM_RELEASE(renderOptions3, kAEGPRenderOptionsSuite, kAEGPRenderOptionsSuiteVersion3)
    ZENTRIM_RELEASE(world3, kAEGPWorldSuite, kAEGPWorldSuiteVersion3)
    ZENTRIM_RELEASE(comp4, kAEGPCompSuite, kAEGPCompSuiteVersion4)
    ZENTRIM_RELEASE(comp7, kAEGPCompSuite, kAEGPCompSuiteVersion7)
    ZENTRIM_RELEASE(comp9, kAEGPCompSuite, kAEGPCompSuiteVersion9)
    ZENTRIM_RELEASE(layer5, kAEGPLayerSuite, kAEGPLayerSuiteVersion5)
    ZENTRIM_RELEASE(layer7, kAEGPLayerSuite, kAEGPLayerSuiteVersion7)
    ZENTRIM_RELEASE(mask5, kAEGPMaskSuite, kAEGPMaskSuiteVersion5)
    ZENTRIM_RELEASE(maskOutline2, kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2)
    ZENTRIM_RELEASE(stream4, kAEGPStreamSuite, kAEGPStreamSuiteVersion4)
    ZENTRIM_RELEASE(keyframe4, kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4)
    ZENTRIM_RELEASE(collection2, kAEGPCollectionSuite, kAEGPCollectionSuiteVersion2)
    ZENTRIM_RELEASE(render3, kAEGPRenderSuite, kAEGPRenderSuiteVersion3)
#undef ZENTRIM_RELEASE
    std::memset(&i_suites, 0, sizeof(i_suites));
}
