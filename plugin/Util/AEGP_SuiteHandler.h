// Per-call cache of the host's suites: each suite is acquired on first use and released when the
// handler goes out of scope. The only place in the plug-in that talks to the basic suite.
#pragma once

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

// Thrown (as an A_Err) when the host cannot provide a suite; the entry point and the hooks catch
// it and hand the code back to the host.
constexpr A_Err kMissingSuiteError = 516;  // PF_Err_BAD_CALLBACK_PARAM, as the host expects

// Every suite the plug-in uses, once, as X(name, version): AEGP_<name>Suite<version> under the
// host's kAEGP<name>Suite and kAEGP<name>SuiteVersion<version>, with the accessor
// <name>Suite<version>. The accessors, the slots and the releases are all made from this list, so
// that a suite cannot be acquired without being released. Releases run in this order.
// clang-format off
#define ZENTRIM_SUITES(X)                                                                    \
    X(Command, 1) X(Register, 5) X(Utility, 5) X(PersistentData, 3) X(Memory, 1) X(Item, 1) \
    X(Item, 6) X(Item, 8) X(Proj, 5) X(Proj, 6) X(RenderOptions, 3) X(World, 3) X(Comp, 4)  \
    X(Comp, 7) X(Comp, 9) X(Layer, 5) X(Layer, 7) X(Mask, 5) X(MaskOutline, 2) X(Stream, 4) \
    X(Keyframe, 4) X(Collection, 2) X(Render, 3)
// clang-format on

class AEGP_SuiteHandler {
  public:
    explicit AEGP_SuiteHandler(const SPBasicSuite* pica_basicP);
    ~AEGP_SuiteHandler();

    AEGP_SuiteHandler(const AEGP_SuiteHandler&) = delete;
    AEGP_SuiteHandler& operator=(const AEGP_SuiteHandler&) = delete;

    const SPBasicSuite* Pica() const { return i_pica_basicP; }

#define ZENTRIM_SUITE_ACCESSOR_DECLARATION(NAME, VERSION) \
    AEGP_##NAME##Suite##VERSION* NAME##Suite##VERSION() const;
    ZENTRIM_SUITES(ZENTRIM_SUITE_ACCESSOR_DECLARATION)
#undef ZENTRIM_SUITE_ACCESSOR_DECLARATION

  private:
    // One slot per suite version; null until first use.
    struct Suites {
#define ZENTRIM_SUITE_SLOT(NAME, VERSION) AEGP_##NAME##Suite##VERSION* NAME##VERSION;
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
