// Dialogs: the toolkit's objects, and the simulated user answering them from answers.
#include <sstream>

#include "ScriptFixture.h"

namespace sim::testing {
namespace {

// A preferences dialog in two columns: checkboxes with edit fields on the left, drop-down lists
// on the right, Save and Cancel below. Save stores the preferences and closes with 1.
const char* const kPreferencesDialog = R"JS(
var w = new Window("dialog", "Zentrim Preferences", undefined, {resizeable: false});
w.orientation = "column";
w.alignChildren = ["fill", "top"];
var columns = w.add("group");
columns.orientation = "row";
var left = columns.add("panel", undefined, "Crop");
left.alignChildren = "left";
left.margins = [10, 15, 10, 10];
var pad = left.add("checkbox", undefined, "Padding");
pad.value = false;
var padRow = left.add("group");
padRow.add("statictext", undefined, "Pixels:");
var padAmount = padRow.add("edittext", undefined, "0");
padAmount.characters = 5;
padAmount.enabled = false;
pad.onClick = function () { padAmount.enabled = this.value; };
var expand = left.add("checkbox", undefined, "Expand");
var expandAmount = left.add("edittext", undefined, "4");
expandAmount.preferredSize.width = 60;
var right = columns.add("panel", undefined, "Quality");
right.preferredSize = [200, -1];
var resolution = right.add("dropdownlist", undefined, ["Full", "Half", "Third"]);
resolution.selection = 0;
var changes = 0;
resolution.onChange = function () { changes++; };
var threeD = right.add("dropdownlist", undefined, []);
threeD.add("item", "Ignore");
threeD.add("item", "Flatten");
threeD.selection = threeD.items[0];
var buttons = w.add("group");
buttons.alignment = "right";
var save = buttons.add("button", undefined, "Save", {name: "ok"});
var cancel = buttons.add("button", undefined, "Cancel", {name: "cancel"});
save.onClick = function () {
    var p = app.preferences;
    p.savePrefAsBool("Zentrim", "Padding", pad.value);
    p.savePrefAsLong("Zentrim", "PaddingAmount", parseInt(padAmount.text, 10));
    p.savePrefAsBool("Zentrim", "Expand", expand.value);
    p.savePrefAsFloat("Zentrim", "ExpandAmount", parseFloat(expandAmount.text));
    p.savePrefAsLong("Zentrim", "Resolution", resolution.selection.index);
    p.savePrefAsLong("Zentrim", "ThreeD", threeD.selection.index);
    p.saveToDisk();
    w.close(1);
};
cancel.onClick = function () { w.close(0); };
w.show();
)JS";

// A list to pick from: OK gives the selected index (-1 with none), Cancel gives -2.
const char* const kListDialog = R"JS(
var picked = -2;
var d = new Window("dialog", "Mask Crop");
d.add("statictext", undefined, "Crop to which mask?");
var list = d.add("listbox", undefined, ["Left Half", "Circle", "Star"]);
list.preferredSize = {width: 240, height: 120};
var row = d.add("group");
var ok = row.add("button", undefined, "OK");
var cancel = row.add("button", undefined, "Cancel");
ok.onClick = function () { picked = list.selection === null ? -1 : list.selection.index; d.close(1); };
cancel.onClick = function () { d.close(2); };
d.show();
picked;
)JS";

class DialogTest : public ScriptTest {};

TEST_F(DialogTest, PreferencesDialogAnsweredFromAFile) {
    installAnswers(R"({"dialogs": [{"title": "Zentrim Preferences", "actions": [
        {"check": "Padding"}, {"text": [0, "12"]}, {"text": [1, "2.5"]},
        {"select": [0, 2]}, {"select": [1, 1]}, {"click": "Save"}]}]})");
    EXPECT_EQ(ok(kPreferencesDialog), "1");
    EXPECT_EQ(host.events().dialogs, std::vector<std::string>{"Zentrim Preferences"});
    EXPECT_TRUE(host.prefs().getBool("Zentrim", "Padding", false));
    EXPECT_EQ(host.prefs().getLong("Zentrim", "PaddingAmount", 0), 12);
    EXPECT_FALSE(host.prefs().getBool("Zentrim", "Expand", true));
    EXPECT_EQ(host.prefs().getDouble("Zentrim", "ExpandAmount", 0), 2.5);
    EXPECT_EQ(host.prefs().getLong("Zentrim", "Resolution", 0), 2);
    EXPECT_EQ(host.prefs().getLong("Zentrim", "ThreeD", 0), 1);
    EXPECT_EQ(host.prefs().savesToDisk, 1);
    EXPECT_EQ(ok("changes"), "1");  // onChange ran once, for the one change
    // The window's properties are kept as the script set them.
    EXPECT_EQ(ok("w.alignChildren.join('/') + ' ' + right.preferredSize.width + ' ' + "
                 "right.preferredSize[1] + ' ' + expandAmount.preferredSize.width + ' ' + "
                 "padAmount.characters + ' ' + left.margins[1] + ' ' + buttons.alignment"),
              "fill/top 200 -1 60 5 15 right");
}

