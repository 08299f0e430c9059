// What zentrim-host's verbs and reports tell, through the built program: the panel verb with
// --verify, --diff and --trace; picture names in any script and of any length; every progress
// value of a long crop; render by id at the current time; "ctrl" for "cmd"; alerts without a
// title; a command that changed nothing; --verify with nothing to compare.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "HostProcess.h"
#include "OutcomeJson.h"
#include "Png.h"

namespace {

namespace fs = std::filesystem;
using simtest::Outcome;
using Json = nlohmann::json;

const std::string kExamples = ZENTRIM_SOURCE_DIR "/examples/";

Json parsed(const Outcome& o) {
    return simtest::parsedJson(o);
}

bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PanelVerb, VerifiesListsTheChangesAndTracesTheCalls) {
    simtest::TempFolder tmp("panel-verify");
    fs::path trace = tmp.path() / "calls.txt";
    Outcome o =
        simtest::runHost({"panel", kExamples + "basic.json", "--ui", kExamples + "panel.ui.json",
                          "--verify", "--diff", "--trace", trace.string(), "--json"},
                         tmp.path() / "cap");
    ASSERT_EQ(o.status, 0) << o.err;
    Json report = parsed(o);
    EXPECT_TRUE(report["verify"]["nothingMoved"].get<bool>()) << report["verify"].dump(1);
    EXPECT_TRUE(report["verify"]["nothingCut"].get<bool>());
    EXPECT_GT(report["verify"]["frames"].get<int>(), 0);
    EXPECT_FALSE(report["changes"].empty());
    std::string calls = simtest::readFile(trace);
    EXPECT_TRUE(holds(calls, "== idle")) << calls.substr(0, 400);
    EXPECT_TRUE(holds(calls, "CompSuite AEGP_SetCompDimensions"));
    // The text report opens with what the panel ran, and gives the menu as it was left, said so.
    Outcome text = simtest::runHost({"panel", kExamples + "basic.json", "--ui",
                                     kExamples + "panel.ui.json", "--verify", "--diff"},
                                    tmp.path() / "cap");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("panel \"Zentrim Panel\": actions that ran: Zentrim Preferences, "
                             "Zentrim\n",
                             0),
              0u)
        << text.out;
    EXPECT_TRUE(holds(text.out, "\nmenu afterwards: \"Zentrim\"")) << text.out;
    EXPECT_TRUE(holds(text.out, "\nverify: nothing moved, nothing cut: ")) << text.out;
    EXPECT_TRUE(holds(text.out, "\nchanges: ")) << text.out;
}

struct NamesCase {
    const char* what;
    std::vector<std::string> names;     // the compositions that show "P", each by a layer
    std::vector<std::string> pictures;  // expected, in the order the report lists them
};

TEST(RunRender, PictureNamesKeepLettersOfAnyScriptFitAndNeverClash) {
    std::string cyrillic;
    for (int i = 0; i < 115; ++i)
        cyrillic += "Ж";
    std::string fitted;  // what fits in 120 bytes: 60 letters of two bytes
    for (int i = 0; i < 60; ++i)
        fitted += "Ж";
    const NamesCase cases[] = {
        {"names apart only in case and punctuation",
         {"Use 1", "use_1"},
         {"P-before.png", "P-after.png", "Use_1-before.png", "Use_1-after.png",
          "use_1-2-before.png", "use_1-2-after.png"}},
        {"letters of another script and an emoji",
         {"Лого 🎬"},
         {"P-before.png", "P-after.png", "Лого__-before.png", "Лого__-after.png"}},
        {"a name longer than a file name may be, twice",
         {cyrillic, cyrillic + "!"},
         {"P-before.png", "P-after.png", fitted + "-before.png", fitted + "-after.png",
          fitted + "-2-before.png", fitted + "-2-after.png"}},
    };
    for (const NamesCase& c : cases) {
        SCOPED_TRACE(c.what);
        simtest::TempFolder tmp("render-names");
        Json project = Json::parse(R"({"format": "zentrim-project", "version": 1, "items": [
            {"type": "solid", "name": "Red", "width": 12, "height": 8, "color": [1, 0, 0, 1]},
            {"type": "comp", "name": "P", "width": 64, "height": 48, "frameRate": 10,
             "duration": 1, "layers": [{"name": "Box", "source": "Red", "position": [30, 20, 0]}]}
            ]})");
        for (const std::string& name : c.names)
            project["items"].push_back({{"type", "comp"},
                                        {"name", name},
                                        {"width", 80},
                                        {"height", 60},
                                        {"frameRate", 10},
                                        {"duration", 1},
                                        {"layers", {{{"name", "Use"}, {"source", "P"}}}}});
        project["activeItem"] = "P";
        simtest::writeFile(tmp.path() / "p.json", project.dump());
        fs::path render = tmp.path() / "render";
        Outcome o = simtest::runHost({"run", (tmp.path() / "p.json").string(), "--render",
                                      render.string(), "--verify", "--json"},
                                     tmp.path() / "cap");
        ASSERT_EQ(o.status, 0) << o.err;
        std::vector<std::string> listed = parsed(o)["pictures"];
        EXPECT_EQ(listed, c.pictures);
        for (const std::string& name : listed) {
            EXPECT_TRUE(fs::is_regular_file(render / name)) << name;
            EXPECT_LT(name.size(), 200u) << name;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(render), fs::directory_iterator()),
                  static_cast<long>(c.pictures.size()));
    }
}

