// The probe verb's options on zentrim-host's command line.
#pragma once

#include "CliOptions.h"

namespace CLI {
class App;
}

namespace sim {

// Adds "probe" to the command line, its options stored in `o`.
CLI::App* addProbeVerb(CLI::App& app, CliOptions& o);

}  // namespace sim
