// Several commands in one loaded module, as a user runs them one after another: the questions a
// command asks ("Low Resolution", "3D Layers") are asked at most once per command, however many
// compositions and passes it crops, and afresh by the next command, however the last one ended;
// the duration command's name follows the selection the latest menu update saw.
#include <functional>

#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::scene;

// P (half resolution) holds its box as a 3D layer; Use selected in Main.
std::string askingScene() {
    std::string project = scene(true, "", "", R"(, "resolution": [2, 2])");
    const std::string box = R"("position": [150, 120, 0]})";
    project.replace(project.find(box), box.size(), R"("position": [150, 120, 0], "threeD": true})");
    return project;
}

// No active item; P and a copy of it, "Q", selected in the project.
std::string walkingScene() {
    std::string project = askingScene();
    const std::string p = R"({"type": "comp", "name": "P")";
    const size_t at = project.find(p);
    const size_t end = project.find("]}", at) + 2;
    std::string q = project.substr(at, end - at);
    q.replace(q.find(R"("name": "P")"), 11, R"("name": "Q")");
    project.insert(at, q + ",\n    ");
    project.replace(project.find(R"("activeItem": "Main")"), 20,
                    R"("activeItem": null, "selectedItems": ["P", "Q"])");
    return project;
}

// Answers for as many runs as a case needs: never pre-compose, render accurately.
const char* kAnswers = R"({"dialogs": [
    {"title": "3D Layers", "actions": [{"click": "No"}]},
    {"title": "Low Resolution", "actions": [{"click": "Accurate"}]},
    {"title": "3D Layers", "actions": [{"click": "No"}]},
    {"title": "Low Resolution", "actions": [{"click": "Accurate"}]},
    {"title": "3D Layers", "actions": [{"click": "No"}]},
    {"title": "Low Resolution", "actions": [{"click": "Accurate"}]}]})";
const std::vector<std::string> kBoth = {"3D Layers", "Low Resolution"};

// The index, counted as the session counts its calls, of the first acquisition of a suite.
int acquisitionIndex(const std::string& keys, const std::string& suite) {
    Command clean(askingScene(), kAnswers);
    clean.run(keys, false);
    for (const sim::CallRecord& c : clean.host().log().calls())
        if (c.name == "SPBasic.AcquireSuite" && c.args.rfind(suite, 0) == 0) return c.index;
    return -1;
}

