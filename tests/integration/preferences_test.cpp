// The preferences dialog and the panel-preferences dialog, through the menu command.
#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::scene;

std::string answers(const std::string& actions, const std::string& more = "") {
    return R"({"dialogs": [{"title": "Zentrim Preferences", "actions": [)" + actions + "]}" + more +
           "]}";
}

TEST(Preferences, SavingAFreshHostStoresEveryKeyWithTheDialogsDefaults) {
    Command c(scene(false), answers(R"({"click": "Save"})"));
    sim::SessionReport r = c.run("shift");
    EXPECT_EQ(r.menuName, "Zentrim Preferences");
    ASSERT_EQ(r.result, A_Err_NONE);
    EXPECT_EQ(r.dialogs, std::vector<std::string>{"Zentrim Preferences"});
    const sim::Preferences& p = c.host().prefs();
    EXPECT_FALSE(p.getBool("Zentrim", "Padding", true));
    EXPECT_EQ(p.getDouble("Zentrim", "PaddingAmount", 0), 10);
    EXPECT_FALSE(p.getBool("Zentrim", "DeleteMask", true));
    EXPECT_FALSE(p.getBool("Zentrim", "IncludeMasks", true));
    EXPECT_FALSE(p.getBool("Zentrim", "Expand", true));
    EXPECT_EQ(p.getDouble("Zentrim", "ExpandAmount", 1), 0);
    EXPECT_EQ(p.getLong("Zentrim", "Resolution", 9), 0);
    EXPECT_EQ(p.getLong("Zentrim", "ThreeD", 9), 0);
    EXPECT_EQ(p.sections().at("Zentrim").size(), 8u);
    EXPECT_EQ(p.savesToDisk, 1);
    EXPECT_TRUE(r.undoSteps.empty());
    expectClean(r);
}

// The host writes every preference the plug-in reads and does not find, with the reader's default
// (a one-byte flag read without one as false): after a crop those keys exist, and the dialog loads
// them rather than its own defaults, so an amount the crop read as 0 shows as 0, not 10.
TEST(Preferences, AKeyACropReadsExistsAfterwardsAndTheDialogLoadsIt) {
    Command c(scene(true), answers(R"({"click": "Save"})"));
    c.host().prefs().set("Zentrim", "Padding", true);
    sim::SessionReport crop = c.run();
    ASSERT_EQ(crop.result, A_Err_NONE);
    const sim::Preferences& p = c.host().prefs();
    for (const char* flag : {"Expand", "IncludeMasks"}) {
        ASSERT_TRUE(p.has("Zentrim", flag)) << flag;
        EXPECT_EQ(*p.find("Zentrim", flag), sim::PrefValue(false)) << flag;
    }
    ASSERT_TRUE(p.has("Zentrim", "PaddingAmount"));
    EXPECT_EQ(*p.find("Zentrim", "PaddingAmount"), sim::PrefValue(0L));
    EXPECT_FALSE(p.has("Zentrim", "DeleteMask")) << "only Mask Crop reads it";
    expectClean(crop);

    sim::SessionReport dialog = c.run("shift", false);
    ASSERT_EQ(dialog.result, A_Err_NONE);
    EXPECT_EQ(p.getDouble("Zentrim", "PaddingAmount", -1), 0);
    EXPECT_TRUE(p.getBool("Zentrim", "Padding", false));
    expectClean(dialog);
}

TEST(Preferences, EditedValuesAreStoredAndTextThatIsNoFiniteNumberKeepsTheLoadedAmount) {
    for (const char* typed : {"abc", "Infinity", "-Infinity", "1e999"}) {
        SCOPED_TRACE(typed);
        Command c(scene(false), answers(std::string(R"({"check": "Padding"}, {"text": [0, ")") +
                                        typed + R"("]}, {"check": "Expand"},
            {"text": [1, "12.75px"]}, {"select": [0, 2]}, {"select": [1, 1]},
            {"check": "Include Masks"}, {"click": "Save"})"));
        c.host().prefs().set("Zentrim", "PaddingAmount", 7.0);
        sim::SessionReport r = c.run("shift");
        ASSERT_EQ(r.result, A_Err_NONE);
        const sim::Preferences& p = c.host().prefs();
        EXPECT_TRUE(p.getBool("Zentrim", "Padding", false));
        EXPECT_EQ(p.getDouble("Zentrim", "PaddingAmount", 0), 7)
            << "what is no finite number keeps the amount that was loaded";
        EXPECT_TRUE(p.getBool("Zentrim", "Expand", false));
        EXPECT_EQ(p.getDouble("Zentrim", "ExpandAmount", 0), 12.75);
        EXPECT_EQ(p.getLong("Zentrim", "ExpandAmount", 0), 12)
            << "the plug-in reads amounts as whole numbers";
        EXPECT_EQ(p.getLong("Zentrim", "Resolution", 0), 2);
        EXPECT_EQ(p.getLong("Zentrim", "ThreeD", 0), 1);
        EXPECT_TRUE(p.getBool("Zentrim", "IncludeMasks", false));
        expectClean(r);
    }
}

