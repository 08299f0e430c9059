// zentrim-host probe: the Zentrim Host Check in the simulated host, playing the host model chosen
// with --host-model, on a project or the built-in sample; prints the report the check wrote.
#include <unistd.h>

#include <climits>
#include <iostream>
#include <memory>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "DemoProject.h"
#include "HostModel.h"
#include "ProbeSession.h"
#include "ProjectFile.h"
#include "ScriptEngine.h"

namespace sim {

namespace {

// The Host Check built beside the running program (<build>/probe/ZentrimHostCheck.so).
std::string probeModulePath() {
    const std::string name = "ZentrimHostCheck.so";
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "./" + name;
    self[n] = '\0';
    std::string dir(self);
    dir = dir.substr(0, dir.rfind('/'));
    // zentrim-host lives in <build>/simhost/cli, tests in <build>/tests/<folder>.
    for (const std::string rel : {"/../../probe/", "/../probe/", "/"}) {
        std::string candidate = dir + rel + name;
        if (access(candidate.c_str(), R_OK) == 0) return candidate;
    }
    return dir + "/" + name;
}

Project probeProject(const std::string& path) {
    try {
        if (path.empty()) return parseProject(demoProjectText(), "built-in project", "");
        return loadProject(path);
    } catch (const std::exception& e) {
        throw BadInput(e.what());
    }
}

nlohmann::ordered_json probeJson(const Host& host, const ProbeOutcome& o) {
    using nlohmann::ordered_json;
    ordered_json model = ordered_json::object();
    for (const HostModelKey& k : hostModelKeys())
        model[k.key] = hostModelValue(host.model(), k.key);
    ordered_json checks = ordered_json::array();
    if (o.report)
        for (const ProbeCheck& c : o.report->checks)
            checks.push_back({{"name", c.name},
                              {"key", c.key.empty() ? ordered_json() : ordered_json(c.key)},
                              {"observed", c.observed},
                              {"matches", c.matches},
                              {"default", c.simulated},
                              {"meaning", c.meaning}});
    auto field = [&](const char* name) {
        if (!o.report) return std::string();
        auto it = o.report->header.find(name);
        return it == o.report->header.end() ? std::string() : it->second;
    };
    ordered_json alerts = ordered_json::array();
    for (const Alert& a : o.alerts)
        alerts.push_back({{"title", a.title}, {"text", a.text}});
    return {{"hostModel", model},
            {"result", o.result},
            {"checks", checks},
            {"host", field("host")},
            {"status", field("status")},
            {"summary", field("summary")},
            {"cleanup", field("cleanup")},
            {"report", o.reportPath},
            {"alerts", alerts},
            {"undoSteps", o.undoSteps},
            {"projectRestored", o.projectDifference.empty()},
            {"undoRestored", o.undoRestored},
            {"prefsRestored", o.prefsRestored},
            {"leaks", o.leaks},
            {"problems", o.problems}};
}

void printProbe(const ProbeOutcome& o, std::ostream& out) {
    out << o.reportText;
    if (!o.reportText.empty() && o.reportText.back() != '\n') out << "\n";
    out << "\n(the report as the Host Check wrote it: " << o.reportPath << ")\n";
    for (const Alert& a : o.alerts)
        out << "alert \"" << a.title << "\": " << a.text << "\n";
    out << "project restored: "
        << (o.projectDifference.empty() ? "yes" : "no (" + o.projectDifference + ")")
        << "; after undo: " << (o.undoRestored ? "yes" : "no")
        << "; preferences restored: " << (o.prefsRestored ? "yes" : "no") << "\n";
    out << "undo steps:";
    for (const std::string& s : o.undoSteps)
        out << " \"" << s << "\"";
    out << (o.undoSteps.empty() ? " none\n" : "\n");
    out << "leaks: " << (o.leaks.empty() ? "none" : std::to_string(o.leaks.size())) << "\n";
    for (const std::string& l : o.leaks)
        out << "  " << l << "\n";
}

}  // namespace

int probeCommand(const CliOptions& o, std::ostream& out) {
    Project project = probeProject(o.project);
    Session session(project, o.plugin.empty() ? probeModulePath() : o.plugin, false, {},
                    o.hostModel);
    session.host.log().setRecording(false);  // counts and problems only
    session.scripting = startScripting(session.host, std::make_shared<SimulatedUser>());
    if (session.startResult) {
        std::cerr << "zentrim-host: the Host Check's entry point returned error "
                  << session.startResult << "\n";
        return kExitPluginError;
    }
    ProbeOutcome outcome = runProbe(session.host, session.scripting->sandbox());
    if (o.json) {
        out << probeJson(session.host, outcome).dump(2) << "\n";
    } else {
        printProbe(outcome, out);
    }
    if (!outcome.found || !outcome.enabled) {
        std::cerr << "zentrim-host: the File menu has no enabled \"" << kProbeCommandName
                  << "\" (is --plugin the Host Check?)\n";
        return kExitPluginError;
    }
    if (outcome.result) {
        std::cerr << "zentrim-host: the Host Check returned error " << outcome.result << "\n";
        return kExitPluginError;
    }
    if (!outcome.report) {
        std::cerr << "zentrim-host: " << outcome.reportError << "\n";
        return kExitPluginError;
    }
    return kExitRan;
}

}  // namespace sim
