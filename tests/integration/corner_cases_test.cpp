// The crop where real projects take it: a kept reduced preview resolution, durations that are not
// whole frames, a crop whose size the host cannot take, the first duration run that fails, and a
// menu update that fails half-way. Each proven by rendering or by what the host recorded.
#include <set>
#include <utility>

#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::samePixels;
using simtest::scene;

const char* kNoAnswers = R"({"dialogs": []})";

// P (400 x 300, half resolution) with its box at x 120..179, y 100..139; "Use" selected in Main.
std::string halfResolutionScene(const std::string& useMasks = "") {
    std::string project = scene(true, "", "", R"(, "resolution": [2, 2])");
    if (!useMasks.empty()) {
        const std::string use =
            R"({"name": "Use", "source": "P", "position": [400, 300, 0], "selected": true})";
        project.replace(project.find(use), use.size(),
                        R"({"name": "Use", "source": "P", "position": [400, 300, 0],
            "selected": true, "masks": [)" +
                            useMasks + "]}");
    }
    return project;
}

std::string rectangleMask(double left, double top, double right, double bottom) {
    auto n = [](double v) { return std::to_string(v); };
    return R"({"name": "Window", "path": {"vertices": [[)" + n(left) + ", " + n(top) + "], [" +
           n(right) + ", " + n(top) + "], [" + n(right) + ", " + n(bottom) + "], [" + n(left) +
           ", " + n(bottom) +
           R"(]], "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
               "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}})";
}

// The pixels of a frame whose red channel is full: the box as Main shows it.
std::set<std::pair<int, int>> redPixels(const sim::World& w) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < w.height; ++y)
        for (int x = 0; x < w.width; ++x) {
            sim::PixelF p = sim::readPixel(w, x, y);
            if (p.red > 0.99f && p.green < 0.01f) out.insert({x, y});
        }
    return out;
}

std::set<std::pair<int, int>> differing(const sim::World& a, const sim::World& b) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            sim::PixelF p = sim::readPixel(a, x, y), q = sim::readPixel(b, x, y);
            if (p.alpha != q.alpha || p.red != q.red || p.green != q.green || p.blue != q.blue)
                out.insert({x, y});
        }
    return out;
}

struct Resize {
    int fromW, fromH, toW, toH;
};
void expectResizes(const sim::SessionReport& r, std::vector<Resize> expected) {
    ASSERT_EQ(r.resized.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const sim::ResizeRecord& got = r.resized[i];
        EXPECT_EQ(got.fromWidth, expected[i].fromW) << "resize " << i;
        EXPECT_EQ(got.fromHeight, expected[i].fromH) << "resize " << i;
        EXPECT_EQ(got.toWidth, expected[i].toW) << "resize " << i;
        EXPECT_EQ(got.toHeight, expected[i].toH) << "resize " << i;
    }
}

// The expand pass at a kept half resolution enlarges P by the amount on every side, as at full
// resolution; the crop that follows keeps what the half-resolution frame shows: with "Fast" the
// box's last column and row (as the reduced measurement scales indices), with "Accurate" all of it.
TEST(ReducedResolution, ExpandPassEnlargesAndTheCropKeepsWhatTheFrameShows) {
    // The enlargement starts from the composition's own size, also where the factor does not
    // divide it (401 x 301 renders 201 x 151 at half resolution).
    struct Case {
        long resolution;
        int width, height;
    } cases[] = {{1, 400, 300}, {2, 400, 300}, {2, 401, 301}};
    for (const Case& k : cases) {
        SCOPED_TRACE((k.resolution == 1 ? "Accurate " : "Fast ") + std::to_string(k.width));
        std::string project = halfResolutionScene();
        const std::string size = R"("width": 400, "height": 300)";
        project.replace(project.find(size), size.size(),
                        R"("width": )" + std::to_string(k.width) + R"(, "height": )" +
                            std::to_string(k.height));
        Command c(project, kNoAnswers);
        c.host().prefs().set("Zentrim", "Expand", true);
        c.host().prefs().set("Zentrim", "ExpandAmount", 20L);
        c.host().prefs().set("Zentrim", "Resolution", k.resolution);
        sim::World before = c.render("Main");
        sim::SessionReport r = c.run();
        ASSERT_EQ(r.result, A_Err_NONE);
        EXPECT_TRUE(r.alerts.empty()) << r.alerts.front().title;
        const int w = k.width + 41, h = k.height + 41;
        if (k.resolution == 1) {
            expectResizes(r, {{k.width, k.height, w, h}, {w, h, 60, 40}});
            EXPECT_TRUE(samePixels(before, c.render("Main"), 0, 0, "expand_half_accurate"));
        } else {
            expectResizes(r, {{k.width, k.height, w, h}, {w, h, 59, 39}});
            // Exactly the box's last column and last row are cut: 40 + 60 - 1 pixels.
            std::set<std::pair<int, int>> box = redPixels(before), cut;
            int lastX = 0, lastY = 0;
            for (auto [x, y] : box) {
                lastX = std::max(lastX, x);
                lastY = std::max(lastY, y);
            }
            for (auto [x, y] : box)
                if (x == lastX || y == lastY) cut.insert({x, y});
            EXPECT_EQ(cut.size(), 99u);
            EXPECT_EQ(differing(before, c.render("Main")), cut);
        }
        expectClean(r);
    }
}

