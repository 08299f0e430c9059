// The --host-model option and the models verb.
#include "HostModelOption.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <ostream>

namespace sim {

void addHostModelOption(CLI::App& verb, std::vector<std::string>& settings) {
    verb.add_option("--host-model", settings,
                    "KEY=VALUE: the host plays this alternative where its documentation is "
                    "silent; repeatable (see zentrim-host models; default: every key's first "
                    "value)")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);
}

HostModel hostModelFrom(const std::vector<std::string>& settings) {
    HostModel model;
    for (const std::string& setting : settings) {
        std::string error;
        if (!setHostModel(model, setting, &error)) throw UsageError("--host-model: " + error);
    }
    return model;
}

std::vector<std::string> hostModelChoices(const HostModel& model) {
    std::vector<std::string> out;
    for (const HostModelKey& k : hostModelKeys()) {
        const std::string value = hostModelValue(model, k.key);
        if (value != k.values.front()) out.push_back(k.key + "=" + value);
    }
    return out;
}

int modelsCommand(const CliOptions& o, std::ostream& out) {
    if (o.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const HostModelKey& k : hostModelKeys())
            list.push_back({{"key", k.key}, {"values", k.values}, {"default", k.values.front()}});
        out << list.dump(2) << "\n";
        return kExitRan;
    }
    out << "Where the host's documentation is silent, the simulated host plays one of these\n"
           "(--host-model KEY=VALUE on run and panel; the default first):\n";
    for (const HostModelKey& k : hostModelKeys()) {
        out << "  " << k.key << ":";
        for (size_t i = 0; i < k.values.size(); ++i)
            out << (i ? " | " : " ") << k.values[i] << (i == 0 ? " (default)" : "");
        out << "\n";
    }
    out << "docs/host-assumptions.md says what each means and what the plug-in does under it.\n";
    return kExitRan;
}

}  // namespace sim
