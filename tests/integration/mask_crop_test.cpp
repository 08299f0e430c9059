// "Mask Crop": a precomposition cropped to the bounds of one of its layer's masks.
#include <sstream>

#include "CommandFixture.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::samePixels;

std::string rect(double l, double t, double r, double b) {
    std::ostringstream o;
    o << R"({"vertices": [[)" << l << ", " << t << "], [" << r << ", " << t << "], [" << r << ", "
      << b << "], [" << l << ", " << b << R"(]], "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
        "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]})";
    return o.str();
}

// "Source" (1920 x 1080) with a box at (200, 100); "Main" (1920 x 1080, at `mainTime`) uses it
// through the selected layer "Use", which starts at `start` and carries the given masks.
std::string maskScene(const std::string& masks, const std::string& mainTime = "0",
                      const std::string& start = "0") {
    return R"({"format": "zentrim-project", "version": 1, "activeItem": "Main",
  "items": [
    {"type": "solid", "name": "Red", "width": 60, "height": 40, "color": [1, 0, 0, 1]},
    {"type": "comp", "name": "Source", "width": 1920, "height": 1080, "frameRate": 30, "duration": 2,
     "layers": [{"name": "Box", "source": "Red", "position": [200, 100, 0]}]},
    {"type": "comp", "name": "Main", "width": 1920, "height": 1080, "frameRate": 30, "duration": 2,
     "currentTime": )" +
           mainTime + R"(,
     "layers": [{"name": "Use", "source": "Source", "selected": true, "startTime": )" +
           start + R"(, "masks": [)" + masks + R"(]}]}
  ]
})";
}

std::string mask(const std::string& name, const std::string& path) {
    return R"({"name": ")" + name + R"(", "mode": "add", "selected": false, "path": )" + path + "}";
}

// The box holds the mask's vertices and their tangents' control points, which hold the curve; the
// outline is the one the holding composition shows at its current time (in the layer's time).
TEST(MaskCrop, CropsTheSourceToTheMasksBounds) {
    // Two vertices whose curved segments make a lens from y 55 to 145.
    const std::string lens = R"({"vertices": [[100, 100], [300, 100]],
        "inTangents": [[50, 60], [-50, -60]], "outTangents": [[50, -60], [-50, 60]]})";
    const std::string moving = R"({"keyframes": [{"time": 0, "value": )" + rect(100, 50, 200, 150) +
                               R"(}, {"time": 1, "value": )" + rect(150, 60, 400, 200) + "}]}";
    struct Case {
        const char* what;
        std::string path;
        long padding;
        int width, height;
        double boxX, boxY;  // the source's box after the crop
        const char* mainTime = "0";
        const char* start = "0";
    } cases[] = {
        {"rectangle", rect(100, 50, 300, 150), 0, 201, 101, 100, 50},
        {"with padding 10", rect(100, 50, 300, 150), 10, 221, 121, 110, 60},
        {"with a negative padding, none", rect(100, 50, 300, 150), -10, 201, 101, 100, 50},
        {"half a pixel rounds away from zero", rect(100.5, 50, 300, 150), 0, 200, 101, 99, 50},
        {"reaching beyond the left edge", rect(-20.5, 50, 300, 150), 0, 322, 101, 221, 50},
        {"a lens of two curved segments", lens, 0, 201, 121, 100, 60},
        {"keyframed, at the time the holding composition shows", moving, 0, 251, 141, 50, 40, "1.5",
         "0.5"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(maskScene(mask("Mask 1", k.path), k.mainTime, k.start));
        if (k.padding) {
            c.host().prefs().set("Zentrim", "Padding", true);
            c.host().prefs().set("Zentrim", "PaddingAmount", k.padding);
        }
        const sim::Rational now = c.item("Main").comp.currentTime;
        sim::World before = c.render("Main", now);
        sim::SessionReport r = c.run("shift+cmd");
        EXPECT_EQ(r.menuName, "Mask Crop");
        ASSERT_EQ(r.result, A_Err_NONE);
        EXPECT_TRUE(r.dialogs.empty()) << "one mask: no question";
        EXPECT_EQ(c.item("Source").comp.width, k.width);
        EXPECT_EQ(c.item("Source").comp.height, k.height);
        EXPECT_DOUBLE_EQ(c.layer("Source", "Box").position.value.x, k.boxX);
        EXPECT_DOUBLE_EQ(c.layer("Source", "Box").position.value.y, k.boxY);
        EXPECT_EQ(r.undoSteps, std::vector<std::string>{"Mask Crop"});
        EXPECT_TRUE(samePixels(before, c.render("Main", now), 0, 0, "mask_main"));
        EXPECT_TRUE(c.layer("Main", "Use").selected);
        expectClean(r);
    }
}