// "Include Masks" at a kept half resolution: the masks' bounds (full-resolution pixels) limit the
// half-resolution frame's scan in its own pixels, so the layer is cropped, not reported as empty.
TEST(ReducedResolution, IncludeMasksLimitsTheHalfResolutionScan) {
    for (long resolution : {1L, 2L}) {
        SCOPED_TRACE(resolution == 1 ? "Accurate" : "Fast");
        Command c(halfResolutionScene(rectangleMask(100, 90, 170, 130)), kNoAnswers);
        c.host().prefs().set("Zentrim", "IncludeMasks", true);
        c.host().prefs().set("Zentrim", "Resolution", resolution);
        sim::World before = c.render("Main");
        sim::SessionReport r = c.run();
        ASSERT_EQ(r.result, A_Err_NONE);
        EXPECT_TRUE(r.alerts.empty()) << r.alerts.front().title << ": " << r.alerts.front().text;
        // Content x 120..179 and y 100..139 within the mask's 100..170 and 90..130.
        expectResizes(r, {{400, 300, 51, 31}});
        EXPECT_TRUE(samePixels(before, c.render("Main"), 0, 0, "masks_half"));
        expectClean(r);
    }
}

// P lasts 0.95 s at 10 fps and shows its box only from 0.9 s: the last frame, which starts before
// the end but does not fill a whole step, is measured too.
TEST(CropDuration, LastPartialFrameIsMeasured) {
    std::string project = scene(true, "", "", "");
    const std::string still = R"("frameRate": 30, "duration": 2,
     "layers": [{"name": "Box", "source": "Red", "position": [150, 120, 0]}]})";
    project.replace(project.find(still), still.size(), R"("frameRate": 10, "duration": "19/20",
     "layers": [{"name": "Box", "source": "Red", "position": [150, 120, 0], "inPoint": 0.9}]})");
    Command c(project);
    sim::World before = c.render("Main", sim::Rational(9, 10));
    sim::SessionReport r = c.run("cmd");
    ASSERT_EQ(r.result, A_Err_NONE);
    expectResizes(r, {{400, 300, 60, 40}});
    ASSERT_FALSE(r.progress.empty());
    EXPECT_EQ(r.progress.back(), 100);
    EXPECT_TRUE(samePixels(before, c.render("Main", sim::Rational(9, 10)), 0, 0, "partial_frame"));
    expectClean(r);
}

