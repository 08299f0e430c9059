// The questions a crop asks: the render resolution of a reduced-resolution composition, and
// whether to pre-compose a composition with 3D layers.
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
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Resolution")) << "not remembered";
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

TEST(LowResolution, UnansweredDialogFailsTheCommandWithoutChanges) {
    Command c(halfResolutionScene());  // nobody answers
    sim::SessionReport r = c.run();
    EXPECT_NE(r.result, A_Err_NONE);
    EXPECT_TRUE(r.resized.empty());
    EXPECT_TRUE(r.leaks.empty());
    EXPECT_EQ(c.host().undoDepth(), 0) << "the command's undo group is closed after the error";
    ASSERT_TRUE(r.undoRestored.has_value());
    EXPECT_TRUE(*r.undoRestored);
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
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "ThreeD"));
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

}  // namespace
