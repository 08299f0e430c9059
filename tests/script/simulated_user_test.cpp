// The simulated user's record (unanswered dialogs, used answers, ticked boxes), the terminal's
// words, and the windows that stay open after their script: palettes and docked panels.
#include <sstream>

#include "ScriptFixture.h"

namespace sim::testing {
namespace {

class UserTest : public ::testing::Test {
  protected:
    void start(const std::string& answers, const std::string& terminal = "") {
        user = std::make_shared<SimulatedUser>();
        user->answers = parseUserAnswers(answers, "answers.json");
        ScriptOptions options;
        if (!terminal.empty()) {
            in.str(terminal);
            user->answers.askOnTerminal = true;
            options.terminalIn = &in;
            options.terminalOut = &out;
        }
        scripting = startScripting(host, user, options);
    }
    ScriptOutcome run(const std::string& script) { return host.platform().scriptRunner(script); }

    Host host;
    std::shared_ptr<SimulatedUser> user;
    std::shared_ptr<ScriptSession> scripting;
    std::istringstream in;
    std::ostringstream out;
};

// A dialog with a box, a field, a list and buttons; OK closes with 1, Apply does not close.
const char* const kDialog =
    "var w = new Window('dialog', 'D');"
    "var box = w.add('checkbox', undefined, 'Remember My Choice');"
    "var field = w.add('edittext', undefined, '10');"
    "var list = w.add('dropdownlist', undefined, ['Always Ask', 'Always Use Full Res']);"
    "list.selection = 0;"
    "w.add('button', undefined, 'Apply').onClick = function () {};"
    "w.add('button', undefined, 'OK').onClick = function () { w.close(1); };"
    "w.add('button', undefined, 'Broken').onClick = function () { null.x; };";

TEST_F(UserTest, DialogsLeftUnansweredAreRecordedEvenWhenTheScriptCatches) {
    struct Case {
        const char* answers;
        const char* recorded;  // empty: nothing recorded
    } cases[] = {
        {R"({"dialogs": []})", "no answer for the dialog \"D\""},
        {R"({"dialogs": [{"title": "D", "actions": [{"click": "Apply"}]}]})",
         "dialog \"D\": the answers given leave it open"},
        {R"({"dialogs": [{"title": "D", "actions": [{"click": "Okay"}]}]})",
         "dialog \"D\": no button \"Okay\" (it has \"Apply\", \"OK\", \"Broken\")"},
        {R"({"dialogs": [{"title": "D", "actions": [{"select": [0, 5]}]}]})",
         "dialog \"D\": the drop-down list 0 has no item 5 (it has 2, counted from 0)"},
        {R"({"dialogs": [{"title": "D", "actions": [{"click": "Broken"}]}]})", ""},
        {R"({"dialogs": [{"title": "D", "actions": [{"click": "OK"}]}]})", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers);
        start(c.answers);
        ScriptOutcome o = run(std::string(kDialog) + "try { w.show(); } catch (e) { 'caught'; }");
        EXPECT_TRUE(o.ok) << o.error;
        if (*c.recorded) {
            EXPECT_EQ(user->unanswered, std::vector<std::string>{c.recorded});
        } else {
            EXPECT_TRUE(user->unanswered.empty()) << user->unanswered.front();
        }
    }
}

TEST_F(UserTest, AnswersAreMarkedAsTheyAreUsedAndTicksRecorded) {
    start(R"({"dialogs": [
        {"title": "D", "actions": [{"check": "Remember My Choice"}, {"click": "OK"},
                                   {"text": [0, "late"]}]},
        {"title": "Never", "actions": [{"click": "OK"}]}]})");
    ASSERT_TRUE(run(std::string(kDialog) + "w.show();").ok);
    const std::vector<DialogAnswer>& a = user->answers.dialogs;
    EXPECT_TRUE(a[0].used);
    EXPECT_EQ(a[0].applied, 2u) << "the dialog closed before the third";
    EXPECT_FALSE(a[1].used);
    EXPECT_EQ(a[1].applied, 0u);
    EXPECT_EQ(user->ticked,
              (std::vector<std::pair<std::string, std::string>>{{"D", "Remember My Choice"}}));
}

