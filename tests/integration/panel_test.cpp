// The companion panel on the plug-in's side: its requests (two preference keys the idle hook
// picks up once) as the session passes them, and zentrim-host panel, which shows the panel to the
// simulated user with the plug-in loaded so that its requests reach the plug-in when the host
// idles. The panel script on its own is tested in tests/script.
#include <cmath>

#include "CliRun.h"
#include "CommandFixture.h"
#include "Preferences.h"
#include "Scenes.h"

namespace {

using nlohmann::json;
using simtest::CliInputs;
using simtest::CliRun;
using simtest::Command;
using simtest::expectClean;
using simtest::runCli;
using simtest::scene;

std::string withActive(std::string project, const std::string& name) {
    project.replace(project.find(R"("activeItem": "Main")"), 20, R"("activeItem": )" + name);
    return project;
}

TEST(Panel, StandardCropRequestRunsOnceAndTheKeysAreGone) {
    Command c(scene(false));
    sim::SessionReport r = c.panel(1);
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].name, "Main");
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Panel_Run"));
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Menu_Cmd"));
    EXPECT_EQ(c.host().idle(), A_Err_NONE);
    EXPECT_EQ(c.host().events().resizes.size(), 1u) << "the request runs once";
    expectClean(r);
}

TEST(Panel, RequestsTheSelectionDoesNotAllowGetInvalidSelection) {
    struct Case {
        const char* what;
        int request;
    } cases[] = {{"mask crop without a precomposition layer", 3}, {"an unknown action", 7}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(scene(false));
        sim::SessionReport r = c.panel(k.request);
        EXPECT_EQ(r.result, A_Err_NONE);
        ASSERT_EQ(r.alerts.size(), 1u);
        EXPECT_EQ(r.alerts[0].title, "Invalid Selection");
        EXPECT_TRUE(r.resized.empty());
        EXPECT_FALSE(c.session->command()->enabled) << "disabled until the next menu update";
        expectClean(r);
    }
}

TEST(Panel, PreferencesRequestOpensTheDialogWithNothingOpen) {
    Command c(
        withActive(scene(false), "null"),
        R"({"dialogs": [{"title": "Zentrim Preferences", "actions": [{"click": "Cancel"}]}]})");
    sim::SessionReport r = c.panel(4);
    EXPECT_EQ(r.result, A_Err_NONE);
    EXPECT_EQ(r.dialogs, std::vector<std::string>{"Zentrim Preferences"});
    expectClean(r);
}

// Picking up a request sets the mode and names the command after it, so that keys held at that
// moment never leave a menu that reads one action and runs another.
TEST(Panel, TheRequestNamesTheCommandAfterItsAction) {
    struct Case {
        int request;
        bool shift, command;  // held while the request is picked up
        const char* name;
    } cases[] = {{1, true, false, "Zentrim"},
                 {2, true, false, "Zentrim Duration"},
                 {3, false, true, "Mask Crop"},
                 {4, false, true, "Zentrim Preferences"}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        std::string project = scene(true);
        const std::string use = R"("position": [400, 300, 0], "selected": true)";
        project.replace(project.find(use), use.size(), use + R"(, "masks": [{"name": "Window",
            "path": {"vertices": [[100, 90], [200, 90], [200, 150], [100, 150]],
                     "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
                     "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}])");
        Command c(project, R"({"dialogs": [{"title": "Zentrim Preferences",
                                           "actions": [{"click": "Cancel"}]}]})");
        c.menu("none");
        const long command = static_cast<long>(c.session->command()->command);
        c.host().platform().shiftDown = k.shift;
        c.host().platform().commandDown = k.command;
        EXPECT_EQ(c.host().idle(), A_Err_NONE);
        c.host().prefs().set("Zentrim", "Panel_Run", static_cast<long>(k.request));
        c.host().prefs().set("Zentrim", "Menu_Cmd", command);
        EXPECT_EQ(c.host().idle(), A_Err_NONE);
        EXPECT_EQ(c.session->command()->name, k.name);
    }
}

TEST(Panel, RequestWithoutCommandNumberIsDroppedWithAnAlert) {
    Command c(scene(true));
    c.host().prefs().set("Zentrim", "Panel_Run", 2L);
    A_Err err = c.host().idle();
    EXPECT_EQ(err, A_Err_NONE);
    ASSERT_EQ(c.host().events().alerts.size(), 1u);
    EXPECT_EQ(c.host().events().alerts[0].title, "Could Not Run Zentrim From Panel");
    EXPECT_TRUE(c.host().events().alerts[0].errorIcon);
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Panel_Run"));
    EXPECT_EQ(c.host().idle(), A_Err_NONE);
    EXPECT_EQ(c.host().events().alerts.size(), 1u) << "the next idle call does nothing more";
    EXPECT_TRUE(c.host().events().resizes.empty());
}

