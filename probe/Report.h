// The Host Check's report: numbers as it writes them, the text of the report file, and the script
// that writes the file where the user finds it and tells them where it is.
#pragma once

#include <string>
#include <vector>

#include "Probe.h"

namespace hostcheck {

// A number as the report writes it: at most ten significant digits, no trailing zeros.
std::string num(double v);
std::string point(double x, double y);
std::string point(const AEGP_ThreeDVal& v);
// Whether a value the host gave is the value a behaviour predicts, within rounding.
bool near(double value, double expected);
bool near(const AEGP_ThreeDVal& value, double x, double y);  // x and y only

// What the report says about the run as a whole.
struct RunSummary {
    std::string host;               // the host's version and system, as its scripting says
    std::string status;             // "ran", or why the checks could not start
    std::vector<std::string> left;  // names of the items the cleanup could not remove
    std::string cleanupError;       // what stopped the cleanup, "" when nothing did
};

// "12 checks, 11 as the simulator plays them by default; resize-uses differs."
std::string summaryOf(const std::vector<CheckResult>& results);
// "resize-uses=proportional vertex0=coupled ...": every check with a host-model key whose
// behaviour the host matched, as zentrim-host's --host-model options take them.
std::string hostModelOf(const std::vector<CheckResult>& results);
// The alert's first words: the summary, or why the checks could not start, and whether the
// project is as it was.
std::string outcomeOf(const RunSummary& run, const std::vector<CheckResult>& results);
// The report file: a header of "field: value" lines, then one block per check.
std::string reportText(const RunSummary& run, const std::vector<CheckResult>& results);
// The script that writes `report` into the user's Documents folder (else the temporary folder)
// and tells the user, in an alert, the outcome and where the report is; or, when it cannot be
// written, the outcome and the host-model line to send instead.
std::string reportScript(const std::string& report, const std::string& outcome,
                         const std::string& hostModel);

}  // namespace hostcheck
