// zentrim-host probe [PROJECT.json] [--host-model KEY=VALUE ...] [--json] [--plugin PATH]
#include "ProbeOptions.h"

#include <CLI/CLI.hpp>

#include "HostModelOption.h"

namespace sim {

CLI::App* addProbeVerb(CLI::App& app, CliOptions& o) {
    CLI::App* probe = app.add_subcommand(
        "probe",
        "Run the Zentrim Host Check in the simulated host as a user would (File menu, \"Zentrim "
        "Host Check\") and print the report it writes");
    probe->add_option("project", o.project,
                      "Project file (JSON) open while it runs (default: the built-in sample)");
    addHostModelOption(*probe, o.hostModelSettings);
    probe->add_flag("--json", o.json,
                    "Machine-readable report on stdout: the checks, each with name, key, "
                    "observed and matches (default: the report's text)");
    probe->add_option("--plugin", o.plugin,
                      "Host Check module to load (default: the one built beside zentrim-host)");
    probe->footer(kExitStatusHelp);
    return probe;
}

}  // namespace sim
