// Per-call cache of the host's suites: each suite is acquired on first use and released when the
// handler goes out of scope. The only place in the plug-in that talks to the basic suite.
#pragma once

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

// Thrown (as an A_Err) when the host cannot provide a suite; the entry point and the hooks catch
// it and hand the code back to the host.
constexpr A_Err kMissingSuiteError = 516;  // PF_Err_BAD_CALLBACK_PARAM, as the host expects

class AEGP_SuiteHandler {
  public:
    explicit AEGP_SuiteHandler(const SPBasicSuite* pica_basicP);
    ~AEGP_SuiteHandler();

    AEGP_SuiteHandler(const AEGP_SuiteHandler&) = delete;
    AEGP_SuiteHandler& operator=(const AEGP_SuiteHandler&) = delete;

    const SPBasicSuite* Pica() const { return i_pica_basicP; }

    AEGP_CommandSuite1* CommandSuite1() const;
    AEGP_RegisterSuite5* RegisterSuite5() const;
    AEGP_UtilitySuite5* UtilitySuite5() const;
    AEGP_PersistentDataSuite3* PersistentDataSuite3() const;
    AEGP_MemorySuite1* MemorySuite1() const;
    AEGP_ItemSuite1* ItemSuite1() const;
    AEGP_ItemSuite6* ItemSuite6() const;
    AEGP_ItemSuite8* ItemSuite8() const;
    AEGP_ProjSuite5* ProjSuite5() const;
    AEGP_ProjSuite6* ProjSuite6() const;
    AEGP_RenderOptionsSuite3* RenderOptionsSuite3() const;
    AEGP_WorldSuite3* WorldSuite3() const;
    AEGP_CompSuite4* CompSuite4() const;
    AEGP_CompSuite7* CompSuite7() const;
    AEGP_CompSuite9* CompSuite9() const;
    AEGP_LayerSuite5* LayerSuite5() const;
    AEGP_LayerSuite7* LayerSuite7() const;
    AEGP_MaskSuite5* MaskSuite5() const;
    AEGP_MaskOutlineSuite2* MaskOutlineSuite2() const;
    AEGP_StreamSuite4* StreamSuite4() const;
    AEGP_KeyframeSuite4* KeyframeSuite4() const;
    AEGP_CollectionSuite2* CollectionSuite2() const;
    AEGP_RenderSuite3* RenderSuite3() const;

  private:
    // One slot per suite version; null until first use.
    struct Suites {
        AEGP_CommandSuite1* command1;
        AEGP_RegisterSuite5* register5;
        AEGP_UtilitySuite5* utility5;
        AEGP_PersistentDataSuite3* persistentData3;
        AEGP_MemorySuite1* memory1;
        AEGP_ItemSuite1* item1;
        AEGP_ItemSuite6* item6;
        AEGP_ItemSuite8* item8;
        AEGP_ProjSuite5* proj5;
        AEGP_ProjSuite6* proj6;
        AEGP_RenderOptionsSuite3* renderOptions3;
        AEGP_WorldSuite3* world3;
        AEGP_CompSuite4* comp4;
        AEGP_CompSuite7* comp7;
        AEGP_CompSuite9* comp9;
        AEGP_LayerSuite5* layer5;
        AEGP_LayerSuite7* layer7;
        AEGP_MaskSuite5* mask5;
        AEGP_MaskOutlineSuite2* maskOutline2;
        AEGP_StreamSuite4* stream4;
        AEGP_KeyframeSuite4* keyframe4;
        AEGP_CollectionSuite2* collection2;
        AEGP_RenderSuite3* render3;
    };

    const void* LoadSuite(const A_char* nameZ, A_long version) const;
    void ReleaseSuite(const A_char* nameZ, A_long version);
    void ReleaseAllSuites();
    [[noreturn]] void MissingSuiteError() const;

    const SPBasicSuite* i_pica_basicP;
    mutable Suites i_suites;
};
