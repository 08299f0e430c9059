// What the checks of the Host Check share: the host and the scratch folder they work in, the
// record of a check's host calls, and the outcome a check reports.
#pragma once

#include <string>

#include "AEGP_SuiteHandler.h"
#include "AE_GeneralPlug.h"
#include "SPBasic.h"

namespace hostcheck {

// The host as the checks reach it, and the folder that holds everything they make.
struct Probe {
    SPBasicSuite* basic = nullptr;
    AEGP_PluginID id = 0;
    AEGP_ItemH folder = nullptr;
};

// The outcome of one check: one block of the report.
struct CheckResult {
    std::string name;       // "resize-uses"
    std::string key;        // the simulator's host-model key, "" when it models one behaviour only
    std::string observed;   // what the host did, in numbers
    std::string matches;    // the modelled behaviour it matches, or "none"
    std::string simulated;  // the behaviour the simulator plays by default
    std::string meaning;    // what that means for the plug-in
};

// A check's host calls: each runs only while none has failed, and the first failure is kept with
// what gave it, for the report.
struct Steps {
    A_Err err = A_Err_NONE;
    std::string failed;  // e.g. "AEGP_CreateComp returned error 3"

    bool ok() const { return err == A_Err_NONE; }
    // Notes the result of the host call `call`.
    void note(const char* call, A_Err result) {
        if (err || !result) return;
        err = result;
        failed = std::string(call) + " returned error " + std::to_string(result);
    }
    // Notes a host answer the check cannot go on from, though the call itself succeeded.
    void fail(const std::string& what) {
        if (err) return;
        err = A_Err_GENERIC;
        failed = what;
    }
    // Notes what stopped a step by an exception caught at the host boundary (AtHostBoundary):
    // a suite the host lacks, above all.
    void stopped(A_Err thrown) {
        if (err || !thrown) return;
        err = thrown;
        failed = thrown == kMissingSuiteError ? "the host lacks a suite it needs (error 516)"
                                              : "stopped with error " + std::to_string(thrown);
    }
};

}  // namespace hostcheck

// STEP(steps, suites.CompSuite7(), AEGP_CreateComp, args...): calls the suite member while no
// step has failed and notes its result under its own name.
#define STEP(steps, suite, member, ...)                                        \
    do {                                                                       \
        if ((steps).ok()) (steps).note(#member, (suite)->member(__VA_ARGS__)); \
    } while (0)
