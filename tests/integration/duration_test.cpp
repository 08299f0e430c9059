// "Zentrim Duration": every frame measured, the union cropped once, with progress and cancel.
#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::samePixels;
using simtest::scene;

// P (10 fps, 1 s: ten frames) holds a box that moves from (150, 120) to (250, 200) over a second.
std::string movingScene(const std::string& extraMainLayers = "") {
    std::string project = scene(true, extraMainLayers);
    const std::string still = R"("frameRate": 30, "duration": 2,
     "layers": [{"name": "Box", "source": "Red", "position": [150, 120, 0]}]})";
    project.replace(project.find(still), still.size(), R"("frameRate": 10, "duration": 1,
     "layers": [{"name": "Box", "source": "Red", "position": {"keyframes": [
        {"time": 0, "value": [150, 120, 0]}, {"time": 1, "value": [250, 200, 0]}]}}]})");
    return project;
}

TEST(CropDuration, CropsToTheUnionOfEveryFrame) {
    Command c(movingScene());
    std::vector<sim::World> before;
    for (int f = 0; f < 10; f += 3)
        before.push_back(c.render("Main", sim::Rational(f, 10)));
    sim::SessionReport r = c.run("cmd");
    EXPECT_EQ(r.menuName, "Zentrim Duration");
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    // Frames 0 to 9: the box's left edge runs from 120 to 210, its top from 100 to 172.
    EXPECT_EQ(r.resized[0].toWidth, 269 - 120 + 1);
    EXPECT_EQ(r.resized[0].toHeight, 211 - 100 + 1);
    EXPECT_EQ(r.progress, (std::vector<int>{1, 11, 21, 31, 41, 51, 61, 71, 81, 91}));
    ASSERT_EQ(r.undoSteps.size(), 1u);
    EXPECT_EQ(r.undoSteps[0], "Zentrim Duration");
    for (int i = 0, f = 0; f < 10; f += 3, ++i)
        EXPECT_TRUE(
            samePixels(before[i], c.render("Main", sim::Rational(f, 10)), 0, 0, "duration_main"));
    ASSERT_FALSE(c.host().events().progress.empty());
    EXPECT_EQ(c.host().events().progress.front().kind, sim::ProgressEvent::Open);
    EXPECT_EQ(c.host().events().progress.back().kind, sim::ProgressEvent::Close);
    expectClean(r);
}

TEST(CropDuration, NothingVisibleAtAnyTimeChangesNothingAndSaysNothing) {
    Command c(movingScene());
    c.edit([](sim::Project& p) { p.findItemByName("P")->comp.layers[0].video = false; });
    sim::SessionReport r = c.run("cmd");
    EXPECT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(r.resized.empty());
    EXPECT_TRUE(r.alerts.empty());
    EXPECT_EQ(r.progress.size(), 10u);
    expectClean(r);
}

TEST(CropDuration, CancelChordEndsTheCommandAfterTheFrameBeingMeasured) {
    Command c(movingScene());
    // The user adds Shift to the Command key held once the window is up.
    c.host().platform().progressListener = [&](const sim::ProgressEvent& e) {
        if (e.kind == sim::ProgressEvent::Open) c.host().platform().shiftDown = true;
    };
    sim::SessionReport r = c.run("cmd");
    EXPECT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(r.resized.empty());
    EXPECT_TRUE(r.progress.empty()) << "cancelled before the first frame's progress";
    int renders = 0;
    for (const sim::CallRecord& call : c.host().log().calls())
        renders += call.name == "AEGP_RenderAndCheckoutFrame";
    EXPECT_EQ(renders, 1);
    EXPECT_EQ(c.host().events().progress.back().kind, sim::ProgressEvent::Close);
    expectClean(r);
}

TEST(CropDuration, IncludeMasksLimitsTheCropToTheMasksOverTime) {
    std::string project = movingScene();
    const std::string use =
        R"({"name": "Use", "source": "P", "position": [400, 300, 0], "selected": true})";
    project.replace(project.find(use), use.size(),
                    R"({"name": "Use", "source": "P", "position": [400, 300, 0],
        "selected": true, "masks": [{"name": "Window", "path": {
          "vertices": [[100.5, 90], [230.25, 90], [230.25, 160.75], [100.5, 160.75]],
          "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]], "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}]})");
    Command c(project);
    c.host().prefs().set("Zentrim", "IncludeMasks", true);
    sim::SessionReport r = c.run("cmd");
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    // Left stays at the content (120 > 100.5); right and bottom are the mask's, rounded down.
    EXPECT_EQ(r.resized[0].toWidth, 230 - 120 + 1);
    EXPECT_EQ(r.resized[0].toHeight, 160 - 100 + 1);
    expectClean(r);
}

TEST(CropDuration, ActiveCompositionWithoutSelectionIsCroppedAndMasksAreNotConsulted) {
    std::string project = movingScene();
    project.replace(project.find(R"("activeItem": "Main")"), 20, R"("activeItem": "P")");
    Command c(project);
    c.host().prefs().set("Zentrim", "IncludeMasks", true);
    sim::SessionReport r = c.run("cmd");
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].name, "P");
    for (const sim::CallRecord& call : c.host().log().calls())
        EXPECT_NE(call.name, "AEGP_GetLayerMaskedBounds");
    expectClean(r);
}

TEST(CropDuration, FailedSetupShowsNoWindowAndClosesItsUndoGroup) {
    Command c(movingScene());
    c.host().log().faults.failName = "AEGP_NewFromItem";
    c.host().log().faults.error = 99;
    sim::SessionReport r = c.run("cmd");
    EXPECT_EQ(r.result, 99);
    EXPECT_TRUE(c.host().events().progress.empty());
    EXPECT_EQ(c.host().undoDepth(), 0);
    EXPECT_TRUE(r.leaks.empty());
    ASSERT_TRUE(r.undoRestored.has_value());
    EXPECT_TRUE(*r.undoRestored);
}

}  // namespace
