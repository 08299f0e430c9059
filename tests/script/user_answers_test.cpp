// The simulated user's answers file, and actions typed at the terminal.
#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>

#include "ScriptEngine.h"

namespace sim::testing {
namespace {

TEST(UserAnswersTest, ParsesEveryAction) {
    UserAnswers a = parseUserAnswers(R"({"dialogs": [
        {"title": "Low Resolution", "actions": [{"check": "Remember My Choice"},
            {"uncheck": "Other"}, {"text": [1, "12"]}, {"select": [2, 3]},
            {"click": "Accurate"}, {"close": null}]},
        {"title": "Empty", "actions": []}]})",
                                     "answers.json");
    EXPECT_FALSE(a.askOnTerminal);
    ASSERT_EQ(a.dialogs.size(), 2u);
    const DialogAnswer& d = a.dialogs[0];
    EXPECT_EQ(d.title, "Low Resolution");
    EXPECT_FALSE(d.used);
    ASSERT_EQ(d.actions.size(), 6u);
    EXPECT_EQ(d.actions[0].kind, "check");
    EXPECT_EQ(d.actions[0].label, "Remember My Choice");
    EXPECT_EQ(d.actions[1].kind, "uncheck");
    EXPECT_EQ(d.actions[2].kind, "text");
    EXPECT_EQ(d.actions[2].index, 1);
    EXPECT_EQ(d.actions[2].value, "12");
    EXPECT_EQ(d.actions[3].kind, "select");
    EXPECT_EQ(d.actions[3].index, 2);
    EXPECT_EQ(d.actions[3].item, 3);
    EXPECT_EQ(d.actions[4].label, "Accurate");
    EXPECT_EQ(d.actions[5].kind, "close");
    EXPECT_TRUE(a.dialogs[1].actions.empty());
}

struct BadFile {
    const char* text;
    const char* message;
};
void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.text;
}

class BadAnswersTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadAnswersTest, NamesTheFileTheFieldAndWhatWasExpected) {
    try {
        parseUserAnswers(GetParam().text, "answers.json");
        FAIL() << "accepted: " << GetParam().text;
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadAnswersTest,
    ::testing::Values(
        BadFile{"{", "answers.json: not valid JSON (at byte 2)"},
        BadFile{"[]", "answers.json: expected an object with \"dialogs\""},
        BadFile{"{}", "answers.json: dialogs: missing; expected an array of dialogs"},
        BadFile{R"({"dialogs": {}})", "answers.json: dialogs: expected an array of dialogs"},
        BadFile{R"({"dialogs": [], "extra": 1})",
                "answers.json: unknown field \"extra\"; expected dialogs"},
        BadFile{R"({"dialogs": [3]})",
                "answers.json: dialogs[0]: expected an object with \"title\" and \"actions\""},
        BadFile{R"({"dialogs": [{"actions": []}]})",
                "answers.json: dialogs[0].title: missing; expected the window's title"},
        BadFile{R"({"dialogs": [{"title": 5, "actions": []}]})",
                "answers.json: dialogs[0].title: expected the window's title (a string)"},
        BadFile{R"({"dialogs": [{"title": "A"}]})",
                "answers.json: dialogs[0].actions: missing; expected an array of actions"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [], "tile": 1}]})",
                "answers.json: dialogs[0]: unknown field \"tile\"; expected title or actions"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [{"click": "OK"}, {"press": "OK"}]}]})",
                "answers.json: dialogs[0].actions[1]: unknown action \"press\"; expected check, "
                "uncheck, text, select, click or close"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": ["click"]}]})",
                "answers.json: dialogs[0].actions[0]: expected an object with one action, e.g. "
                "{\"click\": \"OK\"}"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [{"click": "OK", "check": "X"}]}]})",
                "answers.json: dialogs[0].actions[0]: expected an object with one action, e.g. "
                "{\"click\": \"OK\"}"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [{"check": true}]}]})",
                "answers.json: dialogs[0].actions[0].check: expected the control's text (a "
                "string)"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [{"text": [0, 12]}]}]})",
                "answers.json: dialogs[0].actions[0].text: expected [field number (from 0), "
                "\"text\"]"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [{"text": [-1, "x"]}]}]})",
                "answers.json: dialogs[0].actions[0].text: expected [field number (from 0), "
                "\"text\"]"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [{"select": [0]}]}]})",
                "answers.json: dialogs[0].actions[0].select: expected [list number (from 0), "
                "item number (from 0)]"},
        BadFile{R"({"dialogs": [{"title": "A", "actions": [{"select": [0, 1.5]}]}]})",
                "answers.json: dialogs[0].actions[0].select: expected [list number (from 0), "
                "item number (from 0)]"}));

TEST(UserAnswersTest, LoadNamesAMissingFile) {
    try {
        loadUserAnswers("/nonexistent/answers.json");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "/nonexistent/answers.json: cannot be read");
    }
}

TEST(UserAnswersTest, TerminalLinesUseTheSameWords) {
    DialogAction a = parseActionLine("  check Remember My Choice ");
    EXPECT_EQ(a.kind, "check");
    EXPECT_EQ(a.label, "Remember My Choice");
    a = parseActionLine("text 1 hello world");
    EXPECT_EQ(a.kind, "text");
    EXPECT_EQ(a.index, 1);
    EXPECT_EQ(a.value, "hello world");
    a = parseActionLine("text 0");
    EXPECT_EQ(a.value, "");
    a = parseActionLine("select 0 2");
    EXPECT_EQ(a.index, 0);
    EXPECT_EQ(a.item, 2);
    EXPECT_EQ(parseActionLine("close").kind, "close");
    EXPECT_EQ(parseActionLine("click OK").label, "OK");
    // Names quoted as the terminal lists them.
    EXPECT_EQ(parseActionLine("click \"OK\"").label, "OK");
    EXPECT_EQ(parseActionLine("check \"Remember My Choice\"").label, "Remember My Choice");
    EXPECT_EQ(parseActionLine("click \"Say \\\"hi\\\"\"").label, "Say \"hi\"");
    a = parseActionLine("text 0 \"  spaced  \"");
    EXPECT_EQ(a.value, "  spaced  ");
    a = parseActionLine("select 1 \"Always Use Full Res\"");
    EXPECT_EQ(a.index, 1);
    EXPECT_EQ(a.itemText, "Always Use Full Res");
    EXPECT_EQ(parseActionLine("click Say \"hi\"").label, "Say \"hi\"") << "unquoted as typed";
    for (const char* bad : {"", "press OK", "click", "text x 1", "select 0", "select 0 1 2",
                            "select a b", "click \"OK", "select 0 \"\"", "select 0 \"a\" 1"}) {
        EXPECT_THROW(parseActionLine(bad), std::runtime_error) << bad;
    }
}

}  // namespace
}  // namespace sim::testing