TEST(RunProgress, TheReportGivesEveryPercentUpdateOfALongCrop) {
    // 12,000 frames: more than the host keeps events of.
    simtest::TempFolder tmp("progress");
    simtest::writeFile(tmp.path() / "long.json", R"({"format": "zentrim-project", "version": 1,
      "activeItem": "Main", "items": [
        {"type": "solid", "name": "Dot", "width": 4, "height": 4, "color": [1, 1, 1, 1]},
        {"type": "comp", "name": "P", "width": 16, "height": 16, "frameRate": 100,
         "duration": 120, "layers": [{"name": "Dot", "source": "Dot"}]},
        {"type": "comp", "name": "Main", "width": 16, "height": 16, "frameRate": 100,
         "duration": 120, "layers": [{"name": "P", "source": "P", "selected": true}]}]})");
    Outcome o =
        simtest::runHost({"run", (tmp.path() / "long.json").string(), "--keys", "cmd", "--json"},
                         tmp.path() / "cap", 300);
    ASSERT_EQ(o.status, 0) << o.err;
    Json report = parsed(o);
    std::vector<int> progress = report["progress"];
    ASSERT_EQ(progress.size(), 12000u);
    EXPECT_FALSE(report.contains("progressThinned"));
    EXPECT_EQ(progress.front(), 1);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    Outcome text = simtest::runHost({"run", (tmp.path() / "long.json").string(), "--keys", "cmd"},
                                    tmp.path() / "cap", 300);
    EXPECT_TRUE(holds(text.out, "progress: 12000 frames, last 100%")) << text.out;
}