TEST_F(UserTest, TheTerminalTakesNamesAsListedAndSaysWhatEachActionDid) {
    start(R"({"dialogs": []})",
          "help\n"
          "check \"Remember My Choice\"\n"
          "check Remember My Choice\n"
          "text 0 \"12 px\"\n"
          "select 0 \"Always Use Full Res\"\n"
          "select 0 \"Sometimes\"\n"
          "list\n"
          "click \"Apply\"\n"
          "click \"OK\"\n");
    ScriptOutcome o =
        run(std::string(kDialog) +
            "w.show() + '|' + box.value + '|' + field.text + '|' + list.selection.text");
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_EQ(o.value, "1|true|12 px|Always Use Full Res");
    std::string shown = out.str();
    for (const char* said : {
             "check \"TEXT\"     tick the checkbox",  // help
             "ticked the checkbox \"Remember My Choice\"",
             "the checkbox \"Remember My Choice\" is already ticked: nothing changed",
             "typed \"12 px\" into the edit field 0",
             "selected item 1 \"Always Use Full Res\" of the drop-down list 0",
             "the drop-down list 0 has no item \"Sometimes\"",
             "[x] checkbox \"Remember My Choice\"",  // list, after the tick
             "clicked the button \"Apply\": the dialog is still open",
             "clicked the button \"OK\": the dialog closed with 1",
         }) {
        EXPECT_NE(shown.find(said), std::string::npos) << said << "\n" << shown;
    }
    EXPECT_TRUE(user->unanswered.empty());
}

TEST_F(UserTest, AlertsShowAtTheTerminalAsTheyHappen) {
    start(R"({"dialogs": []})", "click Apply\nclick OK\n");
    ASSERT_TRUE(run(std::string(kDialog) +
                    "w.children[3].onClick = function () { alert('Saved.', 'Note'); }; w.show();")
                    .ok);
    std::string shown = out.str();
    size_t alert = shown.find("alert \"Note\": Saved.");
    ASSERT_NE(alert, std::string::npos) << shown;
    EXPECT_LT(alert, shown.find("clicked the button \"OK\"")) << "shown when it happens";
}

TEST_F(UserTest, TheTerminalEndingLeavesTheDialogUnanswered) {
    start(R"({"dialogs": []})", "click Apply\n");
    EXPECT_FALSE(run(std::string(kDialog) + "w.show();").ok);
    EXPECT_EQ(user->unanswered,
              std::vector<std::string>{"dialog \"D\": the terminal input ended with it open"});
}

// A palette with a button that counts its clicks and a box; Done closes it.
const char* const kPalette =
    "var clicks = 0;"
    "var p = new Window('palette', 'Tools');"
    "p.add('button', undefined, 'Count').onClick = function () { clicks++; };"
    "p.add('checkbox', undefined, 'Fast');"
    "p.add('button', undefined, 'Done').onClick = function () { p.close(); };"
    "p.show();";

TEST_F(UserTest, APaletteStaysOpenAndTheUserWorksInItBetweenIdleCalls) {
    start(R"({"dialogs": [{"title": "Tools", "actions": [
        {"click": "Count"}, {"check": "Fast"}, {"click": "Count"}, {"click": "Done"},
        {"click": "Count"}]}]})");
    ASSERT_TRUE(run(kPalette).ok);
    EXPECT_EQ(scripting->openWindows(), std::vector<std::string>{"Tools"});
    EXPECT_EQ(
        scripting->describeOpen("Tools"),
        (std::vector<std::string>{"button \"Count\"", "[ ] checkbox \"Fast\"", "button \"Done\""}));
    std::vector<std::string> seen;  // the clicks counted at each idle call
    ScriptOutcome worked = scripting->workIn(
        "Tools", [&] { seen.push_back(host.platform().scriptRunner("clicks").value); });
    EXPECT_TRUE(worked.ok) << worked.error;
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "1", "2", "2"})) << "stops once it closed";
    EXPECT_TRUE(scripting->openWindows().empty());
    EXPECT_TRUE(scripting->describeOpen("Tools").empty());
    EXPECT_EQ(user->answers.dialogs[0].applied, 4u);
    EXPECT_TRUE(host.events().dialogs.empty()) << "a palette is not a dialog";
}