TEST(Panel, AnotherCommandNumberRunsThatCommandNotOurs) {
    Command c(scene(true));
    c.menu("none");
    c.host().prefs().set("Zentrim", "Panel_Run", 1L);
    c.host().prefs().set("Zentrim", "Menu_Cmd",
                         static_cast<long>(c.session->command()->command + 1));
    EXPECT_EQ(c.host().idle(), A_Err_NONE);
    EXPECT_TRUE(c.host().events().resizes.empty());
    EXPECT_TRUE(c.host().undoSteps().empty());
}

// zentrim-host panel.

std::string clicks(const std::string& button) {
    return R"({"title": "Zentrim Panel", "actions": [{"click": ")" + button + R"("}]})";
}

std::string answers(const std::string& entries) {
    return R"({"dialogs": [)" + entries + "]}";
}

// The scene with "Use" carrying `masks` (a JSON array's inside).
std::string withMasks(const std::string& masks) {
    std::string project = scene(true);
    std::string selected = R"("selected": true})";
    project.replace(project.find(selected), selected.size(),
                    R"("selected": true, "masks": [)" + masks + "]}");
    return project;
}

const char* const kMask =
    R"({"name": "Mask 1", "path": {"vertices": [[100, 50], [300, 50], [300, 150], [100, 150]],
        "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
        "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}})";

const json kAllButtons = {"button \"Zentrim\"", "button \"Crop Duration\"", "button \"Mask Crop\"",
                          "button \"Preferences\""};

TEST(PanelVerb, EachButtonRunsItsActionOnce) {
    struct Case {
        const char* button;
        std::string project;
        std::string more;  // answers to the dialogs the action opens
        json undoSteps;
        size_t resized;
        bool progress;
        json dialogs;
    } cases[] = {
        {"Zentrim", scene(true), "", {"Zentrim"}, 1, false, json::array()},
        {"Crop Duration", scene(true), "", {"Zentrim Duration"}, 1, true, json::array()},
        {"Mask Crop", withMasks(kMask), "", {"Mask Crop"}, 1, false, json::array()},
        {"Preferences",
         scene(true),
         R"(, {"title": "Zentrim Preferences", "actions": [{"click": "Cancel"}]})",
         json::array(),
         0,
         false,
         {"Zentrim Preferences"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        CliRun r = runCli({"panel", c.project, answers(clicks(c.button) + c.more)});
        EXPECT_EQ(r.status, 0) << r.report.dump(2);
        EXPECT_EQ(r.report["undoSteps"], c.undoSteps);
        EXPECT_EQ(r.report["resized"].size(), c.resized);
        EXPECT_EQ(r.report["progress"].empty(), !c.progress);
        EXPECT_EQ(r.report["dialogs"], c.dialogs);
        EXPECT_TRUE(r.report["alerts"].empty()) << r.report["alerts"].dump();
        EXPECT_TRUE(r.report["leaks"].empty());
        EXPECT_FALSE(r.report.contains("problems")) << r.report["problems"].dump();
        EXPECT_EQ(r.report["panel"]["title"], "Zentrim Panel");
        EXPECT_EQ(r.report["panel"]["controls"], kAllButtons) << "the docked panel stays";
    }
    CliRun standard = runCli({"panel", scene(true), answers(clicks("Zentrim"))});
    EXPECT_EQ(standard.report["resized"][0],
              (json{{"comp", "P"}, {"from", {400, 300}}, {"to", {60, 40}}}));
}

TEST(PanelVerb, AButtonTheSelectionDoesNotAllowShowsInvalidSelection) {
    std::string twoUses = scene(true, R"({"name": "Use 2", "source": "P", "selected": true},)");
    struct Case {
        const char* what;
        const char* button;
        std::string project;
    } cases[] = {
        {"Mask Crop on a layer without masks", "Mask Crop", scene(true)},
        {"Crop Duration with two layers selected", "Crop Duration", twoUses},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CliRun r = runCli({"panel", c.project, answers(clicks(c.button))});
        EXPECT_EQ(r.status, 0);
        ASSERT_EQ(r.report["alerts"].size(), 1u);
        EXPECT_EQ(r.report["alerts"][0]["title"], "Invalid Selection");
        EXPECT_TRUE(r.report["resized"].empty());
        EXPECT_TRUE(r.report["undoSteps"].empty());
    }
}

TEST(PanelVerb, SavingThePanelPreferencesRebuildsThePanel) {
    CliRun r = runCli({"panel", scene(true), answers(clicks("Preferences") + R"(,
        {"title": "Zentrim Preferences", "actions": [{"click": "Panel"}, {"click": "Cancel"}]},
        {"title": "Zentrim Panel Preferences", "actions": [
            {"uncheck": "Crop Duration"}, {"uncheck": "Mask Crop"}, {"uncheck": "Preferences"},
            {"check": "Padding"}, {"click": "Save"}]})"),
                       "-"});
    EXPECT_EQ(r.status, 0) << r.report.dump(2);
    EXPECT_EQ(r.report["dialogs"], (json{"Zentrim Preferences", "Zentrim Panel Preferences"}));
    EXPECT_TRUE(r.report["alerts"].empty()) << "no request to re-open the panel";
    EXPECT_EQ(r.report["panel"]["controls"],
              (json{"button \"Zentrim\"", "[ ] checkbox \"Padding\""}));
    EXPECT_EQ(r.prefs["Zentrim"]["MainPanelDisplay"], "ZENTRIM");
    EXPECT_EQ(r.prefs["Zentrim"]["PanelDisplay"], "PADDING");
}

TEST(PanelVerb, PaddingTickedInThePanelPadsTheNextCrop) {
    const std::string panelPrefs = R"({"Zentrim": {"PanelDisplay": "PADDING"}})";
    for (bool floating : {false, true}) {
        SCOPED_TRACE(floating ? "floating" : "docked");
        CliInputs in{"panel", scene(true),
                     answers(R"({"title": "Zentrim Panel", "actions": [{"check": "Padding"},
                                  {"click": "Zentrim"}]})"),
                     panelPrefs};
        in.floating = floating;
        CliRun r = runCli(in);
        EXPECT_EQ(r.status, 0) << r.report.dump(2);
        ASSERT_EQ(r.report["resized"].size(), 1u);
        EXPECT_EQ(r.report["resized"][0]["to"], (json{80, 60})) << "60 x 40 and 10 on every side";
        EXPECT_EQ(r.prefs["Zentrim"]["Padding"], true);
        EXPECT_EQ(r.prefs["Zentrim"]["PaddingAmount"], 10.0);
        EXPECT_FALSE(r.prefs["Zentrim"].contains("Panel_Run")) << "the request was taken";
        EXPECT_FALSE(r.prefs["Zentrim"].contains("Menu_Cmd"));
    }
}