TEST(Preferences, CancelStoresNothing) {
    Command c(scene(false), answers(R"({"check": "Padding"}, {"click": "Cancel"})"));
    sim::SessionReport r = c.run("shift");
    EXPECT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(c.host().prefs().sections().empty());
    EXPECT_EQ(c.host().prefs().savesToDisk, 0);
    expectClean(r);
}

// Wraps the dialog's show so that, for the panel preferences, it notes every checkbox and button
// whose rectangle (in the window, through its groups) overlaps another's.
const char* kOverlapProbe = R"(var zentrimOverlaps = 'not shown';
(function () {
    var show = Window.prototype.show;
    function boxes(control, x, y, out) {
        for (var i = 0; i < control.children.length; i++) {
            var c = control.children[i], b = c.bounds;
            if (!b) continue;
            var r = [x + b[0], y + b[1], x + b[2], y + b[3]];
            if (c.type === 'checkbox' || c.type === 'button') out.push({text: c.text, r: r});
            boxes(c, r[0], r[1], out);
        }
        return out;
    }
    Window.prototype.show = function () {
        if (this.text === 'Zentrim Panel Preferences') {
            var all = boxes(this, 0, 0, []), found = [];
            for (var i = 0; i < all.length; i++)
                for (var j = i + 1; j < all.length; j++) {
                    var a = all[i].r, b = all[j].r;
                    if (a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3])
                        found.push(all[i].text + ' / ' + all[j].text);
                }
            zentrimOverlaps = found.join(', ');
        }
        return show.apply(this, arguments);
    };
})();)";

// The panel preferences store the ticked keys; their Save button covers no checkbox.
TEST(Preferences, PanelPreferencesStoreTheTickedKeys) {
    struct Case {
        const char* what;
        std::string actions;
        const char* mainPanel;
        const char* panel;
    } cases[] = {
        {"everything cleared",
         R"({"uncheck": "Zentrim"}, {"uncheck": "Crop Duration"}, {"uncheck": "Mask Crop"},
            {"uncheck": "Preferences"}, {"click": "Save"})",
         "", ""},
        {"two controls ticked",
         R"({"check": "Padding"}, {"check": "Expand"}, {"uncheck": "Mask Crop"},
            {"click": "Save"})",
         "ZENTRIM,CROP_DURATION,PREFERENCES", "PADDING,EXPAND"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(scene(false), answers(R"({"click": "Panel"}, {"click": "Cancel"})",
                                        R"(, {"title": "Zentrim Panel Preferences", "actions": [)" +
                                            k.actions + "]}"));
        sim::ScriptOutcome probe = c.host().platform().scriptRunner(kOverlapProbe);
        ASSERT_TRUE(probe.ok) << probe.error;
        sim::SessionReport r = c.run("shift");
        ASSERT_EQ(r.result, A_Err_NONE);
        EXPECT_EQ(r.dialogs,
                  (std::vector<std::string>{"Zentrim Preferences", "Zentrim Panel Preferences"}));
        EXPECT_EQ(c.host().platform().scriptRunner("zentrimOverlaps").value, "");
        EXPECT_EQ(c.host().prefs().getString("Zentrim", "MainPanelDisplay", "?"), k.mainPanel);
        EXPECT_EQ(c.host().prefs().getString("Zentrim", "PanelDisplay", "?"), k.panel);
        ASSERT_EQ(r.alerts.size(), 1u);
        EXPECT_EQ(r.alerts[0].text, "Please re-open the Zentrim panel for changes to take effect");
        expectClean(r);
    }
}

TEST(Preferences, HelpOpensALinkFileOnlyWhenNetworkAccessIsAllowed) {
    {
        Command c(scene(false), answers(R"({"click": "Help"}, {"click": "Cancel"})"));
        sim::SessionReport r = c.run("shift");
        ASSERT_EQ(r.alerts.size(), 1u);
        EXPECT_EQ(r.alerts[0].text.rfind(
                      "Network access has been blocked by your preferences. Please visit: ", 0),
                  0u);
        EXPECT_TRUE(c.host().events().fileEvents.empty());
    }
    Command c(scene(false), answers(R"({"click": "Help"}, {"click": "Cancel"})"));
    c.host().prefs().set("Main Pref Section", "Pref_SCRIPTING_FILE_NETWORK_SECURITY", 1L);
    sim::SessionReport r = c.run("shift");
    EXPECT_TRUE(r.alerts.empty());
    std::vector<std::string> events = c.host().events().fileEvents;
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[0], "open ~/Desktop/kqlinkscript.url w");
    EXPECT_EQ(events[1], "write ~/Desktop/kqlinkscript.url");
    EXPECT_EQ(events[events.size() - 2], "execute ~/Desktop/kqlinkscript.url");
    EXPECT_EQ(events.back(), "remove ~/Desktop/kqlinkscript.url");
}

}  // namespace