TEST_F(DialogTest, CancelLeavesThePreferencesAlone) {
    installAnswers(R"({"dialogs": [{"title": "Zentrim Preferences",
                                    "actions": [{"check": "Expand"}, {"click": "Cancel"}]}]})");
    EXPECT_EQ(ok(kPreferencesDialog), "0");
    EXPECT_TRUE(host.prefs().sections().empty());
    EXPECT_EQ(ok("expand.value"), "true");
}

TEST_F(DialogTest, ADisabledFieldCannotBeTyped) {
    installAnswers(R"({"dialogs": [{"title": "Zentrim Preferences",
                                    "actions": [{"text": [0, "12"]}, {"click": "Save"}]}]})");
    EXPECT_EQ(fails(kPreferencesDialog),
              "Error: dialog \"Zentrim Preferences\": the edit field 0 is disabled (line 47)");
}

TEST_F(DialogTest, ListDialogGivesTheSelectedIndex) {
    installAnswers(R"({"dialogs": [
        {"title": "Mask Crop", "actions": [{"select": [0, 1]}, {"click": "OK"}]},
        {"title": "Mask Crop", "actions": [{"click": "OK"}]},
        {"title": "Mask Crop", "actions": [{"select": [0, 2]}, {"click": "Cancel"}]}]})");
    EXPECT_EQ(ok(kListDialog), "1");
    EXPECT_EQ(ok(kListDialog), "-1");
    EXPECT_EQ(ok(kListDialog), "-2");
    EXPECT_EQ(host.events().dialogs,
              (std::vector<std::string>{"Mask Crop", "Mask Crop", "Mask Crop"}));
}

TEST_F(DialogTest, TheCloseBoxGivesTwoAfterOnClose) {
    installAnswers(R"({"dialogs": [{"title": "Low Resolution", "actions": [{"close": null}]}]})");
    EXPECT_EQ(ok("var closed = false;"
                 "var w = new Window('dialog', 'Low Resolution');"
                 "w.add('button', undefined, 'Accurate').onClick = function () { w.close(1); };"
                 "w.onClose = function () { closed = true; };"
                 "var r = w.show(); r + ',' + closed"),
              "2,true");
}

TEST_F(DialogTest, OnCloseReturningFalseKeepsTheWindowOpen) {
    installAnswers(R"({"dialogs": [{"title": "Sticky",
                                    "actions": [{"close": true}, {"click": "Done"}]}]})");
    EXPECT_EQ(ok("var asked = 0, w = new Window('dialog', 'Sticky');"
                 "w.onClose = function () { asked++; return asked > 1; };"
                 "w.add('button', undefined, 'Done').onClick = function () { w.close(7); };"
                 "w.show() + ',' + asked"),
              "7,2");
}

TEST_F(DialogTest, ButtonsWithoutHandlersActAsOkAndCancel) {
    installAnswers(R"({"dialogs": [{"title": "A", "actions": [{"click": "OK"}]},
                                   {"title": "A", "actions": [{"click": "Cancel"}]},
                                   {"title": "A", "actions": [{"click": "Go"}]}]})");
    const char* script =
        "var w = new Window('dialog', 'A'); w.add('button', undefined, 'OK');"
        "w.add('button', undefined, 'Cancel'); w.add('button', [0, 0, 80, 20], 'Go', {name: 'ok'});"
        "w.show()";
    EXPECT_EQ(ok(script), "1");
    EXPECT_EQ(ok(script), "2");
    EXPECT_EQ(ok(script), "1");
}

TEST_F(DialogTest, CloseWithoutAValueGivesOne) {
    installAnswers(R"({"dialogs": [{"title": "B", "actions": [{"click": "Go"}]}]})");
    EXPECT_EQ(ok("var w = new Window('dialog', 'B');"
                 "w.add('button', undefined, 'Go').onClick = function () { w.close(); };"
                 "w.show()"),
              "1");
}

TEST_F(DialogTest, ActionsStopOnceTheWindowCloses) {
    installAnswers(R"({"dialogs": [{"title": "C",
                                    "actions": [{"click": "OK"}, {"click": "Missing"}]}]})");
    EXPECT_EQ(ok("var w = new Window('dialog', 'C'); w.add('button', undefined, 'OK'); w.show()"),
              "1");
}

