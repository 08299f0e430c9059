// What the report says about the simulated user: dialogs left unanswered fail the run, answers
// never applied are listed, and a choice to remember without --prefs is flagged.
#include "CliRun.h"
#include "Scenes.h"

namespace {

using nlohmann::json;
using simtest::CliRun;
using simtest::runCli;
using simtest::scene;

// "P" at half resolution, so that the standard crop asks "Low Resolution".
std::string lowResolution() {
    return scene(true, "", "", R"(, "resolution": [2, 2])");
}

TEST(DialogReport, EveryUnansweredDialogFailsTheRun) {
    struct Case {
        const char* what;
        std::string project;
        const char* keys;
        const char* unanswered;
    } cases[] = {
        // The preferences dialog's script catches the error; the run fails all the same.
        {"the preferences dialog", scene(true), "shift",
         "no answer for the dialog \"Zentrim Preferences\""},
        {"the low-resolution question", lowResolution(), "none",
         "no answer for the dialog \"Low Resolution\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CliRun r = runCli({"run", c.project, R"({"dialogs": []})", "", c.keys});
        EXPECT_EQ(r.status, 1) << r.report.dump(2);
        EXPECT_EQ(r.report["unanswered"], json{c.unanswered});
    }
    CliRun answered = runCli({"run", scene(true),
                              R"({"dialogs": [{"title": "Zentrim Preferences",
                                               "actions": [{"click": "Cancel"}]}]})",
                              "", "shift"});
    EXPECT_EQ(answered.status, 0);
    EXPECT_FALSE(answered.report.contains("unanswered"));
}

TEST(DialogReport, AnswersNeverAppliedAreListed) {
    CliRun r = runCli({"run", lowResolution(), R"({"dialogs": [
        {"title": "3D Layers", "actions": [{"click": "Yes"}]},
        {"title": "Low Resolution", "actions": [{"click": "Fast"}, {"click": "Accurate"}]},
        {"title": "Low Resolution", "actions": []}]})"});
    EXPECT_EQ(r.status, 0) << r.report.dump(2);
    EXPECT_EQ(r.report["unusedAnswers"], (json{{{"entry", 0},
                                                {"title", "3D Layers"},
                                                {"used", false},
                                                {"actions", 1},
                                                {"notApplied", 1}},
                                               {{"entry", 1},
                                                {"title", "Low Resolution"},
                                                {"used", true},
                                                {"actions", 2},
                                                {"notApplied", 1}},
                                               {{"entry", 2},
                                                {"title", "Low Resolution"},
                                                {"used", false},
                                                {"actions", 0},
                                                {"notApplied", 0}}}));
}

TEST(DialogReport, RememberMyChoiceWithoutPrefsIsFlagged) {
    const std::string remember = R"({"dialogs": [{"title": "Low Resolution", "actions": [
        {"check": "Remember My Choice"}, {"click": "Accurate"}]}]})";
    CliRun lost = runCli({"run", lowResolution(), remember});
    EXPECT_EQ(lost.status, 0);
    EXPECT_EQ(lost.report["warnings"],
              json{"\"Remember My Choice\" was ticked in \"Low Resolution\", but without --prefs "
                   "the choice is not kept after this run"});
    CliRun kept = runCli({"run", lowResolution(), remember, "-"});
    EXPECT_FALSE(kept.report.contains("warnings"));
    EXPECT_EQ(kept.prefs["Zentrim"]["Resolution"], 1);
    CliRun saved = runCli({"run", scene(true), R"({"dialogs": [{"title": "Zentrim Preferences",
        "actions": [{"click": "Save"}]}]})",
                           "", "shift"});
    EXPECT_EQ(saved.report["warnings"],
              json{"the preferences were changed, but without --prefs the changes are not kept "
                   "after this run"});
}

}  // namespace
