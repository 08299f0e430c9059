// The Zentrim Host Check as the simulated user runs it: with a project open, the user chooses
// "Zentrim Host Check" from the File menu; what it did is read back from the host and from the
// report it wrote. Used by zentrim-host probe and the Windows test host.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Host.h"

namespace sim {

// The command's name in the File menu.
extern const char* const kProbeCommandName;

// One block of the report.
struct ProbeCheck {
    std::string name, key;  // key "" when the report names none
    std::string observed, matches, simulated, meaning;
};

// The report file: its "field: value" header (host, status, summary, host-model, cleanup, about)
// and its checks in order.
struct ProbeReport {
    std::map<std::string, std::string> header;
    std::vector<ProbeCheck> checks;
};

// Reads a report's text (line ends LF, CRLF or CR). Throws std::runtime_error naming the line
// that is not "field: value" or a field a check does not have.
ProbeReport parseProbeReport(const std::string& text);

struct ProbeOutcome {
    bool found = false;    // the command is in the File menu
    bool enabled = false;  // and enabled when the menu opens
    A_Err result = A_Err_NONE;
    std::string reportPath;  // as the script named it, e.g. "~/Documents/Zentrim Host Check ..."
    std::string reportText;
    std::optional<ProbeReport> report;
    std::string reportError;  // why the report could not be read back
    std::vector<Alert> alerts;
    std::vector<std::string> undoSteps;
    std::string projectDifference;  // "" when the project is exactly as before the command
    bool undoRestored = false;      // undoing its steps leaves the project as before, too
    bool prefsRestored = false;     // the preferences hold what they held before
    std::vector<std::string> leaks, problems;
};

// Opens the File menu (the update-menu hooks run), chooses the command when it is there and
// enabled, and collects what happened. `sandbox` is the folder the scripts' "~/" paths lead to.
ProbeOutcome runProbe(Host& host, const std::string& sandbox);

}  // namespace sim
