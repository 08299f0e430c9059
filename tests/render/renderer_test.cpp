// Composition rendering: placement, transforms, parenting, nesting, timing, masks, depths.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "RenderTestUtil.h"

namespace simtest {
namespace {

template <typename T>
Animatable<T> keyed(std::vector<std::pair<Rational, T>> keys) {
    Animatable<T> a;
    for (auto& [t, v] : keys)
        a.keys.push_back({t, v, Interp::Linear, Interp::Linear});
    return a;
}

struct PlacementCase {
    const char* name;
    Vec3 position, anchor, scale;
    double rotation;
    Rect expected;
};

TEST(Render, SolidPlacementIsPixelExact) {
    const PlacementCase cases[] = {
        {"plain", {10, 5, 0}, {0, 0, 0}, {100, 100, 100}, 0, {10, 5, 30, 15}},
        {"anchor", {32, 24, 0}, {10, 5, 0}, {100, 100, 100}, 0, {22, 19, 42, 29}},
        {"half-pixel position", {10.5, 5, 0}, {0, 0, 0}, {100, 100, 100}, 0, {10, 5, 30, 15}},
        {"scale 200", {10, 5, 0}, {0, 0, 0}, {200, 200, 100}, 0, {10, 5, 50, 25}},
        {"scale 50", {10, 5, 0}, {0, 0, 0}, {50, 50, 100}, 0, {10, 5, 20, 10}},
        {"mirrored", {30, 5, 0}, {0, 0, 0}, {-100, 100, 100}, 0, {10, 5, 30, 15}},
        {"rotation 90", {30, 10, 0}, {0, 0, 0}, {100, 100, 100}, 90, {20, 10, 30, 30}},
        {"rotation 180", {30, 15, 0}, {0, 0, 0}, {100, 100, 100}, 180, {10, 5, 30, 15}},
        {"rotation -90", {20, 30, 0}, {0, 0, 0}, {100, 100, 100}, -90, {20, 10, 30, 30}},
        {"clipped top left", {-10, -5, 0}, {0, 0, 0}, {100, 100, 100}, 0, {0, 0, 10, 5}},
        {"clipped bottom right", {54, 43, 0}, {0, 0, 0}, {100, 100, 100}, 0, {54, 43, 64, 48}},
        {"z ignored", {10, 5, 500}, {0, 0, -40}, {100, 100, 300}, 0, {10, 5, 30, 15}},
    };
    for (const PlacementCase& c : cases) {
        Builder b;
        Id comp = b.comp(64, 48);
        Layer& l = b.layer(comp, b.solid(20, 10));
        l.position.value = c.position;
        l.anchorPoint.value = c.anchor;
        l.scale.value = c.scale;
        l.rotation.value = c.rotation;
        l.threeD = c.position.z != 0;
        EXPECT_EQ(mismatch(b.render(comp), c.expected), "") << c.name;
    }
}

TEST(Render, RotationIsClockwiseOnScreen) {
    Builder b;
    Id comp = b.comp(64, 48);
    Id img = b.image(20, 10, [](int x, int y) {
        return x == 0 && y == 0 ? std::array<uint8_t, 4>{0, 0, 255, 255}
                                : std::array<uint8_t, 4>{255, 0, 0, 255};
    });
    Layer& l = b.layer(comp, img);
    l.position.value = {30, 10, 0};
    l.rotation.value = 90;
    // The source's top-left corner turns to the top-right of the footprint {20, 10, 30, 30}.
    EXPECT_EQ(mismatch(b.render(comp), [](int x, int y) { return x == 29 && y == 10 ? 1 : -1; },
                       {255, 0, 0, 255}),
              "");
}

struct ParentCase {
    const char* name;
    Vec3 parentPosition, parentAnchor;
    double parentRotation, parentScale;
    Rect expected;  // of a 20 x 10 child at (5, 5) relative to the parent
};

TEST(Render, ChildrenFollowTheirParents) {
    const ParentCase cases[] = {
        {"origin", {0, 0, 0}, {0, 0, 0}, 0, 100, {5, 5, 25, 15}},
        {"moved", {20, 10, 0}, {0, 0, 0}, 0, 100, {25, 15, 45, 25}},
        {"anchor", {20, 10, 0}, {10, 10, 0}, 0, 100, {15, 5, 35, 15}},
        {"rotated", {20, 10, 0}, {0, 0, 0}, 90, 100, {5, 15, 15, 35}},
        {"scaled", {0, 0, 0}, {0, 0, 0}, 0, 200, {10, 10, 50, 30}},
    };
    for (const ParentCase& c : cases) {
        Builder b;
        Id comp = b.comp(64, 48);
        Id child = b.layer(comp, b.solid(20, 10)).id;
        Layer& parent = b.layer(comp, b.add(ItemType::NullSource, 100, 100).id, LayerKind::Null);
        parent.position.value = c.parentPosition;
        parent.anchorPoint.value = c.parentAnchor;
        parent.rotation.value = c.parentRotation;
        parent.scale.value = {c.parentScale, c.parentScale, 100};
        Id parentId = parent.id;
        Layer& l = b.get(child);
        l.parent = parentId;
        l.position.value = {5, 5, 0};
        EXPECT_EQ(mismatch(b.render(comp), c.expected), "") << c.name;
    }
}

TEST(Render, ParentChainEvaluatesEachLayerAtItsOwnTime) {
    Builder b;
    Id comp = b.comp(64, 48);
    Id child = b.layer(comp, b.solid(20, 10)).id;
    Layer& parent = b.layer(comp, b.add(ItemType::NullSource, 100, 100).id, LayerKind::Null);
    parent.startTime = Rational(1);
    parent.position = keyed<Vec3>({{Rational(0), {0, 0, 0}}, {Rational(1), {10, 0, 0}}});
    Id parentId = parent.id;
    Id grand = b.layer(comp, 0, LayerKind::Camera).id;
    b.get(grand).position.value = {0, 20, 0};
    b.get(parentId).parent = grand;
    b.get(child).parent = parentId;
    // At 1.5 s the parent's layer time is 0.5: it stands at (5, 0), below (0, 20).
    EXPECT_EQ(mismatch(b.render(comp, Rational(3, 2)), Rect{5, 20, 25, 30}), "");
}

struct NestCase {
    const char* name;
    Rational time;
    bool remap;
    Rect expected;
};

TEST(Render, NestedCompositionsRenderAtTheLayerSourceTime) {
    const NestCase cases[] = {
        {"start time", Rational(1, 2), false, {10, 15, 20, 25}},
        {"later", Rational(3, 2), false, {20, 15, 30, 25}},
        {"clipped at the inner frame", Rational(4), false, {45, 15, 50, 25}},
        {"remapped start", Rational(1, 2), true, {45, 15, 50, 25}},
        {"remapped half-way", Rational(9, 4), true, {27, 15, 37, 25}},
    };
    for (const NestCase& c : cases) {
        Builder b;
        Id inner = b.comp(40, 40);
        Layer& moving = b.layer(inner, b.solid(10, 10));
        moving.position = keyed<Vec3>({{Rational(0), {0, 5, 0}}, {Rational(4), {40, 5, 0}}});
        Id outer = b.comp(64, 48);
        Layer& l = b.layer(outer, inner);
        l.position.value = {10, 10, 0};
        l.startTime = Rational(1, 2);
        l.timeRemapEnabled = c.remap;
        l.timeRemap = keyed<double>({{Rational(0), 3.5}, {Rational(7, 2), 0.0}});
        EXPECT_EQ(mismatch(b.render(outer, c.time), c.expected), "") << c.name;
    }
}

TEST(Render, InPointIsInclusiveOutPointExclusive) {
    const std::pair<Rational, bool> cases[] = {{Rational(999, 1000), false},
                                               {Rational(1), true},
                                               {Rational(1999, 1000), true},
                                               {Rational(2), false}};
    for (auto [time, drawn] : cases) {
        Builder b;
        Id comp = b.comp(32, 32);
        Layer& l = b.layer(comp, b.solid(20, 10));
        l.inPoint = Rational(1);
        l.outPoint = Rational(2);
        EXPECT_EQ(mismatch(b.render(comp, time), drawn ? Rect{0, 0, 20, 10} : Rect{0, 0, 0, 0}), "")
            << time.toString();
    }
}

TEST(Render, LayersWithoutVisibleContentDrawNothing) {
    const std::pair<const char*, std::function<void(Builder&, Layer&)>> cases[] = {
        {"video off", [](Builder&, Layer& l) { l.video = false; }},
        {"null", [](Builder&, Layer& l) { l.kind = LayerKind::Null; }},
        {"camera", [](Builder&, Layer& l) { l.kind = LayerKind::Camera; }},
        {"light", [](Builder&, Layer& l) { l.kind = LayerKind::Light; }},
        {"text", [](Builder&, Layer& l) { l.kind = LayerKind::Text; }},
        {"shape", [](Builder&, Layer& l) { l.kind = LayerKind::Shape; }},
        {"null source", [](Builder& b, Layer& l) { l.source = b.p.items[0].id; }},
        {"opacity 0", [](Builder&, Layer& l) { l.opacity.value = 0; }},
    };
    for (auto& [name, change] : cases) {
        Builder b;
        b.add(ItemType::NullSource, 100, 100);
        Id comp = b.comp(32, 32);
        Id layer = b.layer(comp, b.solid(20, 10)).id;
        change(b, b.get(layer));
        EXPECT_EQ(mismatch(b.render(comp), Rect{0, 0, 0, 0}), "") << name;
    }
}

struct MaskCase {
    const char* name;
    std::vector<Mask> masks;
    std::function<int(int, int)> want;
};

TEST(Render, MasksLimitAlpha) {
    const MaskPath a = rectPath(10, 10, 30, 30), bb = rectPath(20, 0, 40, 20);
    auto A = [](int x, int y) { return x >= 10 && x < 30 && y >= 10 && y < 30; };
    auto B = [](int x, int y) { return x >= 20 && y < 20; };
    MaskPath triangle;
    triangle.vertices = {{0, 0}, {40, 0}, {0, 40}};
    triangle.inTangents = triangle.outTangents = std::vector<Vec2>(3);
    const MaskCase cases[] = {
        {"none", {}, [](int, int) { return 1; }},
        {"add", {mask(a)}, A},
        {"add inverted", {mask(a, MaskMode::Add, true)}, [&](int x, int y) { return !A(x, y); }},
        {"subtract", {mask(a, MaskMode::Subtract)}, [&](int x, int y) { return !A(x, y); }},
        {"intersect alone", {mask(a, MaskMode::Intersect)}, A},
        {"add add", {mask(a), mask(bb)}, [&](int x, int y) { return A(x, y) || B(x, y); }},
        {"add subtract",
         {mask(a), mask(bb, MaskMode::Subtract)},
         [&](int x, int y) { return A(x, y) && !B(x, y); }},
        {"add intersect",
         {mask(a), mask(bb, MaskMode::Intersect)},
         [&](int x, int y) { return A(x, y) && B(x, y); }},
        {"add intersect inverted",
         {mask(a), mask(bb, MaskMode::Intersect, true)},
         [&](int x, int y) { return A(x, y) && !B(x, y); }},
        {"subtract add",
         {mask(a, MaskMode::Subtract), mask(bb)},
         [&](int x, int y) { return !A(x, y) || B(x, y); }},
        {"mode none", {mask(a), mask(bb, MaskMode::None)}, A},
        {"open path", {mask(rectPath(10, 10, 30, 30, false))}, [](int, int) { return 1; }},
        {"open path then add", {mask(rectPath(0, 0, 5, 5, false)), mask(a)}, A},
        {"triangle", {mask(triangle)}, [](int x, int y) { return x + y < 39; }},
        {"bezier circle",
         {mask(circlePath(20, 20, 15))},
         [](int x, int y) {
             double d = std::hypot(x + 0.5 - 20, y + 0.5 - 20);
             return d < 14.5 ? 1 : d > 15.5 ? 0 : -1;
         }},
    };
    for (const MaskCase& c : cases) {
        Builder b;
        Id comp = b.comp(40, 40);
        b.layer(comp, b.solid(40, 40)).masks = c.masks;
        EXPECT_EQ(mismatch(b.render(comp), c.want), "") << c.name;
    }
}

TEST(Render, KeyframedMaskPathIsEvaluatedAtLayerTime) {
    Builder b;
    Id comp = b.comp(40, 40);
    Layer& l = b.layer(comp, b.solid(40, 40));
    l.startTime = Rational(1);
    Mask m = mask(rectPath(0, 0, 10, 10));
    m.path = keyed<MaskPath>(
        {{Rational(0), rectPath(0, 0, 10, 10)}, {Rational(2), rectPath(20, 0, 30, 10)}});
    l.masks = {m};
    EXPECT_EQ(mismatch(b.render(comp, Rational(2)), Rect{10, 0, 20, 10}), "");
}

TEST(Render, OpacityScalesAlphaAndCompositesOver) {
    Builder b;
    Id comp = b.comp(8, 8);
    b.layer(comp, b.solid(4, 8, {1, 1, 1, 1})).opacity.value = 50;
    b.layer(comp, b.solid(8, 4, {1, 0, 0, 1}));
    World w = b.render(comp);
    auto px = [&](int x, int y) { return str(readPixel8(w, x, y)); };
    EXPECT_EQ(px(1, 6), str({128, 128, 128, 128}));  // white at half opacity, premultiplied
    EXPECT_EQ(px(1, 1), str({255, 255, 128, 128}));  // ...over opaque red
    EXPECT_EQ(px(6, 1), str({255, 255, 0, 0}));
    EXPECT_EQ(px(6, 6), str({0, 0, 0, 0}));
}

struct DownsampleCase {
    int width, height, h, v, frameWidth, frameHeight;
    Rect expected;  // of a 20 x 10 solid at (10, 6)
};

TEST(Render, DownsamplingGivesCeilSizesAndScaledContent) {
    const DownsampleCase cases[] = {
        {101, 51, 1, 1, 101, 51, {10, 6, 30, 16}}, {101, 51, 2, 2, 51, 26, {5, 3, 15, 8}},
        {100, 50, 2, 2, 50, 25, {5, 3, 15, 8}},    {101, 51, 3, 1, 34, 51, {3, 6, 10, 16}},
        {7, 7, 4, 4, 2, 2, {0, 0, 0, 0}},
    };
    for (const DownsampleCase& c : cases) {
        Builder b;
        Id comp = b.comp(c.width, c.height);
        b.layer(comp, b.solid(20, 10)).position.value = {10, 6, 0};
        World w = b.render(comp, Rational(0), c.h, c.v);
        EXPECT_EQ(w.width, c.frameWidth);
        EXPECT_EQ(w.height, c.frameHeight);
        EXPECT_EQ(mismatch(w, c.expected), "") << c.h << "x" << c.v;
    }
}

TEST(Render, DepthsAgreeAndRowPaddingIsLeftAlone) {
    const std::tuple<int, size_t, float> cases[] = {{8, 4, 255}, {16, 8, 32768}, {32, 16, 1}};
    for (auto [bits, pixel, white] : cases) {
        Builder b(bits);
        Id comp = b.comp(9, 5);
        b.layer(comp, b.solid(4, 5, {0, 1, 0, 1})).opacity.value = 50;
        b.layer(comp, b.solid(2, 5, {0, 0, 1, 1}));
        World w = b.render(comp);
        ASSERT_EQ(w.type, worldTypeForBitsPerChannel(bits));
        ASSERT_EQ(w.rowBytes, 9 * pixel + 32) << bits;
        for (int y = 0; y < w.height; ++y)
            for (size_t i = 9 * pixel; i < w.rowBytes; ++i)
                ASSERT_EQ(w.data[w.rowBytes * y + i], kPaddingByte) << bits;
        const float opaque = 1, half = bits == 32 ? 0.5f : std::round(white / 2) / white;
        const float expectedAlpha[] = {opaque, opaque, half, half, 0, 0, 0, 0, 0};
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(readPixel(w, x, 2).alpha, expectedAlpha[x]) << bits;
        EXPECT_EQ(readPixel(w, 1, 4).green, half) << bits;  // half green over blue
        EXPECT_EQ(readPixel(w, 1, 4).blue, half) << bits;
    }
}

// Shifts every parentless layer of a composition (children follow their parents).
void moveTopLevel(Builder& b, Id comp, double dx, double dy) {
    for (Layer& l : b.p.findItem(comp)->comp.layers)
        if (l.parent == 0) l.position.value = {l.position.value.x + dx, l.position.value.y + dy, 0};
}

TEST(Render, MovingEveryLayerShiftsThePixels) {
    Builder b(32);
    Id inner = b.comp(30, 30);
    Layer& spun = b.layer(inner, b.solid(24, 24, {0, 0, 1, 1}));
    spun.anchorPoint.value = {12, 12, 0};
    spun.position.value = {15, 15, 0};
    spun.rotation.value = 30;
    Id outer = b.comp(96, 80);
    Layer& nested = b.layer(outer, inner);
    nested.position.value = {40, 30, 0};
    nested.masks = {mask(circlePath(15, 15, 12))};
    Id img = b.image(9, 7, [](int x, int y) {
        return std::array<uint8_t, 4>{uint8_t(x * 25), uint8_t(y * 30), 90, uint8_t(128 + x * 10)};
    });
    Layer& turned = b.layer(outer, img);
    turned.position.value = {20.5, 50, 0};
    turned.anchorPoint.value = {4.5, 3, 0};
    turned.rotation.value = 37;
    turned.scale.value = {150, 80, 100};
    Id turnedId = turned.id;
    Layer& child = b.layer(outer, b.solid(10, 6, {0, 1, 0, 0.5}));
    child.parent = turnedId;
    child.position.value = {3, 2, 0};
    child.rotation.value = -90;
    const std::tuple<int, int, int> shifts[] = {{7, 3, 1}, {-5, 11, 1}, {0, -9, 1}, {8, -4, 2}};
    for (auto [dx, dy, f] : shifts) {
        World before = b.render(outer, Rational(0), f, f);
        moveTopLevel(b, outer, dx, dy);
        World after = b.render(outer, Rational(0), f, f);
        moveTopLevel(b, outer, -dx, -dy);
        int sx = dx / f, sy = dy / f, compared = 0, drawn = 0;
        for (int y = std::max(0, sy); y < std::min(after.height, before.height + sy); ++y) {
            for (int x = std::max(0, sx); x < std::min(after.width, before.width + sx); ++x) {
                ++compared;
                drawn += readPixel32(before, x - sx, y - sy).alpha > 0;
                ASSERT_EQ(std::memcmp(pixelAddress(after, x, y),
                                      pixelAddress(before, x - sx, y - sy), 16),
                          0)
                    << "shift " << dx << "," << dy << " at " << x << "," << y;
            }
        }
        EXPECT_GT(drawn, 100);  // the comparison covers real content
    }
}

// Footage with 16 bits per channel, as the host holds it at each depth: its faintest alphas show
// in 16 and 32 bpc projects and round away in 8 bpc ones.
TEST(Render, SixteenBitFootageKeepsItsBitsWhereTheProjectDoes) {
    const std::pair<int, bool> depths[] = {{8, false}, {16, true}, {32, true}};
    for (auto [bits, faintShows] : depths) {
        Builder b(bits);
        auto img = std::make_shared<ImageData>();
        img->width = 3;
        img->height = 1;
        // Opaque red, alpha 1 and alpha 128 of 65535 (white).
        img->rgba16 = {65535, 0, 0, 65535, 65535, 65535, 65535, 1, 65535, 65535, 65535, 128};
        Item& footage = b.add(ItemType::Image, 3, 1);
        footage.image = img;
        const Id source = footage.id;
        Id comp = b.comp(3, 1);
        b.layer(comp, source);
        World w = b.render(comp);
        SCOPED_TRACE(bits);
        EXPECT_EQ(readPixel(w, 0, 0).alpha, 1.0f);
        EXPECT_EQ(readPixel(w, 1, 0).alpha > 0, faintShows);
        EXPECT_EQ(readPixel(w, 2, 0).alpha > 0, faintShows);
        if (bits == 32) {
            EXPECT_FLOAT_EQ(readPixel(w, 2, 0).alpha, 128 / 65535.0f);
        }
    }
}

// A few units in the last place away: what a position, anchor or mask point computed another way
// (multiplied and divided by the same ratio) comes out as.
double ulpsAway(double v, int ulps) {
    for (int i = 0; i < std::abs(ulps); ++i)
        v = std::nextafter(v, ulps < 0 ? -1e300 : 1e300);
    return v;
}

// Every row puts the sample of one frame pixel exactly on a source pixel's corner (the centre of
// frame pixel (40, 30) maps onto the anchor point), where the last bits would decide which pixel is
// sampled, and a mask edge through source pixel centres.
TEST(Render, OneGeometryUpToRoundingSamplesTheSamePixelsAndAHundredthOfAPixelShows) {
    const std::pair<double, double> rows[] = {{10, 0},  {25, 0},    {50, 90},  {70, 0},   {70, 90},
                                              {75, 30}, {90, 0},    {110, 0},  {110, 90}, {125, 45},
                                              {150, 0}, {175, 180}, {200, -30}};
    for (auto [scale, rotation] : rows) {
        Builder b;
        Id comp = b.comp(96, 64);
        Id img = b.image(40, 20, [](int x, int y) {
            return std::array<uint8_t, 4>{uint8_t(x * 6), uint8_t(y * 12), 200, 255};
        });
        Layer& l = b.layer(comp, img);
        l.anchorPoint.value = {20, 10, 0};
        l.position.value = {40.5, 30.5, 0};
        l.scale.value = {scale, scale, 100};
        l.rotation.value = rotation;
        l.masks = {mask(rectPath(2.5, 1.5, 30.5, 15.5))};
        const Id id = l.id;
        const World exact = b.render(comp);
        std::string what =
            "scale " + std::to_string(scale) + ", rotation " + std::to_string(rotation);
        for (int ulps : {-3, -1, 1, 3}) {
            Layer& moved = b.get(id);
            moved.anchorPoint.value = {ulpsAway(20, ulps), ulpsAway(10, ulps), 0};
            moved.position.value = {ulpsAway(40.5, -ulps), ulpsAway(30.5, -ulps), 0};
            moved.masks = {mask(rectPath(ulpsAway(2.5, ulps), ulpsAway(1.5, -ulps),
                                         ulpsAway(30.5, ulps), ulpsAway(15.5, -ulps)))};
            EXPECT_TRUE(b.render(comp).data == exact.data) << what << ", " << ulps << " ulps";
        }
        // A sample on an edge falls on one side of it moved one way and on the other moved the
        // other way.
        Layer& real = b.get(id);
        real.anchorPoint.value = {20, 10, 0};
        real.masks = {mask(rectPath(2.5, 1.5, 30.5, 15.5))};
        real.position.value = {40.51, 30.51, 0};
        const World right = b.render(comp);
        b.get(id).position.value = {40.49, 30.49, 0};
        EXPECT_TRUE(b.render(comp).data != right.data) << what << ": a move of 0.01 pixel shows";
    }
}

TEST(Render, RejectsWhatTheHostWouldRefuse) {
    Builder b;
    Id comp = b.comp(10, 10);
    Id solid = b.solid(5, 5);
    EXPECT_THROW(b.render(solid), std::invalid_argument);
    EXPECT_THROW(b.render(comp, Rational(0), 0, 1), std::invalid_argument);
    b.layer(comp, comp);
    EXPECT_THROW(b.render(comp), std::runtime_error);
}

}  // namespace
}  // namespace simtest
