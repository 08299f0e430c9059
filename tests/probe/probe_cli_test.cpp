// zentrim-host probe as CI and a maintainer run it, through the built program: under the
// simulator's defaults every check matches its default; under each alternative of each host-model
// key that key's check matches it and every other check still matches its default; the project,
// its undo and the preferences are left as they were, nothing leaks; bad input is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "HostModel.h"
#include "HostProcess.h"
#include "OutcomeJson.h"

namespace {

using simtest::Outcome;
using Json = nlohmann::json;

// The checks in the order of the report: name, host-model key ("" for none), default.
struct Expected {
    const char* name;
    const char* key;
    const char* simulated;
};
const Expected kChecks[] = {
    {"resize-uses", "resize-uses", "proportional"},
    {"resize-children", "resize-children", "unchanged"},
    {"parent-keeps-values", "", "keeps"},
    {"delete-parent-folds", "", "folds"},
    {"null-layer", "", "standard"},
    {"vertex0", "vertex0", "independent"},
    {"keyed-set-stream-value", "", "refused"},
    {"masked-bounds-space", "", "source"},
    {"render-downsample", "render-downsample", "preview"},
    {"float-as-long", "float-as-long", "truncate"},
    {"bool-pref", "", "one-byte"},
    {"script-error", "script-error", "error"},
};

Json parsed(const Outcome& o) {
    return simtest::parsedJson(o);
}

// What every run must leave, whatever the host model.
void expectCleanRun(const Json& j) {
    EXPECT_EQ(j.value("result", -1), 0);
    EXPECT_EQ(j.value("status", ""), "ran");
    EXPECT_EQ(j.value("report", ""), "~/Documents/Zentrim Host Check report.txt");
    EXPECT_TRUE(j.value("projectRestored", false));
    EXPECT_TRUE(j.value("undoRestored", false));
    EXPECT_TRUE(j.value("prefsRestored", false));
    EXPECT_EQ(j["undoSteps"], Json::array({"Zentrim Host Check"}));
    EXPECT_EQ(j["leaks"], Json::array());
    EXPECT_EQ(j.value("cleanup", ""), "every item the checks made was removed");
    // The two refusals the checks ask for, and nothing else the host would object to.
    int keyed = 0, thrown = 0;
    for (const Json& p : j["problems"]) {
        const std::string text = p.get<std::string>();
        const bool isKeyed = text.rfind("AEGP_SetStreamValue: ", 0) == 0 &&
                             text.find("has keyframes") != std::string::npos;
        const bool isThrown = text.rfind("AEGP_ExecuteScript: script error: ", 0) == 0 &&
                              text.find("a deliberate error") != std::string::npos;
        EXPECT_TRUE(isKeyed || isThrown) << text;
        keyed += isKeyed;
        thrown += isThrown;
    }
    EXPECT_EQ(keyed, 1);
    EXPECT_EQ(thrown, 1);
    ASSERT_EQ(j["alerts"].size(), 1u);
    EXPECT_EQ(j["alerts"][0].value("title", ""), "Zentrim Host Check");
    EXPECT_NE(j["alerts"][0]
                  .value("text", "")
                  .find("The report is in\n/home/user/Documents/Zentrim Host Check report.txt"),
              std::string::npos);
}

TEST(ProbeVerb, EveryCheckMatchesTheHostModelItRunsUnder) {
    simtest::TempFolder tmp("probe-models");
    // The defaults, then every other value of every key.
    std::vector<std::pair<std::string, std::string>> runs = {{"", ""}};
    for (const sim::HostModelKey& k : sim::hostModelKeys())
        for (size_t v = 1; v < k.values.size(); ++v)
            runs.emplace_back(k.key, k.values[v]);
    ASSERT_GE(runs.size(), 7u);
    for (const auto& [key, value] : runs) {
        SCOPED_TRACE(key.empty() ? "defaults" : key + "=" + value);
        std::vector<std::string> args = {"probe", "--json"};
        if (!key.empty()) args.insert(args.end(), {"--host-model", key + "=" + value});
        Outcome o = simtest::runHost(args, tmp.path());
        ASSERT_EQ(o.status, 0) << o.err;
        Json j = parsed(o);
        expectCleanRun(j);
        if (!key.empty()) {
            EXPECT_EQ(j["hostModel"].value(key, ""), value);
        }
        ASSERT_EQ(j["checks"].size(), std::size(kChecks));
        bool keyChecked = key.empty();
        for (size_t i = 0; i < std::size(kChecks); ++i) {
            const Json& c = j["checks"][i];
            const Expected& e = kChecks[i];
            EXPECT_EQ(c.value("name", ""), e.name);
            EXPECT_EQ(c["key"], *e.key ? Json(e.key) : Json()) << e.name;
            EXPECT_EQ(c.value("default", ""), e.simulated) << e.name;
            EXPECT_FALSE(c.value("observed", "").empty()) << e.name;
            EXPECT_FALSE(c.value("meaning", "").empty()) << e.name;
            const bool played = *e.key && key == e.key;
            keyChecked = keyChecked || played;
            EXPECT_EQ(c.value("matches", ""), played ? value : e.simulated) << e.name;
        }
        EXPECT_TRUE(keyChecked) << "no check settles " << key;
    }
}

TEST(ProbeVerb, PrintsTheReportItWroteWithAProjectOpen) {
    simtest::TempFolder tmp("probe-text");
    Outcome o = simtest::runHost(
        {"probe", ZENTRIM_SOURCE_DIR "/examples/masks.json", "--host-model", "vertex0=coupled"},
        tmp.path());
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out.rfind("Zentrim Host Check 3.2.0 report\nhost: ", 0), 0u) << o.out;
    for (const char* line :
         {"\nsummary: 12 checks, 11 as the simulator plays them by default; vertex0 differs.\n",
          "\nhost-model: resize-uses=proportional resize-children=unchanged vertex0=coupled "
          "render-downsample=preview float-as-long=truncate script-error=error\n",
          "\ncheck: vertex0\nkey: vertex0\nobserved: ",
          "\nmatches: coupled\ndefault: independent\n",
          "\nproject restored: yes; after undo: yes; preferences restored: yes\n",
          "\nundo steps: \"Zentrim Host Check\"\n", "\nleaks: none\n"})
        EXPECT_NE(o.out.find(line), std::string::npos) << line << "\n" << o.out;
}

TEST(ProbeVerb, RefusesBadInputAndModulesThatAreNotTheHostCheck) {
    simtest::TempFolder tmp("probe-bad");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{"probe", "--host-model", "vertex0=sideways"}, 2, "vertex0"},
        {{"probe", "--host-model", "vertex0"}, 2, "--host-model"},
        {{"probe", "--host-model", "nonsense=1"}, 2, "nonsense"},
        {{"probe", "missing.json"}, 2, "missing.json"},
        {{"probe", "--plugin", ZENTRIM_PLUGIN_MODULE}, 1, "no enabled \"Zentrim Host Check\""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.args.back());
        Outcome o = simtest::runHost(k.args, tmp.path());
        EXPECT_EQ(o.status, k.status);
        EXPECT_NE(o.err.find(k.says), std::string::npos) << o.err;
    }
    Outcome o =
        simtest::runHost({"probe", "--host-model", "vertex0=sideways", "--json"}, tmp.path());
    EXPECT_EQ(parsed(o).value("error", ""), "bad input");
}

}  // namespace
