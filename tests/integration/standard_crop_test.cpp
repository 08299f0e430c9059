// The "Zentrim" command through the loaded plug-in: composition mode, layer mode, presence at the
// current time, the expand pass, masked bounds, time remapping and the reports.
#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::samePixels;
using simtest::scene;

const std::string kActiveP = R"("activeItem": "P")";

std::string withActive(std::string project, const std::string& name) {
    project.replace(project.find(R"("activeItem": "Main")"), 20,
                    R"("activeItem": ")" + name + "\"");
    return project;
}

TEST(StandardCrop, ActiveCompositionShrinksToItsContentAndNothingMoves) {
    Command c(withActive(scene(false), "P"));
    c.edit([](sim::Project& p) { p.findItemByName("P")->comp.currentTime = sim::Rational(1, 2); });
    sim::World mainBefore = c.render("Main");
    sim::World pBefore = c.render("P");
    sim::SessionReport r = c.run();
    EXPECT_EQ(r.menuName, "Zentrim");
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].toWidth, 60);
    EXPECT_EQ(r.resized[0].toHeight, 40);
    ASSERT_EQ(r.undoSteps.size(), 1u);
    EXPECT_EQ(r.undoSteps[0], "Zentrim");
    EXPECT_TRUE(samePixels(mainBefore, c.render("Main"), 0, 0, "standard_main"));
    EXPECT_TRUE(samePixels(pBefore, c.render("P"), 120, 100, "standard_p"));
    EXPECT_EQ(c.item("P").comp.currentTime, sim::Rational(1, 2)) << "the current time is kept";
    expectClean(r);
}

TEST(StandardCrop, EmptyCompositionIsReportedAndLeftAlone) {
    Command c(withActive(scene(false), "P"));
    c.edit([](sim::Project& p) { p.findItemByName("P")->comp.layers[0].video = false; });
    sim::SessionReport r = c.run();
    EXPECT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.alerts.size(), 1u);
    EXPECT_EQ(r.alerts[0].title, "Nothing to Crop");
    EXPECT_EQ(r.alerts[0].text, "This composition is empty at the current time.");
    EXPECT_TRUE(r.resized.empty());
    EXPECT_EQ(r.undoSteps.size(), 1u) << "the undo group is closed once";
    expectClean(r);
}

TEST(StandardCrop, SelectedPrecompositionLayerCropsItsSource) {
    Command c(scene(true));
    sim::World before = c.render("Main");
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].name, "P");
    EXPECT_EQ(c.item("Main").comp.width, 800) << "the holding composition keeps its size";
    ASSERT_EQ(r.corrected.size(), 1u);
    EXPECT_EQ(r.corrected[0].second, "Use");
    EXPECT_TRUE(samePixels(before, c.render("Main"), 0, 0, "layer_mode_main"));
    expectClean(r);
}

// Said once, also when the expand pass (which comes first) already found no layer to enlarge.
TEST(StandardCrop, PrecompositionAbsentAtTheCurrentTimeGetsNoLayersToCrop) {
    Command late(
        scene(false, R"({"name": "Late", "source": "P", "inPoint": 1, "selected": true},)"));
    late.host().prefs().set("Zentrim", "Expand", true);
    late.host().prefs().set("Zentrim", "ExpandAmount", 50L);
    sim::SessionReport r = late.run();
    ASSERT_EQ(r.alerts.size(), 1u);
    EXPECT_EQ(r.alerts[0].title, "No Layers to Crop");
    EXPECT_TRUE(r.resized.empty());
    EXPECT_EQ(r.undoSteps.size(), 1u);
    expectClean(r);
}