TEST_F(DialogTest, CheckClicksOnlyWhenTheValueChanges) {
    installAnswers(R"({"dialogs": [{"title": "D", "actions": [
        {"check": "Remember My Choice"}, {"check": "Remember My Choice"},
        {"uncheck": "Other"}, {"click": "OK"}]}]})");
    EXPECT_EQ(ok("var clicks = 0, w = new Window('dialog', 'D');"
                 "var r = w.add('checkbox', undefined, 'Remember My Choice');"
                 "r.onClick = function () { clicks++; };"
                 "var o = w.add('checkbox', undefined, 'Other'); o.value = true;"
                 "w.add('button', undefined, 'OK');"
                 "w.show(); [r.value, o.value, clicks].join()"),
              "true,false,1");
}

TEST_F(DialogTest, RadioButtonsInAGroupExcludeEachOther) {
    installAnswers(R"({"dialogs": [{"title": "E", "actions": [
        {"check": "Accurate"}, {"click": "OK"}]}]})");
    EXPECT_EQ(ok("var w = new Window('dialog', 'E'); var g = w.add('group');"
                 "var fast = g.add('radiobutton', undefined, 'Fast'); fast.value = true;"
                 "var accurate = g.add('radiobutton', undefined, 'Accurate');"
                 "w.add('button', undefined, 'OK'); w.show();"
                 "fast.value + ',' + accurate.value"),
              "false,true");
}

TEST_F(DialogTest, FieldsAndListsCountInCreationOrderAcrossGroups) {
    installAnswers(R"({"dialogs": [{"title": "F", "actions": [
        {"text": [1, "second"]}, {"select": [1, 0]}, {"click": "OK"}]}]})");
    EXPECT_EQ(ok("var w = new Window('dialog', 'F');"
                 "var a = w.add('group'), b = w.add('group');"
                 "var e0 = b.add('edittext'); var l0 = b.add('listbox', undefined, ['x']);"
                 "var e1 = a.add('edittext'); var l1 = a.add('dropdownlist', undefined, ['y']);"
                 "w.add('button', undefined, 'OK'); w.show();"
                 "[e0.text, e1.text, l0.selection, l1.selection.text].join('|')"),
              "|second||y");
}

TEST_F(DialogTest, TheFirstUnusedAnswerWithTheTitleIsTaken) {
    installAnswers(R"({"dialogs": [{"title": "Other", "actions": [{"click": "Two"}]},
                                   {"title": "G", "actions": [{"click": "One"}]},
                                   {"title": "G", "actions": [{"click": "Two"}]}]})");
    const char* script =
        "var w = new Window('dialog', 'G');"
        "w.add('button', undefined, 'One').onClick = function () { w.close(1); };"
        "w.add('button', undefined, 'Two').onClick = function () { w.close(2); };"
        "w.show()";
    EXPECT_EQ(ok(script), "1");
    EXPECT_EQ(ok(script), "2");
    EXPECT_EQ(fails(script), "Error: no answer for the dialog \"G\" (line 1)");
}

TEST_F(DialogTest, ADialogWithoutAnAnswerFailsNamingIt) {
    std::string error = fails("alert('before');\nnew Window('dialog', 'Low Resolution').show();");
    EXPECT_EQ(error, "Error: no answer for the dialog \"Low Resolution\" (line 2)");
    EXPECT_EQ(host.events().dialogs, std::vector<std::string>{"Low Resolution"});
}

TEST_F(DialogTest, MissingControlsAreNamed) {
    installAnswers(R"({"dialogs": [
        {"title": "H", "actions": [{"click": "Nope"}]},
        {"title": "H", "actions": [{"check": "Nope"}]},
        {"title": "H", "actions": [{"text": [2, "x"]}]},
        {"title": "H", "actions": [{"select": [0, 5]}]},
        {"title": "H", "actions": [{"select": [3, 0]}]}]})");
    const char* script =
        "var w = new Window('dialog', 'H'); w.add('edittext');"
        "w.add('dropdownlist', undefined, ['a', 'b']); w.add('button', undefined, 'OK'); w.show()";
    EXPECT_EQ(fails(script), "Error: dialog \"H\": no button \"Nope\" (it has \"OK\") (line 1)");
    EXPECT_EQ(fails(script), "Error: dialog \"H\": no checkbox \"Nope\" (it has none) (line 1)");
    EXPECT_EQ(fails(script),
              "Error: dialog \"H\": no edit field 2 (it has 1, counted from 0) (line 1)");
    EXPECT_EQ(fails(script),
              "Error: dialog \"H\": the drop-down list 0 has no item 5 (it has 2, counted from 0) "
              "(line 1)");
    EXPECT_EQ(fails(script),
              "Error: dialog \"H\": no list or drop-down list 3 (it has 1, counted from 0) "
              "(line 1)");
}

