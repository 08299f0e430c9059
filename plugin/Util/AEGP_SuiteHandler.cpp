// Acquisition and release of the host's suites through the basic suite.
#include "AEGP_SuiteHandler.h"

#include <cstring>

// Accessor: the cached suite, else acquire it (throwing the missing-suite error) and cache it.
#define ZENTRIM_SUITE_ACCESSOR(NAME, VERSION)                                                     \
    AEGP_##NAME##Suite##VERSION* AEGP_SuiteHandler::NAME##Suite##VERSION() const {                \
        if (!i_suites.NAME##VERSION)                                                              \
            i_suites.NAME##VERSION = static_cast<AEGP_##NAME##Suite##VERSION*>(const_cast<void*>( \
                LoadSuite(kAEGP##NAME##Suite, kAEGP##NAME##SuiteVersion##VERSION)));              \
        return i_suites.NAME##VERSION;                                                            \
    }

ZENTRIM_SUITES(ZENTRIM_SUITE_ACCESSOR)

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
#define ZENTRIM_SUITE_RELEASE(NAME, VERSION) \
    if (i_suites.NAME##VERSION)              \
        ReleaseSuite(kAEGP##NAME##Suite, kAEGP##NAME##SuiteVersion##VERSION);
    ZENTRIM_SUITES(ZENTRIM_SUITE_RELEASE)
#undef ZENTRIM_SUITE_RELEASE
    std::memset(&i_suites, 0, sizeof(i_suites));
}
