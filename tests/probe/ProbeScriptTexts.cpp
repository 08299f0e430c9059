// Writes every script text the Host Check hands to the host, one file each, for the ECMAScript 3
// syntax check: it runs the check in the simulated host, under a model where scripts that throw
// go unreported too, and keeps what the host was given.
#include <cstdio>
#include <fstream>
#include <string>

#include "DemoProject.h"
#include "Host.h"
#include "PluginModule.h"
#include "ProbeSession.h"
#include "ProjectFile.h"
#include "ScriptEngine.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    sim::Host host;
    host.project() = sim::parseProject(sim::demoProjectText(), "demo project", "");
    const std::string sandbox = sim::installScriptEngine(host, sim::UserAnswers{});
    sim::PluginModule module(ZENTRIM_HOSTCHECK_MODULE);
    if (module.start(host)) return 1;
    const sim::ProbeOutcome outcome = sim::runProbe(host, sandbox);
    if (!outcome.report) {
        std::fprintf(stderr, "the Host Check wrote no report: %s\n", outcome.reportError.c_str());
        return 1;
    }
    const std::vector<std::string>& scripts = host.events().scripts;
    for (size_t i = 0; i < scripts.size(); ++i) {
        const std::string path = std::string(argv[1]) + "/host-check-" + std::to_string(i) + ".js";
        std::ofstream out(path, std::ios::binary);
        out << scripts[i];
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