// A crop whose size the host cannot take (1 to 30000 pixels each way) is refused before anything
// changes: the user is told which composition and what size, the undo group is closed and undoing
// it restores nothing, because nothing changed. Where an earlier step of the same command did
// change the project (an expand pass), the alert does not claim otherwise.
TEST(SizeOutOfRange, RefusedWithAnAlertAndNothingChanges) {
    const std::string twoTargets =
        scene(true, R"({"name": "Use Q", "source": "Q", "selected": true},)",
              R"({"type": "comp", "name": "Q", "width": 29990, "height": 300, "frameRate": 30,
                  "duration": 2, "layers": [{"name": "Dot", "source": "Red"}]},)");
    struct Case {
        const char* name;
        std::string project;
        std::string keys;
        std::vector<std::pair<std::string, sim::PrefValue>> prefs;
        const char* undo;
        const char* refused = "P";
        bool expandedFirst = false;  // an expand pass changed P before the crop was refused
    } cases[] = {
        {"a huge padding",
         scene(true),
         "none",
         {{"Padding", true}, {"PaddingAmount", 1e12}},
         "Zentrim"},
        {"a huge padding over the duration",
         scene(true),
         "cmd",
         {{"Padding", true}, {"PaddingAmount", 1e12}},
         "Zentrim Duration"},
        {"an expand amount beyond 16 bits",
         scene(true),
         "none",
         {{"Expand", true}, {"ExpandAmount", 40000L}},
         "Zentrim"},
        {"an expand amount within 16 bits",
         scene(true),
         "none",
         {{"Expand", true}, {"ExpandAmount", 20000L}},
         "Zentrim"},
        {"an expand pass over two compositions, one of which cannot grow",
         twoTargets,
         "none",
         {{"Expand", true}, {"ExpandAmount", 20L}},
         "Zentrim",
         "Q"},
        {"a mask far outside the frame, with DeleteMask",
         halfResolutionScene(rectangleMask(-1e300, -1e300, 1e300, 1e300)),
         "shift+cmd",
         {{"DeleteMask", true}},
         "Mask Crop"},
        {"a huge padding after the expand pass",
         scene(true),
         "none",
         {{"Expand", true}, {"ExpandAmount", 20L}, {"Padding", true}, {"PaddingAmount", 1e12}},
         "Zentrim",
         "P",
         true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Command c(k.project, kNoAnswers);
        for (const auto& [key, value] : k.prefs)
            c.host().prefs().set("Zentrim", key, value);
        sim::SessionReport r = c.run(k.keys, false);
        EXPECT_EQ(r.result, A_Err_NONE);
        ASSERT_EQ(r.alerts.size(), 1u);
        EXPECT_EQ(r.alerts[0].title, "Size Out of Range");
        const std::string& text = r.alerts[0].text;
        EXPECT_EQ(text.find(std::string("The composition \"") + k.refused + "\" would be "), 0u)
            << text;
        const std::string nothing = "Nothing was changed.";
        EXPECT_EQ(text.compare(text.size() - nothing.size(), nothing.size(), nothing) == 0,
                  !k.expandedFirst)
            << text;
        ASSERT_EQ(r.undoSteps.size(), 1u);
        EXPECT_EQ(r.undoSteps[0], k.undo);
        expectClean(r);
        if (k.expandedFirst) {
            EXPECT_EQ(r.resized.size(), 1u) << "the expand pass stays";
            continue;
        }
        EXPECT_TRUE(r.resized.empty());
        EXPECT_EQ(sim::describeDifference(c.session->before, c.host().project()), "");
        ASSERT_TRUE(c.host().undo());
        EXPECT_EQ(sim::describeDifference(c.session->before, c.host().project()), "")
            << "undo restores nothing";
    }
}

// The name in the alert is the composition's own, whatever characters it holds.
TEST(SizeOutOfRange, TheAlertNamesTheCompositionSafely) {
    std::string project = scene(true);
    project.replace(project.find(R"("name": "P")"), 11, R"("name": "P's \"best\" \\ take")");
    project.replace(project.find(R"("source": "P")"), 13, R"("source": "P's \"best\" \\ take")");
    Command c(project, kNoAnswers);
    c.host().prefs().set("Zentrim", "Padding", true);
    c.host().prefs().set("Zentrim", "PaddingAmount", 20000L);
    sim::SessionReport r = c.run();
    ASSERT_EQ(r.alerts.size(), 1u);
    EXPECT_EQ(r.alerts[0].text,
              "The composition \"P's \"best\" \\ take\" would be 40060 x 40040 pixels after this "
              "crop, but a composition can only be 1 to 30000 pixels wide and high. Nothing was "
              "changed.");
    expectClean(r);
}

// A menu update whose selection check fails half-way sets the command for what it found: it is
// not left enabled from an earlier update.
TEST(MenuUpdate, FailedCheckDoesNotLeaveTheCommandEnabled) {
    Command c(scene(true));
    EXPECT_TRUE(c.menu("none").enabled);
    for (const char* failing :
         {"AEGP_GetNewCollectionFromCompSelection", "AEGP_GetCollectionNumItems"}) {
        SCOPED_TRACE(failing);
        EXPECT_TRUE(c.menu("none").enabled);
        c.host().log().clear();
        c.host().log().faults.failName = failing;
        c.host().log().faults.error = 55;
        EXPECT_EQ(c.host().updateMenus(), 55) << "the check's error is returned";
        c.host().log().faults = sim::FaultPlan{};
        const sim::MenuEntry* e = c.session->command();
        ASSERT_NE(e, nullptr);
        EXPECT_FALSE(e->enabled);
        EXPECT_TRUE(c.host().handles().leaks().empty());
    }
}

}  // namespace