TEST_F(DialogTest, AnswersThatLeaveTheDialogOpenFail) {
    installAnswers(R"({"dialogs": [{"title": "I", "actions": [{"text": [0, "x"]}]}]})");
    EXPECT_EQ(fails("var w = new Window('dialog', 'I'); w.add('edittext'); w.show()"),
              "Error: dialog \"I\": the answers given leave it open (line 1)");
    EXPECT_EQ(ok("w.show === Window.prototype.show"), "true");  // the heap stays usable
}

TEST_F(DialogTest, NestedDialogsAreAnsweredInTurn) {
    installAnswers(R"({"dialogs": [{"title": "Outer", "actions": [{"click": "More"}]},
                                   {"title": "Inner", "actions": [{"click": "OK"}]}]})");
    EXPECT_EQ(
        ok("var outer = new Window('dialog', 'Outer');"
           "outer.add('button', undefined, 'More').onClick = function () {"
           "  var inner = new Window('dialog', 'Inner'); inner.add('button', undefined, 'OK');"
           "  outer.close(10 + inner.show()); };"
           "outer.show()"),
        "11");
    EXPECT_EQ(host.events().dialogs, (std::vector<std::string>{"Outer", "Inner"}));
}

TEST_F(DialogTest, PalettesDoNotWaitForTheUser) {
    EXPECT_EQ(
        ok("var p = new Window('palette', 'Progress'); p.add('progressbar', undefined, 0, 50);"
           "var r = p.show(); p.close(); [r, p.children[0].maxvalue].join()"),
        ",50");
    EXPECT_TRUE(host.events().dialogs.empty());
}

TEST_F(DialogTest, ListSelectionAcceptsIndexItemOrNull) {
    EXPECT_EQ(
        ok("var w = new Window('dialog', 'L'); var l = w.add('listbox', undefined, ['a','b','c']);"
           "l.selection = 2; var s1 = l.selection.text;"
           "l.selection = l.items[0]; var s2 = l.selection.index + '' + l.items[0].selected;"
           "l.selection = null; var s3 = l.selection;"
           "l.selection = 9; var s4 = l.selection;"
           "l.selection = 1; l.remove(0); var s5 = l.selection.text + l.selection.index;"
           "[s1, s2, s3, s4, s5, l.find('c').index].join('|')"),
        "c|0true|||b0|1");
}

TEST_F(DialogTest, UnknownElementTypesAreErrors) {
    EXPECT_NE(fails("new Window('dialog', 'X').add('treeview')").find("unknown element type"),
              std::string::npos);
    EXPECT_NE(fails("new Window('dialog', 'X').add('button').add('button')")
                  .find("cannot hold other elements"),
              std::string::npos);
    EXPECT_NE(fails("new Window('popup', 'X')").find("unknown type"), std::string::npos);
}

TEST_F(DialogTest, AskingAtTheTerminal) {
    // Words match a control's text without regard to case, as a person types them.
    std::istringstream in("press OK\nclick Nope\ncheck remember my choice\nclick ACCURATE\n");
    std::ostringstream out;
    ScriptOptions options;
    options.terminalIn = &in;
    options.terminalOut = &out;
    UserAnswers answers;
    answers.askOnTerminal = true;
    install(answers, options);
    EXPECT_EQ(ok("var w = new Window('dialog', 'Low Resolution');"
                 "var remember = w.add('checkbox', undefined, 'Remember My Choice');"
                 "w.add('button', undefined, 'Accurate').onClick = function () { w.close(1); };"
                 "w.add('button', undefined, 'Fast').onClick = function () { w.close(2); };"
                 "w.show() + ',' + remember.value"),
              "1,true");
    std::string shown = out.str();
    EXPECT_NE(shown.find("[ ] checkbox \"Remember My Choice\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("button \"Accurate\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("unknown action \"press\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("no button \"Nope\" (it has \"Accurate\", \"Fast\")"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("ticked the checkbox \"Remember My Choice\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("clicked the button \"Accurate\""), std::string::npos) << shown;
}

TEST_F(DialogTest, TheTerminalEndingWithTheDialogOpenFails) {
    std::istringstream in("");
    std::ostringstream out;
    ScriptOptions options;
    options.terminalIn = &in;
    options.terminalOut = &out;
    UserAnswers answers;
    answers.askOnTerminal = true;
    install(answers, options);
    EXPECT_NE(fails("new Window('dialog', 'J').show()").find("dialog \"J\""), std::string::npos);
}

}  // namespace
}  // namespace sim::testing
