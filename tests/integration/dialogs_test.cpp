// The questions a crop asks: the render resolution of a reduced-resolution composition, whether
// to pre-compose a composition with 3D layers, and which mask to crop to; and what happens when a
// question's script fails.
#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::samePixels;
using simtest::scene;

// Two precompositions at half resolution, both selected: P (content x 120..179, y 100..139) and
// a copy of it, "P2", whose box sits at odd coordinates (x 121..180, y 101..140).
std::string halfResolutionScene() {
    std::string extra =
        R"({"type": "comp", "name": "P2", "width": 400, "height": 300, "frameRate": 30,
        "duration": 2, "resolution": [2, 2],
        "layers": [{"name": "Box", "source": "Red", "position": [151, 121, 0]}]},)";
    std::string layers = R"({"name": "Use 2", "source": "P2", "selected": true},)";
    return scene(true, layers, extra, R"(, "resolution": [2, 2])");
}

const char* kAccurate =
    R"({"dialogs": [{"title": "Low Resolution", "actions": [{"click": "Accurate"}]}]})";
const char* kFastRemembered = R"({"dialogs": [{"title": "Low Resolution",
    "actions": [{"check": "Remember My Choice"}, {"click": "Fast"}]}]})";

const sim::ResizeRecord& resizeOf(const sim::SessionReport& r, const std::string& name) {
    for (const sim::ResizeRecord& rr : r.resized)
        if (rr.name == name) return rr;
    throw std::runtime_error("not resized: " + name);
}

TEST(LowResolution, AccurateAsksOnceAndMeasuresAtFullResolution) {
    Command c(halfResolutionScene(), kAccurate);
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.dialogs.size(), 1u) << "one question per run";
    EXPECT_EQ(r.dialogs[0], "Low Resolution");
    EXPECT_EQ(resizeOf(r, "P").toWidth, 60);
    EXPECT_EQ(resizeOf(r, "P2").toWidth, 60);
    // Not remembered: the read left the host's default, "Always Ask", and nothing else.
    EXPECT_EQ(c.host().prefs().getLong("Zentrim", "Resolution", -1), 0) << "not remembered";
    // The render options were put back to the composition's factors.
    EXPECT_EQ(c.item("P").comp.resolutionH, 2);
    expectClean(r);
}

TEST(LowResolution, FastRememberedIsStoredAndMeasuresAtTheCurrentResolution) {
    Command c(halfResolutionScene(), kFastRemembered);
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    EXPECT_EQ(r.dialogs.size(), 1u);
    EXPECT_EQ(c.host().prefs().getLong("Zentrim", "Resolution", 0), 2);
    EXPECT_GE(c.host().prefs().savesToDisk, 1);
    // Measured on the half-resolution frame: edges scaled as indices (2r), so P2's odd edges are
    // rounded and the crop is a pixel off, as a fast measurement is.
    EXPECT_EQ(resizeOf(r, "P").toWidth, 59);
    expectClean(r);
}

TEST(LowResolution, PreferenceAnswersWithoutAsking) {
    struct Case {
        long preference;
        int width;  // of P after the crop
    } cases[] = {{1, 60}, {2, 59}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.preference);
        Command c(halfResolutionScene());
        c.host().prefs().set("Zentrim", "Resolution", k.preference);
        sim::SessionReport r = c.run();
        ASSERT_EQ(r.result, A_Err_NONE);
        EXPECT_TRUE(r.dialogs.empty());
        EXPECT_EQ(resizeOf(r, "P").toWidth, k.width);
        expectClean(r);
    }
}

TEST(LowResolution, FullResolutionCompositionReadsNoPreferenceAndAsksNothing) {
    Command c(scene(true));
    sim::SessionReport r = c.run();
    EXPECT_TRUE(r.dialogs.empty());
    for (const sim::CallRecord& call : c.host().log().calls())
        EXPECT_NE(call.args, "Zentrim Resolution 0");
}

// P holds a 3D layer; the standard crop of the selected use asks whether to pre-compose.
std::string threeDScene() {
    std::string project = scene(true);
    const std::string box = R"("position": [150, 120, 0]})";
    project.replace(project.find(box), box.size(), R"("position": [150, 120, 0], "threeD": true})");
    return project;
}

