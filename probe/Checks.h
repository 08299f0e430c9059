// The checks: one per host behaviour the plug-in relies on where the host's documentation is
// silent. Each makes what it needs in the scratch folder, watches what the host does, and fills
// in what it observed and which modelled behaviour that matches; the runner reports a check whose
// host calls failed (Steps) instead.
#pragma once

#include <vector>

#include "Probe.h"

namespace hostcheck {

using CheckFn = void (*)(const Probe& p, Steps& s, CheckResult* r);

struct Check {
    const char* name;       // as the report and zentrim-host name it
    const char* key;        // the simulator's host-model key, "" when it plays one behaviour only
    const char* simulated;  // the behaviour the simulator plays by default
    CheckFn run;
};

// Every check, in the order of the report.
const std::vector<Check>& allChecks();

void checkResizeUses(const Probe& p, Steps& s, CheckResult* r);
void checkResizeChildren(const Probe& p, Steps& s, CheckResult* r);
void checkParentKeepsValues(const Probe& p, Steps& s, CheckResult* r);
void checkDeleteParentFolds(const Probe& p, Steps& s, CheckResult* r);
void checkNullLayer(const Probe& p, Steps& s, CheckResult* r);
void checkVertex0(const Probe& p, Steps& s, CheckResult* r);
void checkKeyedSetStreamValue(const Probe& p, Steps& s, CheckResult* r);
void checkMaskedBoundsSpace(const Probe& p, Steps& s, CheckResult* r);
void checkRenderDownsample(const Probe& p, Steps& s, CheckResult* r);
void checkFloatAsLong(const Probe& p, Steps& s, CheckResult* r);
void checkBoolPref(const Probe& p, Steps& s, CheckResult* r);
void checkScriptError(const Probe& p, Steps& s, CheckResult* r);

}  // namespace hostcheck
