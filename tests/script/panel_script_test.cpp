// The companion panel (panel/Zentrim Panel.jsx) in the simulator's script engine, without the
// plug-in: what it shows from the panel preferences, what its buttons and controls write.
#include <fstream>
#include <sstream>

#include "ScriptFixture.h"

namespace sim::testing {
namespace {

std::string panelScript() {
    std::ifstream in(std::string(ZENTRIM_SOURCE_DIR) + "/panel/Zentrim Panel.jsx");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class PanelScriptTest : public ::testing::Test {
  protected:
    // Shows the panel docked (or floating) with these preferences set first.
    void show(const std::string& answers = R"({"dialogs": []})", bool floating = false) {
        auto user = std::make_shared<SimulatedUser>();
        user->answers = parseUserAnswers(answers, "answers.json");
        scripting = startScripting(host, user);
        ScriptOutcome o = floating ? host.platform().scriptRunner(panelScript())
                                   : scripting->runDocked(panelScript(), "Zentrim Panel");
        ASSERT_TRUE(o.ok) << o.error;
    }
    std::vector<std::string> controls() { return scripting->describeOpen("Zentrim Panel"); }
    void work() {
        ScriptOutcome o = scripting->workIn("Zentrim Panel", [] {});
        EXPECT_TRUE(o.ok) << o.error;
    }
    long pref(const std::string& key) { return host.prefs().getLong("Zentrim", key, -1); }

    Host host;
    std::shared_ptr<ScriptSession> scripting;
};

const std::vector<std::string> kAllButtons = {"button \"Zentrim\"", "button \"Crop Duration\"",
                                              "button \"Mask Crop\"", "button \"Preferences\""};

TEST_F(PanelScriptTest, ShowsWhatThePanelPreferencesList) {
    struct Case {
        const char* what;
        const char* main;     // MainPanelDisplay, or null when never saved
        const char* display;  // PanelDisplay, or null
        std::vector<std::string> shown;
    } cases[] = {
        {"never saved: all four actions, no control", nullptr, nullptr, kAllButtons},
        {"both saved empty: a hint instead",
         "",
         "",
         {"\"Nothing to show: choose what the panel shows in Zentrim Preferences, Panel.\""}},
        {"keys in display order whatever their stored order, unknown keys skipped",
         "PREFERENCES,ZENTRIM,BOGUS",
         "PRE_COMPOSE,DELETE_MASK,EXPAND",
         {"button \"Zentrim\"", "button \"Preferences\"", "[ ] checkbox \"Delete Mask\"",
          "[ ] checkbox \"Expand\"", "\"Pre-compose 3D Comps\"",
          "select 0: 0 \"Always Ask\"*, 1 \"Always Pre-compose\", 2 \"Never Pre-compose\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.prefs() = Preferences();
        if (c.main) host.prefs().set("Zentrim", "MainPanelDisplay", std::string(c.main));
        if (c.display) host.prefs().set("Zentrim", "PanelDisplay", std::string(c.display));
        show();
        EXPECT_EQ(controls(), c.shown);
    }
}

TEST_F(PanelScriptTest, ControlsShowTheStoredPreferences) {
    host.prefs().set("Zentrim", "MainPanelDisplay", std::string(""));
    host.prefs().set("Zentrim", "PanelDisplay", std::string("PADDING,INCLUDE_MASKS,RESOLUTION"));
    host.prefs().set("Zentrim", "Padding", true);
    host.prefs().set("Zentrim", "Resolution", 2L);
    show();
    EXPECT_EQ(controls(),
              (std::vector<std::string>{"[x] checkbox \"Padding\"",
                                        "[ ] checkbox \"Include Masks\"", "\"Resolution\"",
                                        "select 0: 0 \"Always Ask\", 1 \"Always Use Full Res\", 2 "
                                        "\"Always Use Current Res\"*"}));
    EXPECT_EQ(host.prefs().savesToDisk, 0) << "showing writes nothing";
}

TEST_F(PanelScriptTest, AButtonWritesTheCommandNumberAndTheRequestTogether) {
    struct Case {
        const char* button;
        const char* menuName;  // the command's name at that moment (renamed with the keys)
        long request;
    } cases[] = {{"Zentrim", "Zentrim", 1},
                 {"Crop Duration", "Zentrim Duration", 2},
                 {"Mask Crop", "Mask Crop", 3},
                 {"Preferences", "Zentrim Preferences", 4},
                 {"Zentrim", "Multiple layers not allowed", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        host.prefs() = Preferences();
        host.menus().entries[AEGP_Menu_LAYER] = {{3000, "-", false}, {3001, c.menuName, false}};
        show(R"({"dialogs": [{"title": "Zentrim Panel", "actions": [{"click": ")" +
             std::string(c.button) + R"("}]}]})");
        // Both keys are there when the host next idles: the panel wrote them in one run.
        std::vector<long> atIdle;
        scripting->workIn("Zentrim Panel", [&] { atIdle = {pref("Menu_Cmd"), pref("Panel_Run")}; });
        EXPECT_EQ(atIdle, (std::vector<long>{3001, c.request}));
        EXPECT_TRUE(host.events().alerts.empty());
    }
}