TEST(RunsAfterRuns, EveryCommandAsksAfreshHoweverTheLastOneEnded) {
    const int worldSuiteAt = acquisitionIndex("none", "AEGP World Suite");
    ASSERT_GT(worldSuiteAt, 0);
    struct Case {
        const char* what;
        std::string firstKeys;
        std::function<void(Command&)> before, after;
    } cases[] = {
        {"after a completed standard crop", "none", nullptr, nullptr},
        {"after a completed duration crop", "cmd", nullptr, nullptr},
        {"after Nothing to Crop", "none",
         [](Command& c) {
             c.edit([](sim::Project& p) {
                 p.activeItem = p.findItemByName("P")->id;
                 p.findItemByName("P")->comp.layers[0].video = false;
             });
         },
         [](Command& c) {
             c.edit([](sim::Project& p) {
                 p.activeItem = p.findItemByName("Main")->id;
                 p.findItemByName("P")->comp.layers[0].video = true;
             });
         }},
        {"after a cancelled duration crop", "cmd",
         [](Command& c) {
             c.host().platform().progressListener = [&c](const sim::ProgressEvent& e) {
                 if (e.kind == sim::ProgressEvent::Open) c.host().platform().shiftDown = true;
             };
         },
         [](Command& c) { c.host().platform().progressListener = nullptr; }},
        {"after a host error in a duration crop's frame", "cmd",
         [](Command& c) {
             c.host().log().faults.failName = "AEGP_RenderAndCheckoutFrame";
             c.host().log().faults.error = 42;
         },
         [](Command& c) { c.host().log().faults = sim::FaultPlan{}; }},
        {"after a duration crop whose resize failed", "cmd",
         [](Command& c) {
             c.host().log().faults.failName = "AEGP_SetCompDimensions";
             c.host().log().faults.error = 77;
         },
         [](Command& c) { c.host().log().faults = sim::FaultPlan{}; }},
        {"after a suite missing in the middle of a standard crop", "none",
         [worldSuiteAt](Command& c) {
             c.host().log().faults.failAt = worldSuiteAt;
             c.host().log().faults.error = A_Err_MISSING_SUITE;
         },
         [](Command& c) { c.host().log().faults = sim::FaultPlan{}; }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(askingScene(), kAnswers);
        if (k.before) k.before(c);
        sim::SessionReport first = c.run(k.firstKeys, false);
        EXPECT_EQ(first.dialogs, kBoth) << "the first run asks both questions";
        if (k.after) k.after(c);
        sim::SessionReport next = c.run("none", false);
        EXPECT_EQ(next.result, A_Err_NONE);
        EXPECT_EQ(next.dialogs.size(), 4u) << "the next command asks both again";
        // The answers were "No" and "Accurate": P is measured at full resolution and keeps its
        // own layers.
        ASSERT_FALSE(next.resized.empty());
        EXPECT_EQ(next.resized.back().toWidth, 60);
        EXPECT_EQ(next.resized.back().toHeight, 40);
        EXPECT_EQ(c.item("P").comp.layers.size(), 1u);
        EXPECT_EQ(c.item("P").comp.layers[0].name, "Box");
    }
}

// A command that ended early keeps nothing of its answers: preferences saved before the next
// command are what that command follows.
TEST(RunsAfterRuns, PreferencesSavedBetweenCommandsAreFollowedByTheNext) {
    Command c(askingScene(), kAnswers);
    c.edit([](sim::Project& p) {
        p.activeItem = p.findItemByName("P")->id;
        p.findItemByName("P")->comp.layers[0].video = false;
    });
    sim::SessionReport first = c.run("none", false);
    EXPECT_EQ(first.dialogs, kBoth);
    ASSERT_EQ(first.alerts.size(), 1u);
    EXPECT_EQ(first.alerts[0].title, "Nothing to Crop");
    c.edit([](sim::Project& p) {
        p.activeItem = p.findItemByName("Main")->id;
        p.findItemByName("P")->comp.layers[0].video = true;
    });
    c.host().prefs().set("Zentrim", "ThreeD", 1L);      // Always Pre-compose
    c.host().prefs().set("Zentrim", "Resolution", 2L);  // Always Use Current Res
    sim::SessionReport next = c.run("none", false);
    ASSERT_EQ(next.result, A_Err_NONE);
    EXPECT_EQ(next.dialogs, kBoth) << "no question this time";
    EXPECT_NE(c.host().project().findItemByName("P - Zentrim PreComp"), nullptr) << "pre-composed";
    ASSERT_FALSE(next.resized.empty());
    EXPECT_EQ(next.resized.back().toWidth, 59) << "measured at half resolution";
}

// One command, however many compositions it crops and passes it makes, asks each question once.
TEST(RunsAfterRuns, EachQuestionIsAskedOncePerCommand) {
    struct Case {
        const char* what;
        std::string project;
        std::vector<std::pair<std::string, sim::PrefValue>> prefs;
        size_t resizes;
    } cases[] = {
        {"the expand pass and the crop",
         askingScene(),
         {{"Expand", true}, {"ExpandAmount", 10L}},
         2},
        {"two compositions selected in the project", walkingScene(), {}, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(k.project, kAnswers);
        for (const auto& [key, value] : k.prefs)
            c.host().prefs().set("Zentrim", key, value);
        sim::SessionReport r = c.run("none", false);
        ASSERT_EQ(r.result, A_Err_NONE);
        EXPECT_EQ(r.dialogs, kBoth);
        EXPECT_EQ(r.resized.size(), k.resizes);
    }
}

TEST(RunsAfterRuns, DurationNameFollowsTheLatestMenuUpdateBeforeTheKeyWentDown) {
    Command c(scene(true, R"({"name": "Second", "source": "P", "selected": true},)"));
    EXPECT_EQ(c.menu("cmd").name, "Multiple layers not allowed");
    // One layer selected while the key stays held: the name waits for the key to go down again.
    c.edit([](sim::Project& p) {
        for (sim::Layer& l : p.findItemByName("Main")->comp.layers)
            l.selected = l.name == "Use";
    });
    c.host().updateMenus();
    c.host().idle();
    EXPECT_EQ(c.session->command()->name, "Multiple layers not allowed");
    EXPECT_EQ(c.menu("cmd").name, "Zentrim Duration");
    EXPECT_TRUE(c.session->command()->enabled);
}

// The first-run flag the progress window gets: true until a run has opened the window, so a first
// run that fails in its setup (and shows no window) does not use it up.
TEST(RunsAfterRuns, FirstRunFlagSurvivesARunThatOpenedNoWindow) {
    Command c(scene(true, "", "", R"(, "resolution": [2, 2])"), R"({"dialogs": [
        {"title": "Low Resolution", "actions": [{"click": "Accurate"}]},
        {"title": "Low Resolution", "actions": [{"click": "Accurate"}]}]})");
    c.host().log().faults.failName = "AEGP_NewFromItem";
    c.host().log().faults.error = 99;
    EXPECT_EQ(c.run("cmd", false).result, 99);
    EXPECT_TRUE(c.host().events().progress.empty()) << "a failed setup shows no window";
    c.host().log().faults = sim::FaultPlan{};
    for (int expected : {1, 0}) {
        c.host().events().progress.clear();
        sim::SessionReport r = c.run("cmd", false);
        ASSERT_EQ(r.result, A_Err_NONE);
        ASSERT_FALSE(c.host().events().progress.empty());
        EXPECT_EQ(c.host().events().progress.front().kind, sim::ProgressEvent::Open);
        EXPECT_EQ(c.host().events().progress.front().value, expected);
        c.edit([](sim::Project& p) {
            p = sim::Project(p);  // the next run starts from the cropped project
        });
    }
}

}  // namespace
