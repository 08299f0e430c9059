// Test support: zentrim-host's verbs run in-process on project, answers and preferences texts
// written into a temporary folder, with the JSON report parsed.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>

#include "Commands.h"
#include "PluginModule.h"

namespace simtest {

struct CliRun {
    int status = -1;
    nlohmann::json report;
    nlohmann::json prefs;  // the --prefs file afterwards (null when none was written)
};

struct CliInputs {
    CliInputs(std::string v, std::string p, std::string a, std::string prefsText = "",
              std::string k = "none")
        : verb(std::move(v)),
          project(std::move(p)),
          answers(std::move(a)),
          prefs(std::move(prefsText)),
          keys(std::move(k)) {}
    std::string verb;  // panel or run
    std::string project;
    std::string answers;  // empty: no --ui
    std::string prefs;    // empty: factory preferences; "-": a --prefs file not there yet
    std::string keys;
    bool floating = false;
    std::string panelScript;  // panel: a script of its own ("Probe Panel.jsx") for the panel
};

inline CliRun runCli(const CliInputs& in) {
    namespace fs = std::filesystem;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path dir = fs::path(::testing::TempDir()) /
                   ("zentrim-cli-" + std::string(test->test_suite_name()) + "-" + test->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        return (dir / name).string();
    };
    sim::CliOptions o;
    o.verb = in.verb;
    o.project = write("project.json", in.project);
    if (!in.answers.empty()) o.ui = write("answers.json", in.answers);
    if (!in.prefs.empty())
        o.prefs = in.prefs == "-" ? (dir / "prefs.json").string() : write("prefs.json", in.prefs);
    o.keys = in.keys;
    o.floating = in.floating;
    if (!in.panelScript.empty()) o.script = write("Probe Panel.jsx", in.panelScript);
    o.json = true;
    o.plugin = sim::PluginModule::defaultPath();
    std::ostringstream out;
    CliRun r;
    r.status = in.verb == "panel" ? sim::panelCommand(o, out) : sim::runCommand(o, out);
    r.report = nlohmann::json::parse(out.str());
    if (!o.prefs.empty() && fs::exists(o.prefs))
        r.prefs = nlohmann::json::parse(std::ifstream(o.prefs));
    fs::remove_all(dir);
    return r;
}

}  // namespace simtest