TEST(ThreeDLayers, YesPrecomposesAndTheCropMovesOnlyTheNestedLayer) {
    Command c(threeDScene(),
              R"({"dialogs": [{"title": "3D Layers", "actions": [{"click": "Yes"}]}]})");
    sim::World before = c.render("Main");
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.dialogs.size(), 1u);
    EXPECT_EQ(r.dialogs[0], "3D Layers");
    const sim::Item* renamed = c.host().project().findItemByName("P - Zentrim PreComp");
    ASSERT_NE(renamed, nullptr);
    ASSERT_EQ(renamed->comp.layers.size(), 1u);
    const sim::Item* inner = c.host().project().findItem(renamed->comp.layers[0].source);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->name, "P");
    EXPECT_EQ(inner->comp.layers.size(), 1u);
    EXPECT_EQ(inner->comp.width, 400) << "the duplicate keeps the original contents and size";
    EXPECT_EQ(renamed->comp.width, 60);
    EXPECT_EQ(c.host().prefs().getLong("Zentrim", "ThreeD", -1), 0) << "not remembered";
    EXPECT_TRUE(samePixels(before, c.render("Main"), 0, 0, "threed_main"));
    expectClean(r);
}

TEST(ThreeDLayers, NeverPrecomposeAsksNothing) {
    Command c(threeDScene());
    c.host().prefs().set("Zentrim", "ThreeD", 2L);
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(r.dialogs.empty());
    EXPECT_EQ(c.host().project().findItemByName("P - Zentrim PreComp"), nullptr);
    EXPECT_EQ(c.item("P").comp.width, 60);
    expectClean(r);
}

TEST(ThreeDLayers, RememberedNoIsStored) {
    Command c(threeDScene(), R"({"dialogs": [{"title": "3D Layers",
        "actions": [{"check": "Remember My Choice"}, {"click": "No"}]}]})");
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.result, A_Err_NONE);
    EXPECT_EQ(c.host().prefs().getLong("Zentrim", "ThreeD", 0), 2);
    EXPECT_EQ(c.host().project().findItemByName("P - Zentrim PreComp"), nullptr);
    expectClean(r);
}

// The selected use carries two masks, so "Mask Crop" asks which one.
std::string twoMaskScene() {
    std::string project = scene(true);
    const std::string use = R"("selected": true})";
    const std::string square = R"({"vertices": [[100, 80], [200, 80], [200, 160], [100, 160]],
        "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
        "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]})";
    project.replace(project.find(use), use.size(),
                    R"("selected": true, "masks": [{"name": "A", "path": )" + square +
                        R"(}, {"name": "B", "path": )" + square + "}]}");
    return project;
}

// A question whose script fails (here: nobody answers it) ends the command with an error and the
// project as it was, whether the host returns the script's error or, as a host may, returns
// success with the error text aside and an empty result: no command acts on an answer the user
// never gave.
TEST(Dialogs, AFailedQuestionEndsTheCommandWithNothingChanged) {
    struct Case {
        const char* dialog;
        std::string project;
        const char* keys;
    } cases[] = {
        {"Low Resolution", halfResolutionScene(), "none"},
        {"3D Layers", threeDScene(), "none"},
        {"Choose Mask", twoMaskScene(), "shift+cmd"},
    };
    for (auto scriptError :
         {sim::HostModel::ScriptError::Error, sim::HostModel::ScriptError::Silent}) {
        for (const Case& k : cases) {
            SCOPED_TRACE(std::string(k.dialog) + (scriptError == sim::HostModel::ScriptError::Silent
                                                      ? ", silent host"
                                                      : ""));
            Command c(k.project);  // nobody answers
            c.host().model().scriptError = scriptError;
            sim::SessionReport r = c.run(k.keys, false);
            EXPECT_NE(r.result, A_Err_NONE);
            EXPECT_EQ(r.dialogs, std::vector<std::string>{k.dialog});
            EXPECT_TRUE(r.resized.empty());
            EXPECT_EQ(sim::describeDifference(c.session->before, c.host().project()), "");
            EXPECT_TRUE(r.leaks.empty()) << (r.leaks.empty() ? "" : r.leaks.front());
            EXPECT_EQ(c.host().undoDepth(), 0) << "the command's undo group is closed";
        }
    }
}

}  // namespace