TEST_F(PanelScriptTest, WithoutThePluginsCommandItSaysSoAndWritesNoRequest) {
    host.menus().entries[AEGP_Menu_LAYER] = {{3000, "Something Else", true}};
    show(R"({"dialogs": [{"title": "Zentrim Panel", "actions": [{"click": "Crop Duration"}]}]})");
    work();
    EXPECT_FALSE(host.prefs().has("Zentrim", "Menu_Cmd"));
    EXPECT_FALSE(host.prefs().has("Zentrim", "Panel_Run"));
    ASSERT_EQ(host.events().alerts.size(), 1u);
    EXPECT_EQ(host.events().alerts[0].title, "Zentrim Panel");
    EXPECT_TRUE(host.events().alerts[0].errorIcon);
    EXPECT_NE(host.events().alerts[0].text.find("\"Crop Duration\" cannot run"), std::string::npos);
}

TEST_F(PanelScriptTest, EachControlWritesItsPreferenceWhenChanged) {
    host.prefs().set(
        "Zentrim", "PanelDisplay",
        std::string("DELETE_MASK,PADDING,EXPAND,INCLUDE_MASKS,RESOLUTION,PRE_COMPOSE"));
    host.prefs().set("Zentrim", "ExpandAmount", 7.0);
    show(R"({"dialogs": [{"title": "Zentrim Panel", "actions": [
        {"check": "Delete Mask"}, {"check": "Padding"}, {"check": "Expand"},
        {"check": "Include Masks"}, {"uncheck": "Include Masks"}, {"select": [0, 1]},
        {"select": [1, 2]}]}]})");
    work();
    const Preferences& p = host.prefs();
    EXPECT_TRUE(p.getBool("Zentrim", "DeleteMask", false));
    EXPECT_TRUE(p.getBool("Zentrim", "Padding", false));
    EXPECT_EQ(p.getDouble("Zentrim", "PaddingAmount", -1), 10.0)
        << "the preferences dialog's default, so that Padding pads as the dialog shows";
    EXPECT_TRUE(p.getBool("Zentrim", "Expand", false));
    EXPECT_EQ(p.getDouble("Zentrim", "ExpandAmount", -1), 7.0) << "a saved amount is kept";
    ASSERT_TRUE(p.has("Zentrim", "IncludeMasks"));
    EXPECT_FALSE(p.getBool("Zentrim", "IncludeMasks", true));
    EXPECT_EQ(pref("Resolution"), 1);
    EXPECT_EQ(pref("ThreeD"), 2);
    EXPECT_EQ(p.savesToDisk, 7) << "every change is saved";
}

TEST_F(PanelScriptTest, TheDialogsUpdateFunctionRebuildsItUntilItCloses) {
    show(R"({"dialogs": [{"title": "Zentrim Panel", "actions": [{"close": true}]}]})", true);
    EXPECT_EQ(scripting->openWindows(), std::vector<std::string>{"Zentrim Panel"})
        << "run as a script it floats";
    host.prefs().set("Zentrim", "MainPanelDisplay", std::string("MASK_CROP"));
    host.prefs().set("Zentrim", "PanelDisplay", std::string("PADDING"));
    EXPECT_TRUE(host.platform().scriptRunner("app.ZENTRIM_update_panel(); 1").ok);
    EXPECT_EQ(controls(),
              (std::vector<std::string>{"button \"Mask Crop\"", "[ ] checkbox \"Padding\""}));
    work();
    EXPECT_TRUE(scripting->openWindows().empty());
    EXPECT_EQ(host.platform().scriptRunner("typeof app.ZENTRIM_update_panel").value, "undefined")
        << "so the dialogs ask to re-open the panel";
}

}  // namespace
}  // namespace sim::testing
