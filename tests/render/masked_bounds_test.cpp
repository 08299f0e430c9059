// Mask-limited source bounds, and their agreement with what the renderer draws.
#include <gtest/gtest.h>

#include "MaskedBounds.h"
#include "RenderTestUtil.h"

namespace simtest {
namespace {

struct BoundsCase {
    const char* name;
    std::vector<Mask> masks;
    FloatRect expected;  // of a 100 x 50 source
};

TEST(MaskedBounds, FollowsTheMaskRule) {
    const MaskPath a = rectPath(10, 5, 30, 25), bb = rectPath(20, 20, 120, 40);
    const BoundsCase cases[] = {
        {"no masks", {}, {0, 0, 100, 50}},
        {"add", {mask(a)}, {10, 5, 30, 25}},
        {"add clipped to the source", {mask(bb)}, {20, 20, 100, 40}},
        {"add add", {mask(a), mask(bb)}, {10, 5, 100, 40}},
        {"add intersect", {mask(a), mask(bb, MaskMode::Intersect)}, {20, 20, 30, 25}},
        {"intersect alone", {mask(a, MaskMode::Intersect)}, {10, 5, 30, 25}},
        {"disjoint intersect", {mask(rectPath(0, 0, 5, 5)), mask(bb, MaskMode::Intersect)}, {}},
        {"subtract", {mask(a, MaskMode::Subtract)}, {0, 0, 100, 50}},
        {"add then subtract", {mask(a), mask(bb, MaskMode::Subtract)}, {10, 5, 30, 25}},
        {"add inverted", {mask(a, MaskMode::Add, true)}, {0, 0, 100, 50}},
        {"intersect inverted", {mask(a), mask(bb, MaskMode::Intersect, true)}, {10, 5, 30, 25}},
        {"open path", {mask(rectPath(10, 5, 30, 25, false))}, {0, 0, 100, 50}},
        {"mode none", {mask(a, MaskMode::None)}, {0, 0, 100, 50}},
        {"bezier", {mask(circlePath(40, 25, 10))}, {30, 15, 50, 35}},
    };
    for (const BoundsCase& c : cases) {
        Layer l;
        l.masks = c.masks;
        FloatRect r = maskedBounds(l, 100, 50, Rational(0));
        EXPECT_NEAR(r.left, c.expected.left, 1e-9) << c.name;
        EXPECT_NEAR(r.top, c.expected.top, 1e-9) << c.name;
        EXPECT_NEAR(r.right, c.expected.right, 1e-9) << c.name;
        EXPECT_NEAR(r.bottom, c.expected.bottom, 1e-9) << c.name;
    }
}

TEST(MaskedBounds, ByLayerIdAtLayerTimeAndContainsEveryDrawnPixel) {
    Builder b;
    Id comp = b.comp(100, 50);
    Layer& l = b.layer(comp, b.solid(100, 50));
    Mask moving = mask({});
    moving.path.keys = {{Rational(0), circlePath(20, 25, 12)},
                        {Rational(2), circlePath(60, 25, 12)}};
    l.masks = {moving, mask(rectPath(0, 20, 100, 50), MaskMode::Intersect),
               mask(rectPath(45, 0, 50, 50), MaskMode::Subtract)};
    const Id id = l.id;
    FloatRect r = maskedBounds(b.p, id, Rational(1));
    EXPECT_NEAR(r.left, 28, 1e-9);
    EXPECT_NEAR(r.top, 20, 1e-9);
    EXPECT_NEAR(r.right, 52, 1e-9);
    EXPECT_NEAR(r.bottom, 37, 1e-9);
    World w = b.render(comp, Rational(1));
    int drawn = 0;
    for (int y = 0; y < w.height; ++y) {
        for (int x = 0; x < w.width; ++x) {
            if (readPixel8(w, x, y).alpha == 0) continue;
            ++drawn;
            EXPECT_TRUE(x + 0.5 >= r.left && x + 0.5 <= r.right && y + 0.5 >= r.top &&
                        y + 0.5 <= r.bottom)
                << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 200);
    EXPECT_THROW(maskedBounds(b.p, 9999, Rational(0)), std::invalid_argument);
}

}  // namespace
}  // namespace simtest