// Presence at the current time: the in point counts, the out point does not; times of different
// scales are compared as fractions.
TEST(StandardCrop, PresenceAtTheCurrentTime) {
    struct Case {
        const char* what;
        const char* inPoint;
        const char* outPoint;
        const char* current;
        bool cropped;
    } cases[] = {
        {"in point at the current time", "\"1/2\"", "2", "\"1/2\"", true},
        {"out point at the current time", "0", "\"1/2\"", "\"1/2\"", false},
        {"starts later", "1", "2", "\"1/2\"", false},
        {"in point 1/7 s before 1/3 s (different scales)", "\"1/7\"", "2", "\"1/3\"", true},
        {"in point 1/3 s after 1/7 s (different scales)", "\"1/3\"", "2", "\"1/7\"", false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        std::string layer =
            std::string(R"({"name": "Timed", "source": "P", "selected": true, "inPoint": )") +
            k.inPoint + R"(, "outPoint": )" + k.outPoint + "},";
        std::string project = scene(false, layer);
        project.replace(project.find(R"("duration": 2,
     "layers": [
       {"name": "Use")"),
                        0, std::string(R"("currentTime": )") + k.current + ", ");
        Command c(project);
        sim::SessionReport r = c.run();
        EXPECT_EQ(r.result, A_Err_NONE);
        EXPECT_EQ(r.resized.size(), k.cropped ? 1u : 0u);
        expectClean(r);
    }
}

TEST(StandardCrop, OneCropPerSourceAndSkippedLayersAreReported) {
    // Indices 2, 5, 7 and 9 are selected precomposition layers; 2 and 7 show empty compositions,
    // 5 and 9 both show P, which is cropped once.
    std::string layers;
    for (int i = 1; i < 10; ++i) {
        bool selected = i == 2 || i == 5 || i == 7 || i == 9;
        std::string source = i == 2               ? "Empty"
                             : i == 7             ? "Empty Too"
                             : (i == 5 || i == 9) ? "P"
                                                  : "Red";
        layers += R"({"name": "L)" + std::to_string(i) + R"(", "source": ")" + source +
                  R"(", "selected": )" + (selected ? "true" : "false") + "},\n";
    }
    std::string empty =
        R"({"type": "comp", "name": "Empty", "width": 100, "height": 100, "frameRate": 30,
                            "duration": 2, "layers": []},
                           {"type": "comp", "name": "Empty Too", "width": 100, "height": 100, "frameRate": 30,
                            "duration": 2, "layers": []},)";
    Command c(scene(false, layers, empty));
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].name, "P");
    ASSERT_EQ(r.alerts.size(), 1u);
    EXPECT_EQ(r.alerts[0].title, "Some Layers Not Cropped");
    EXPECT_EQ(r.alerts[0].text,
              "Some layers were not cropped:\r\n\r\nL2, L7\r\n\r\nThis is most likely because "
              "these layers have no "
              "content at the current time");
    expectClean(r);
}

// A time-remapped use is measured at the source time it shows, to a thousandth of a source frame
// (not on the holding composition's frame grid); its masks, which are the use's own, are read at
// its layer time.
TEST(StandardCrop, TimeRemappedLayerKeepsWhatItShowsAtTheCurrentTime) {
    // P's box runs 100 px to the right in its first tenth of a second.
    const std::string moving = R"({"name": "Box", "source": "Red", "position": {"keyframes": [
        {"time": 0, "value": [150, 120, 0]}, {"time": 0.1, "value": [250, 120, 0]}]}})";
    auto remapped = [&](const std::string& remap, const std::string& masks) {
        std::string layer = R"({"name": "Remapped", "source": "P", "selected": true,
            "timeRemapEnabled": true, "timeRemap": {"keyframes": )" +
                            remap + "}" + masks + "},";
        std::string project = scene(false, layer);
        const std::string still = R"({"name": "Box", "source": "Red", "position": [150, 120, 0]})";
        project.replace(project.find(still), still.size(), moving);
        return project;
    };
    auto window = [](int left, int right) {
        return R"({"vertices": [[)" + std::to_string(left) + ", 90], [" + std::to_string(right) +
               ", 90], [" + std::to_string(right) + ", 150], [" + std::to_string(left) +
               R"(, 150]], "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
               "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]})";
    };
    struct Case {
        const char* what;
        std::string project;
        const char* current;  // Main's current time
        bool includeMasks;
    } cases[] = {
        {"frozen at 1.5 s",
         remapped(R"([{"time": 0, "value": 1.5}, {"time": 2, "value": 1.5}])", ""), "0", false},
        {"slowed down ten times, between two source frames",
         remapped(R"([{"time": 0, "value": 0}, {"time": 2, "value": 0.2}])", ""), "\"1/30\"",
         false},
        {"frozen at 0 s, with a mask that moves over the layer's own time",
         remapped(R"([{"time": 0, "value": 0}, {"time": 2, "value": 0}])",
                  R"(, "masks": [{"name": "Window", "path": {"keyframes": [
                      {"time": 0, "value": )" +
                      window(100, 140) + R"(},
                      {"time": 1, "value": )" +
                      window(140, 200) + "}]}}]"),
         "1", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        std::string project = k.project;
        project.replace(project.find(R"("duration": 2,
     "layers": [
       {"name": "Use")"),
                        0, std::string(R"("currentTime": )") + k.current + ", ");
        Command c(project);
        // Only the remapped layer shows P.
        c.edit([](sim::Project& p) { p.findItemByName("Main")->comp.layers[0].video = false; });
        if (k.includeMasks) c.host().prefs().set("Zentrim", "IncludeMasks", true);
        const sim::Rational now = c.item("Main").comp.currentTime;
        sim::World before = c.render("Main", now);
        sim::SessionReport r = c.run();
        ASSERT_EQ(r.result, A_Err_NONE);
        ASSERT_EQ(r.resized.size(), 1u);
        EXPECT_TRUE(samePixels(before, c.render("Main", now), 0, 0, "remapped_main"));
        expectClean(r);
    }
}

TEST(StandardCrop, IncludeMasksLimitsTheMeasurementToTheMaskedBounds) {
    // The use's mask shows only x 130..169, y 105..134 of P's box.
    std::string layer = R"({"name": "Masked", "source": "P", "selected": true,
        "masks": [{"name": "Window", "path": {"vertices": [[130, 105], [170, 105], [170, 135], [130, 135]],
                   "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]], "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}]},)";
    Command c(scene(false, layer));
    c.host().prefs().set("Zentrim", "IncludeMasks", true);
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].toWidth, 41);
    EXPECT_EQ(r.resized[0].toHeight, 31);
    expectClean(r);
}

