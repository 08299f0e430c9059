// "Zentrim Duration": every frame measured, the union cropped once, with progress and cancel.
#include <algorithm>

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

int renders(Command& c) {
    int n = 0;
    for (const sim::CallRecord& call : c.host().log().calls())
        n += call.name == "AEGP_RenderAndCheckoutFrame";
    return n;
}

// P is measured at every time a composition that uses it shows it: its own ten frames, and the
// frames of Main between them (at a higher rate) or beside them (Use starting half a frame late);
// a use at P's own rate and phase adds nothing. What Main shows at every frame stays.
TEST(CropDuration, CropsToTheUnionOfEveryTimeItIsShown) {
    struct Case {
        const char* what;
        int mainRate;
        const char* start;
        int renders;
        int width, height;
    } cases[] = {
        {"Main at 30 fps", 30, "0", 30, 157, 117},
        {"Main at P's rate", 10, "0", 10, 150, 112},
        {"Use half a frame late", 10, "0.05", 20, 155, 116},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        std::string project = movingScene();
        const std::string main = R"("name": "Main", "width": 800, "height": 600, "frameRate": 30)";
        project.replace(project.find(main), main.size(),
                        R"("name": "Main", "width": 800, "height": 600, "frameRate": )" +
                            std::to_string(k.mainRate));
        const std::string use = R"("selected": true)";
        project.replace(project.find(use), use.size(), use + R"(, "startTime": )" + k.start);
        Command c(project);
        std::vector<sim::World> before;
        for (int f = 0; f < 2 * k.mainRate; ++f)
            before.push_back(c.render("Main", sim::Rational(f, k.mainRate)));
        sim::SessionReport r = c.run("cmd");
        EXPECT_EQ(r.menuName, "Zentrim Duration");
        ASSERT_EQ(r.result, A_Err_NONE);
        for (int f = 0; f < 2 * k.mainRate; ++f)
            EXPECT_TRUE(samePixels(before[f], c.render("Main", sim::Rational(f, k.mainRate)), 0, 0,
                                   "duration_main"))
                << "frame " << f;
        EXPECT_EQ(renders(c), k.renders);
        ASSERT_EQ(r.resized.size(), 1u);
        EXPECT_EQ(r.resized[0].toWidth, k.width);
        EXPECT_EQ(r.resized[0].toHeight, k.height);
        ASSERT_EQ(r.progress.size(), static_cast<size_t>(k.renders) + 1);
        EXPECT_EQ(r.progress.front(), 1);
        EXPECT_EQ(r.progress.back(), 100);
        EXPECT_TRUE(std::is_sorted(r.progress.begin(), r.progress.end()));
        ASSERT_EQ(r.undoSteps.size(), 1u);
        EXPECT_EQ(r.undoSteps[0], "Zentrim Duration");
        ASSERT_FALSE(c.host().events().progress.empty());
        EXPECT_EQ(c.host().events().progress.front().kind, sim::ProgressEvent::Open);
        EXPECT_EQ(c.host().events().progress.back().kind, sim::ProgressEvent::Close);
        expectClean(r);
    }
}

// Once the union holds every pixel of the frame, no later frame can change the crop: nothing more
// is rendered, the masks are still read at every frame, and the progress ends at 100 %.
TEST(CropDuration, StopsRenderingOnceTheWholeFrameIsKept) {
    for (bool includeMasks : {false, true}) {
        SCOPED_TRACE(includeMasks ? "IncludeMasks" : "no masks");
        std::string project = movingScene();
        const std::string main = R"("name": "Main", "width": 800, "height": 600, "frameRate": 30)";
        project.replace(project.find(main), main.size(),
                        R"("name": "Main", "width": 800, "height": 600, "frameRate": 10)");
        const std::string box = R"("layers": [{"name": "Box")";
        project.replace(project.find(box), box.size(),
                        R"("layers": [{"name": "Cover", "source": "Grey", "inPoint": 0.3},
                                      {"name": "Box")");
        Command c(project);
        c.host().prefs().set("Zentrim", "IncludeMasks", includeMasks);
        sim::SessionReport r = c.run("cmd");
        ASSERT_EQ(r.result, A_Err_NONE);
        EXPECT_EQ(renders(c), 4) << "frames 0 to 3: the cover is there from frame 3";
        int maskReads = 0;
        for (const sim::CallRecord& call : c.host().log().calls())
            maskReads += call.name == "AEGP_GetLayerMaskedBounds";
        EXPECT_EQ(maskReads, includeMasks ? 10 : 0);
        ASSERT_FALSE(r.progress.empty());
        EXPECT_EQ(r.progress.back(), 100);
        ASSERT_EQ(r.resized.size(), 1u);
        EXPECT_EQ(r.resized[0].toWidth, 400);
        EXPECT_EQ(r.resized[0].toHeight, 300);
        expectClean(r);
    }
}

TEST(CropDuration, NothingVisibleAtAnyTimeChangesNothingAndSaysNothing) {
    Command c(movingScene());
    c.edit([](sim::Project& p) { p.findItemByName("P")->comp.layers[0].video = false; });
    sim::SessionReport r = c.run("cmd");
    EXPECT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(r.resized.empty());
    EXPECT_TRUE(r.alerts.empty());
    ASSERT_EQ(r.progress.size(), 31u) << "P's ten frames and Main's thirty between them";
    EXPECT_EQ(r.progress.back(), 100);
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

// A mask that hides part of the content at every time limits the crop, rounded down to whole
// pixels. A time-remapped layer's masks belong to its own times, not to the source's the crop
// walks: they limit nothing (and the layer adds no times of its own to measure).
TEST(CropDuration, IncludeMasksLimitsTheCropToTheMasksOverTime) {
    struct Case {
        bool remapped;
        int width, height;
    } cases[] = {
        // Left stays at the content (120 > 100.5); right and bottom are the mask's, rounded down.
        {false, 230 - 120 + 1, 160 - 100 + 1},
        // P's own frames: the box's left edge runs from 120 to 210, its top from 100 to 172.
        {true, 269 - 120 + 1, 211 - 100 + 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.remapped ? "remapped" : "not remapped");
        std::string project = movingScene();
        const std::string use =
            R"({"name": "Use", "source": "P", "position": [400, 300, 0], "selected": true})";
        project.replace(project.find(use), use.size(),
                        std::string(R"({"name": "Use", "source": "P", "position": [400, 300, 0],
            "selected": true, "timeRemapEnabled": )") +
                            (k.remapped ? "true" : "false") +
                            R"(, "masks": [{"name": "Window", "path": {
          "vertices": [[100.5, 90], [230.25, 90], [230.25, 160.75], [100.5, 160.75]],
          "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]], "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}]})");
        Command c(project);
        c.host().prefs().set("Zentrim", "IncludeMasks", true);
        sim::World before = c.render("Main");
        sim::SessionReport r = c.run("cmd");
        ASSERT_EQ(r.result, A_Err_NONE);
        ASSERT_EQ(r.resized.size(), 1u);
        EXPECT_EQ(r.resized[0].toWidth, k.width);
        EXPECT_EQ(r.resized[0].toHeight, k.height);
        EXPECT_TRUE(samePixels(before, c.render("Main"), 0, 0, "duration_masks"));
        expectClean(r);
    }
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
