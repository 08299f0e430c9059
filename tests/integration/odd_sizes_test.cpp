// Odd-sized compositions: the correction of uses subtracts half a pixel more for an odd old width
// or height, as specified. Where that moves a use in the simulator's model (an anchor at a half
// pixel, such as the default centre of an odd-sized source), the test states the exact shift, so
// that it can neither hide nor grow; with whole-pixel anchors nothing moves.
#include <set>
#include <utility>

#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;

// The pixels of Main that show the box (pure red).
std::set<std::pair<int, int>> redPixels(const sim::World& w) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < w.height; ++y)
        for (int x = 0; x < w.width; ++x) {
            sim::PixelF p = sim::readPixel(w, x, y);
            if (p.red > 0.99f && p.green < 0.01f && p.alpha > 0.99f) out.insert({x, y});
        }
    return out;
}

std::set<std::pair<int, int>> shifted(const std::set<std::pair<int, int>>& pixels, int dx, int dy) {
    std::set<std::pair<int, int>> out;
    for (auto [x, y] : pixels)
        out.insert({x + dx, y + dy});
    return out;
}

TEST(OddSizes, TheHalfPixelTermMovesAHalfPixelAnchorByOnePixel) {
    struct Case {
        int width, height;
        const char* anchor;  // of the use; empty: the source's centre
        int dx, dy;          // where Main shows the box after the crop
    } cases[] = {
        {401, 301, "", 1, 1},
        {400, 301, "", 0, 1},
        {401, 300, "", 1, 0},
        {400, 300, "", 0, 0},
        {401, 301, R"(, "anchorPoint": [100, 80, 0])", 0, 0},
        {401, 301, R"(, "anchorPoint": [100.5, 80.5, 0])", 1, 1},
        {400, 300, R"(, "anchorPoint": [100.5, 80.5, 0])", 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.width) + "x" + std::to_string(k.height) + k.anchor);
        std::string project = simtest::scene(true);
        const std::string size = R"("width": 400, "height": 300)";
        project.replace(project.find(size), size.size(),
                        R"("width": )" + std::to_string(k.width) + R"(, "height": )" +
                            std::to_string(k.height));
        const std::string use = R"("position": [400, 300, 0], "selected": true)";
        project.replace(project.find(use), use.size(), use + k.anchor);
        Command c(project);
        std::set<std::pair<int, int>> before = redPixels(c.render("Main"));
        ASSERT_EQ(before.size(), 60u * 40u);
        sim::SessionReport r = c.run();
        ASSERT_EQ(r.result, A_Err_NONE);
        ASSERT_EQ(r.resized.size(), 1u);
        EXPECT_EQ(r.resized[0].toWidth, 60);
        EXPECT_EQ(r.resized[0].toHeight, 40);
        EXPECT_EQ(redPixels(c.render("Main")), shifted(before, k.dx, k.dy));
        expectClean(r);
    }
}

}  // namespace