TEST_F(UserTest, WorkInAnOpenWindowWithoutFittingAnswersIsUnanswered) {
    start(
        R"({"dialogs": [{"title": "Tools", "actions": [{"click": "Count"}, {"click": "Nope"}]}]})");
    ASSERT_TRUE(run(kPalette).ok);
    int idles = 0;
    ScriptOutcome worked = scripting->workIn("Tools", [&] { ++idles; });
    EXPECT_FALSE(worked.ok);
    EXPECT_EQ(idles, 1);
    EXPECT_EQ(user->unanswered,
              std::vector<std::string>{
                  "window \"Tools\": no button \"Nope\" (it has \"Count\", \"Done\")"});
    EXPECT_FALSE(scripting->workIn("Tools", [] {}).ok) << "its one answer is used";
    EXPECT_EQ(user->unanswered.back(), "no answer for the window \"Tools\"");
    EXPECT_FALSE(scripting->workIn("Elsewhere", [] {}).ok);
}

TEST_F(UserTest, ADockedPanelIsAPanelGivenToItsScriptAsThis) {
    start(R"({"dialogs": []})", "click Count\nlist\nclick Nope\ndone\nclick Count\n");
    ScriptOutcome o = scripting->runDocked(
        "var clicks = 0; var panel = this;"
        "this.add('button', undefined, 'Count').onClick = function () { clicks++; };"
        "this.layout.layout(true);"
        "[this instanceof Panel, this instanceof Window, this.text, this.type].join(',')",
        "Zentrim Panel");
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_EQ(o.value, "true,false,Zentrim Panel,panel");
    EXPECT_EQ(run("new Window('dialog', 'X').add('panel') instanceof Panel").value, "true");
    EXPECT_FALSE(run("new Panel()").ok) << "only the host and add('panel') make one";
    int idles = 0;
    EXPECT_TRUE(scripting->workIn("Zentrim Panel", [&] { ++idles; }).ok);
    EXPECT_EQ(idles, 1) << "list and problems do not idle; done ends";
    EXPECT_EQ(run("clicks").value, "1");
    std::string shown = out.str();
    EXPECT_NE(shown.find("The panel \"Zentrim Panel\" is open:"), std::string::npos) << shown;
    EXPECT_NE(shown.find("clicked the button \"Count\": the panel is still open"),
              std::string::npos);
    EXPECT_NE(shown.find("panel \"Zentrim Panel\": no button \"Nope\""), std::string::npos);
    EXPECT_EQ(scripting->openWindows(), std::vector<std::string>{"Zentrim Panel"});
    EXPECT_TRUE(run("panel.close(); panel.onClose === undefined").ok);
    EXPECT_TRUE(scripting->openWindows().empty()) << "closed by its script";
}

TEST_F(UserTest, FindMenuCommandIdSearchesTheHostsMenus) {
    start(R"({"dialogs": []})");
    host.menus().entries[AEGP_Menu_LAYER] = {{0, "-", true}, {3001, "Zentrim Duration", false}};
    host.menus().entries[AEGP_Menu_EDIT] = {{3002, "Paste Twice", true},
                                            {3003, "Zentrim Duration", true}};
    // Menus in the host's order (Edit before Layer), entries top to bottom; disabled ones too.
    EXPECT_EQ(run("app.findMenuCommandId('Zentrim Duration')").value, "3003");
    EXPECT_EQ(run("app.findMenuCommandId('Paste Twice')").value, "3002");
    EXPECT_EQ(run("app.findMenuCommandId('Zentrim')").value, "0");
    host.menus().entries[AEGP_Menu_EDIT].clear();
    EXPECT_EQ(run("app.findMenuCommandId('Zentrim Duration')").value, "3001");
}

}  // namespace
}  // namespace sim::testing
