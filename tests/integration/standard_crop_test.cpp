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

TEST(StandardCrop, PrecompositionAbsentAtTheCurrentTimeGetsNoLayersToCrop) {
    Command late(
        scene(false, R"({"name": "Late", "source": "P", "inPoint": 1, "selected": true},)"));
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

TEST(StandardCrop, TimeRemappedLayerIsMeasuredAtItsRemappedTime) {
    std::string layer =
        R"({"name": "Remapped", "source": "P", "selected": true, "timeRemapEnabled": true,
        "timeRemap": {"keyframes": [{"time": 0, "value": 1.5}, {"time": 2, "value": 1.5}]}},)";
    Command c(scene(false, layer));
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    bool at45 = false;
    for (const sim::CallRecord& call : c.host().log().calls())
        if (call.name == "AEGP_SetTime" && call.args == "45 / 30") at45 = true;
    EXPECT_TRUE(at45) << "rendered at 1.5 s in the source, value 45 at scale 30";
    expectClean(r);
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

TEST(StandardCrop, ExpandPassEnlargesThenCropsToContent) {
    Command c(withActive(scene(false), "P"));
    c.host().prefs().set("Zentrim", "Expand", true);
    c.host().prefs().set("Zentrim", "ExpandAmount", 50.0);  // written by the dialog as a float
    sim::World mainBefore = c.render("Main");
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 2u);
    EXPECT_EQ(r.resized[0].toWidth, 501);
    EXPECT_EQ(r.resized[0].toHeight, 401);
    EXPECT_EQ(r.resized[1].toWidth, 60);
    EXPECT_EQ(r.resized[1].toHeight, 40);
    EXPECT_EQ(r.undoSteps.size(), 1u) << "both passes in one undo step";
    EXPECT_TRUE(samePixels(mainBefore, c.render("Main"), 0, 0, "expand_main"));
    expectClean(r);
}

TEST(StandardCrop, PaddingWidensTheCrop) {
    Command c(withActive(scene(false), "P"));
    c.host().prefs().set("Zentrim", "Padding", true);
    c.host().prefs().set("Zentrim", "PaddingAmount", 10.0);
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].toWidth, 80);
    EXPECT_EQ(r.resized[0].toHeight, 60);
    expectClean(r);
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