// A script may store a number that is not finite; the preferences file written afterwards is one
// the next run reads back, with the same numbers.
TEST(PanelVerb, PreferencesThatAreNotFiniteNumbersAreReadBack) {
    CliInputs in{"panel", scene(true),
                 answers(R"({"title": "Probe Panel", "actions": [{"click": "Store"}]})"), "-"};
    in.panelScript = R"(var w = this;
w.add('button', undefined, 'Store').onClick = function () {
    app.preferences.savePrefAsFloat('Zentrim', 'PaddingAmount', Infinity);
    app.preferences.savePrefAsFloat('Zentrim', 'ExpandAmount', -Infinity);
    app.preferences.savePrefAsFloat('Zentrim', 'Other', NaN);
    app.preferences.saveToDisk();
};)";
    CliRun stored = runCli(in);
    ASSERT_EQ(stored.status, 0) << stored.report.dump(2);
    sim::Preferences read = sim::Preferences::parse(stored.prefs.dump(), "prefs.json");
    EXPECT_EQ(read.getDouble("Zentrim", "PaddingAmount", 0), HUGE_VAL);
    EXPECT_EQ(read.getDouble("Zentrim", "ExpandAmount", 0), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(read.getDouble("Zentrim", "Other", 0)));
    CliRun next = runCli({"run", scene(true), "", stored.prefs.dump()});
    EXPECT_EQ(next.status, 0) << next.report.dump(2);
}

TEST(PanelVerb, APanelWithoutAnAnswerOrWithAWrongOneFails) {
    struct Case {
        const char* what;
        std::string answers;
        const char* unanswered;
    } cases[] = {
        {"no entry for the panel", answers(""), "no answer for the panel \"Zentrim Panel\""},
        {"a button it lacks", answers(clicks("Crop")),
         "panel \"Zentrim Panel\": no button \"Crop\" (it has \"Zentrim\", \"Crop Duration\", "
         "\"Mask Crop\", \"Preferences\")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CliRun r = runCli({"panel", scene(true), c.answers});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.report["unanswered"], json{c.unanswered});
        EXPECT_TRUE(r.report["resized"].empty());
    }
}

TEST(PanelVerb, AScriptThatCannotBeReadIsBadInput) {
    for (const char* path : {"/nonexistent/Zentrim Panel.jsx", "."}) {
        SCOPED_TRACE(path);
        sim::CliOptions options;
        options.verb = "panel";
        options.project = "unused.json";
        options.script = path;
        std::ostringstream out;
        try {
            sim::panelCommand(options, out);
            ADD_FAILURE() << "no error";
        } catch (const sim::BadInput& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("--script: ") + path),
                      std::string::npos)
                << e.what();
        }
        EXPECT_TRUE(out.str().empty());
    }
}

TEST(PanelVerb, TheCommandLineTakesThePanelsOptions) {
    std::vector<const char*> argv = {"zentrim-host", "panel",    "p.json", "--ui",  "a.json",
                                     "--floating",   "--script", "x.jsx",  "--json"};
    sim::CliOptions o = sim::parseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(o.verb, "panel");
    EXPECT_EQ(o.project, "p.json");
    EXPECT_EQ(o.ui, "a.json");
    EXPECT_TRUE(o.floating);
    EXPECT_EQ(o.script, "x.jsx");
    EXPECT_TRUE(o.json);
    std::vector<const char*> keys = {"zentrim-host", "panel", "p.json", "--keys", "cmd"};
    EXPECT_THROW(sim::parseCommandLine(static_cast<int>(keys.size()), keys.data()), sim::UsageError)
        << "the panel is clicked, not held";
}

}  // namespace