TEST(RenderVerb, TakesACompositionByIdAtItsCurrentTimeByDefault) {
    simtest::TempFolder tmp("render-id");
    // Two compositions named "Shot": the square shows from 1 s, Shot A's current time.
    simtest::writeFile(tmp.path() / "p.json", R"({"format": "zentrim-project", "version": 1,
      "items": [
        {"type": "solid", "name": "S", "width": 10, "height": 10, "color": [1, 0, 0, 1]},
        {"type": "comp", "name": "Shot", "id": "shot-a", "width": 20, "height": 20,
         "frameRate": 10, "duration": 2, "currentTime": 1,
         "layers": [{"name": "s", "source": "S", "position": [10, 10, 0], "inPoint": 1}]},
        {"type": "comp", "name": "Shot", "id": "shot-b", "width": 30, "height": 30,
         "frameRate": 10, "duration": 2, "layers": [{"name": "s", "source": "S"}]}]})");
    const std::string project = (tmp.path() / "p.json").string();
    const fs::path png = tmp.path() / "out.png";
    auto centreAlpha = [&] { return sim::readPng(png.string()).rgba[(10 * 20 + 10) * 4 + 3]; };
    Outcome a = simtest::runHost({"render", project, "--comp", "shot-a", "-o", png.string()},
                                 tmp.path() / "cap");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_TRUE(holds(a.out, "rendered \"Shot\" at 1 s (its current time): 20x20")) << a.out;
    EXPECT_EQ(centreAlpha(), 255) << "the square shows at the current time";
    Outcome early = simtest::runHost(
        {"render", project, "--comp", "shot-a", "--time", "1/2", "-o", png.string()},
        tmp.path() / "cap");
    EXPECT_TRUE(holds(early.out, "rendered \"Shot\" at 1/2 s: 20x20")) << early.out;
    EXPECT_EQ(centreAlpha(), 0) << "not yet at 1/2 s";
    Outcome b = simtest::runHost({"render", project, "--comp", "shot-b", "-o", png.string()},
                                 tmp.path() / "cap");
    EXPECT_TRUE(holds(b.out, "at 0 s (its current time): 30x30")) << b.out;
    Outcome help = simtest::runHost({"render", "--help"}, tmp.path() / "cap");
    EXPECT_TRUE(holds(help.out, "default: its current time")) << help.out;
    EXPECT_TRUE(holds(help.out, "its id")) << help.out;
}

TEST(RunKeys, CtrlStandsForCmd) {
    simtest::TempFolder tmp("keys");
    for (const auto& [keys, name] :
         std::vector<std::pair<std::string, std::string>>{{"ctrl", "Zentrim Duration"},
                                                          {"shift+ctrl", "Mask Crop"},
                                                          {"ctrl+shift", "Mask Crop"},
                                                          {"cmd", "Zentrim Duration"}}) {
        Outcome o = simtest::runHost({"menu", kExamples + "masks.json", "--keys", keys},
                                     tmp.path() / "cap");
        EXPECT_EQ(o.status, 0) << keys << ": " << o.err;
        EXPECT_TRUE(holds(o.out, "  " + name + "\n")) << keys << ": " << o.out;
    }
}

TEST(RunReport, SaysWhatItCouldNotShowOtherwise) {
    simtest::TempFolder tmp("report");
    // An alert without a title (saving the panel's preferences from the menu) reads as its text.
    simtest::writeFile(tmp.path() / "panel-prefs.json", R"({"dialogs": [
        {"title": "Zentrim Preferences", "actions": [{"click": "Panel"}, {"click": "Cancel"}]},
        {"title": "Zentrim Panel Preferences", "actions": [{"click": "Save"}]}]})");
    Outcome saved = simtest::runHost({"run", kExamples + "basic.json", "--keys", "shift", "--ui",
                                      (tmp.path() / "panel-prefs.json").string()},
                                     tmp.path() / "cap");
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_TRUE(holds(saved.out, "\nalert: Please re-open the Zentrim panel")) << saved.out;
    EXPECT_FALSE(holds(saved.out, "alert: : ")) << saved.out;
    // A cancelled "Choose Mask" changed nothing, and --verify has nothing to compare.
    simtest::writeFile(
        tmp.path() / "cancel.json",
        R"({"dialogs": [{"title": "Choose Mask", "actions": [{"click": "Cancel"}]}]})");
    Outcome cancelled =
        simtest::runHost({"run", kExamples + "masks.json", "--keys", "shift+cmd", "--ui",
                          (tmp.path() / "cancel.json").string(), "--verify"},
                         tmp.path() / "cap");
    EXPECT_EQ(cancelled.status, 0) << cancelled.err;
    EXPECT_TRUE(holds(cancelled.out, "\ndialog: Choose Mask\n")) << cancelled.out;
    EXPECT_TRUE(holds(cancelled.out, "\nnothing changed: the project is as it was\n"))
        << cancelled.out;
    EXPECT_TRUE(
        holds(cancelled.out, "\nverify: nothing to compare: the command resized no composition\n"))
        << cancelled.out;
    Outcome cropped =
        simtest::runHost({"run", kExamples + "basic.json", "--verify"}, tmp.path() / "cap");
    EXPECT_FALSE(holds(cropped.out, "nothing changed")) << cropped.out;
}

}  // namespace