TEST(MaskCrop, ChooseMaskDialogPicksAmongSeveralMasks) {
    std::string masks = mask("First", rect(0, 0, 10, 10)) + "," +
                        mask("Second", rect(100, 50, 300, 150)) + "," +
                        mask("Third", rect(5, 5, 50, 50));
    Command c(
        maskScene(masks),
        R"({"dialogs": [{"title": "Choose Mask", "actions": [{"select": [0, 1]}, {"click": "OK"}]}]})");
    sim::SessionReport r = c.run("shift+cmd");
    ASSERT_EQ(r.result, A_Err_NONE);
    EXPECT_EQ(r.dialogs, std::vector<std::string>{"Choose Mask"});
    EXPECT_EQ(c.item("Source").comp.width, 201);
    expectClean(r);
}

TEST(MaskCrop, CancellingTheDialogChangesNothing) {
    std::string masks =
        mask("First", rect(0, 0, 10, 10)) + "," + mask("Second", rect(100, 50, 300, 150));
    for (const char* answer : {R"({"click": "Cancel"})", R"({"close": true})"}) {
        SCOPED_TRACE(answer);
        Command c(
            maskScene(masks),
            std::string(R"({"dialogs": [{"title": "Choose Mask", "actions": [)") + answer + "]}]}");
        sim::SessionReport r = c.run("shift+cmd");
        EXPECT_EQ(r.result, A_Err_NONE);
        EXPECT_TRUE(r.resized.empty());
        EXPECT_EQ(sim::describeDifference(c.session->before, c.host().project()), "");
        expectClean(r);
    }
}

TEST(MaskCrop, SelectedMaskIsUsedAndOnlyTheLayerStaysSelected) {
    std::string masks =
        mask("First", rect(0, 0, 10, 10)) + "," + mask("Second", rect(100, 50, 300, 150));
    // Select the second mask along with the layer.
    std::string project = maskScene(masks);
    size_t second = project.find(R"("name": "Second")");
    project.replace(project.find(R"("selected": false)", second), 17, R"("selected": true)");
    Command c(project);
    sim::SessionReport r = c.run("shift+cmd");
    ASSERT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(r.dialogs.empty());
    EXPECT_EQ(c.item("Source").comp.width, 201);
    EXPECT_TRUE(c.layer("Main", "Use").selected);
    for (const sim::Mask& m : c.layer("Main", "Use").masks)
        EXPECT_FALSE(m.selected) << m.name;
    expectClean(r);
}

TEST(MaskCrop, DeleteMaskPreferenceRemovesTheMaskUsed) {
    Command c(maskScene(mask("Mask 1", rect(100, 50, 300, 150))));
    c.host().prefs().set("Zentrim", "DeleteMask", true);
    sim::SessionReport r = c.run("shift+cmd");
    ASSERT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(c.layer("Main", "Use").masks.empty());
    expectClean(r);
}

TEST(MaskCrop, PathWithoutVerticesIsRefusedWithoutChanges) {
    Command c(maskScene(mask("Empty", R"({"vertices": [], "inTangents": [], "outTangents": []})")));
    c.host().prefs().set("Zentrim", "DeleteMask", true);
    sim::SessionReport r = c.run("shift+cmd");
    EXPECT_EQ(r.result, A_Err_NONE);
    EXPECT_TRUE(r.resized.empty());
    EXPECT_EQ(c.layer("Main", "Use").masks.size(), 1u) << "not deleted either";
    expectClean(r);
}

}  // namespace