// The expand pass enlarges by the amount on every side, then the crop shrinks to the content; an
// amount of zero or less makes no expand pass, and a negative padding counts as none.
TEST(StandardCrop, ExpandAndPaddingAmounts) {
    struct Case {
        const char* key;
        double amount;
        std::vector<std::pair<int, int>> sizes;
    } cases[] = {
        {"ExpandAmount", 50, {{501, 401}, {60, 40}}},  // written by the dialog as a float
        {"ExpandAmount", -100, {{60, 40}}},
        {"PaddingAmount", 10, {{80, 60}}},
        {"PaddingAmount", -10, {{60, 40}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.key) + " " + std::to_string(k.amount));
        Command c(withActive(scene(false), "P"));
        c.host().prefs().set("Zentrim", k.key[0] == 'E' ? "Expand" : "Padding", true);
        c.host().prefs().set("Zentrim", k.key, k.amount);
        sim::World mainBefore = c.render("Main");
        sim::SessionReport r = c.run();
        ASSERT_EQ(r.result, A_Err_NONE);
        ASSERT_EQ(r.resized.size(), k.sizes.size());
        for (size_t i = 0; i < k.sizes.size(); ++i) {
            EXPECT_EQ(r.resized[i].toWidth, k.sizes[i].first);
            EXPECT_EQ(r.resized[i].toHeight, k.sizes[i].second);
        }
        EXPECT_EQ(r.undoSteps.size(), 1u) << "both passes in one undo step";
        EXPECT_TRUE(samePixels(mainBefore, c.render("Main"), 0, 0, "expand_main"));
        expectClean(r);
    }
}

TEST(StandardCrop, WithoutActiveItemEverySelectedCompositionIsCroppedInOneStep) {
    std::string project =
        scene(false, "", R"({"type": "solid", "name": "Blue", "width": 20, "height": 20,
        "color": [0, 0, 1, 1]},
        {"type": "comp", "name": "Q", "width": 100, "height": 100, "frameRate": 30, "duration": 2,
         "layers": [{"name": "Dot", "source": "Blue", "position": [70, 30, 0]}]},)");
    project.replace(project.find(R"("activeItem": "Main")"), 20,
                    R"("activeItem": null, "selectedItems": ["Q", "P"])");
    Command c(project);
    c.host().prefs().set("Zentrim", "Expand", true);
    c.host().prefs().set("Zentrim", "ExpandAmount", 50L);
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 2u) << "no expand pass without an active item";
    EXPECT_EQ(r.resized[0].name, "Q") << "in project order";
    EXPECT_EQ(r.resized[1].name, "P");
    EXPECT_EQ(r.undoSteps.size(), 1u);
    expectClean(r);
}

}  // namespace
