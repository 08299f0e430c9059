// The verbs of zentrim-host. Each returns the exit status (ExitStatus in CliOptions.h): 0 the
// command ran, 1 the plug-in returned an error or the command was disabled; bad input throws
// BadInput (status 2: the message names the file, the field and what was expected, and nothing is
// written), and any other exception is the host's own failure (status 3).
#pragma once

#include <iosfwd>

#include "CliOptions.h"
#include "Session.h"

namespace sim {

// Input the user got wrong: printed on stderr, exit status 2.
struct BadInput : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int renderCommand(const CliOptions& options, std::ostream& out);
int runCommand(const CliOptions& options, std::ostream& out);
int panelCommand(const CliOptions& options, std::ostream& out);
// run's loading, playing and reporting, with `instead` in place of the menu when given.
int playSession(const CliOptions& options, std::ostream& out,
                const std::function<A_Err(Session&, SessionReport&)>& instead);
int menuCommand(const CliOptions& options, std::ostream& out);
int demoCommand(const CliOptions& options, std::ostream& out);
// The Zentrim Host Check in the simulated host (ProbeCommand.cpp).
int probeCommand(const CliOptions& options, std::ostream& out);

}  // namespace sim
