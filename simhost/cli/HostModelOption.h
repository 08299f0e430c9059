// --host-model KEY=VALUE: which alternative the simulated host plays where its documentation is
// silent, for every verb that runs the plug-in; and zentrim-host models, which lists them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "HostModel.h"

namespace CLI {
class App;
}

namespace sim {

// Adds the repeatable --host-model KEY=VALUE option to a verb; each text goes to `settings`.
void addHostModelOption(CLI::App& verb, std::vector<std::string>& settings);

// The model the settings choose, the defaults for every key they leave out; a later setting of the
// same key wins. A bad setting is a UsageError naming the key and the values it takes.
HostModel hostModelFrom(const std::vector<std::string>& settings);

// "KEY=VALUE" for every answer of `model` that is not the default, in the keys' order.
std::vector<std::string> hostModelChoices(const HostModel& model);

// zentrim-host models [--json]: every key with its values, the default first.
int modelsCommand(const CliOptions& options, std::ostream& out);

}  // namespace sim
