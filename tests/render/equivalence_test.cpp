// The renderer against the straightforward one on generated scenes: every byte of every frame the
// same, at every depth, downsampling and thread count, frame after frame into reused memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "ReferenceRenderer.h"
#include "RenderTestUtil.h"

namespace simtest {
namespace {

// Draws from a seeded generator; raw mt19937 output only, so scenes are the same everywhere.
struct Dice {
    std::mt19937 gen;
    explicit Dice(uint32_t seed) : gen(seed) {}
    int range(int lo, int hi) { return lo + static_cast<int>(gen() % uint32_t(hi - lo + 1)); }
    bool chance(int percent) { return range(0, 99) < percent; }
    double real(double lo, double hi) { return lo + (hi - lo) * (gen() / 4294967296.0); }
    // Whole, half and arbitrary values: the first two put pixel centres on edges.
    double coordinate(double lo, double hi) {
        switch (range(0, 2)) {
            case 0:
                return range(static_cast<int>(lo), static_cast<int>(hi));
            case 1:
                return range(static_cast<int>(lo), static_cast<int>(hi)) + 0.5;
            default:
                return real(lo, hi);
        }
    }
};

Mask randomMask(Dice& d, int w, int h) {
    const MaskMode modes[] = {MaskMode::Add, MaskMode::Subtract, MaskMode::Intersect,
                              MaskMode::None};
    MaskPath path = d.chance(50)
                        ? rectPath(d.coordinate(-5, w), d.coordinate(-5, h), d.coordinate(0, w + 5),
                                   d.coordinate(0, h + 5), d.chance(85))
                        : circlePath(d.real(0, w), d.real(0, h), d.real(2, w));
    return mask(path, modes[d.range(0, 3)], d.chance(25));
}

// A layer of `source` (w x h) in composition `comp`, transformed at random.
void randomLayer(Dice& d, Builder& b, Id comp, Id source, int w, int h, int compW, int compH) {
    Layer& l = b.layer(comp, source);
    l.position.value = {d.coordinate(-w, compW + w), d.coordinate(-h, compH + h), 0};
    if (d.chance(50)) l.anchorPoint.value = {d.coordinate(0, w), d.coordinate(0, h), 0};
    if (d.chance(40)) {
        const double sx = d.chance(20) ? -d.real(20, 250) : d.real(20, 250);
        l.scale.value = {sx, d.chance(50) ? sx : d.real(20, 250), 100};
    }
    const double turns[] = {0, 90, 180, 270, -90, 30, 45, 12.5};
    if (d.chance(45)) l.rotation.value = d.chance(70) ? turns[d.range(0, 7)] : d.real(-360, 360);
    if (d.chance(35)) l.opacity.value = d.real(0, 100);
    if (d.chance(40)) {
        l.position.keys = {{Rational(0), l.position.value, Interp::Linear, Interp::Linear},
                           {Rational(1), Vec3{d.coordinate(-w, compW), d.coordinate(-h, compH), 0},
                            Interp::Linear, Interp::Linear}};
    }
    if (d.chance(15)) l.inPoint = Rational(1, 2);
    const int masks = d.chance(40) ? d.range(1, 3) : 0;
    for (int i = 0; i < masks; ++i)
        l.masks.push_back(randomMask(d, w, h));
}

// A composition of solids, images, and (depth > 0) nested compositions.
Id randomComp(Dice& d, Builder& b, int w, int h, int depth) {
    const Id comp = b.comp(w, h);
    const int layers = d.range(1, 6);
    std::vector<Id> ids;
    for (int i = 0; i < layers; ++i) {
        const int kind = d.range(0, depth > 0 ? 3 : 2);
        int sw = d.range(1, w), sh = d.range(1, h);
        Id source;
        if (kind == 0 || kind == 1) {
            source = b.solid(
                sw, sh,
                {d.real(0, 1), d.real(0, 1), d.real(0, 1), d.chance(60) ? 1.0 : d.real(0, 1)});
        } else if (kind == 2) {
            const uint32_t seed = d.gen();
            source = b.image(sw, sh, [seed](int x, int y) {
                const uint32_t v =
                    (seed ^ (uint32_t(x) * 73856093u) ^ (uint32_t(y) * 19349663u)) * 2654435761u;
                return std::array<uint8_t, 4>{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16),
                                              uint8_t((v >> 24) < 40 ? 0 : v >> 24)};
            });
        } else {
            sw = d.range(8, w);
            sh = d.range(8, h);
            source = randomComp(d, b, sw, sh, depth - 1);
        }
        randomLayer(d, b, comp, source, sw, sh, w, h);
        Layer& l = b.p.findItem(comp)->comp.layers.back();
        if (kind == 3 && d.chance(30)) {
            l.timeRemapEnabled = true;
            l.timeRemap.value = d.real(0, 2);
        }
        ids.push_back(l.id);
    }
    // Some layers follow an earlier one.
    Comp& c = b.p.findItem(comp)->comp;
    for (size_t i = 1; i < c.layers.size(); ++i)
        if (d.chance(20)) c.layers[i].parent = ids[static_cast<size_t>(d.range(0, int(i) - 1))];
    return comp;
}

std::string firstDifference(const World& got, const World& want) {
    if (got.type != want.type || got.width != want.width || got.height != want.height ||
        got.rowBytes != want.rowBytes)
        return "layout differs";
    for (size_t i = 0; i < want.data.size(); ++i)
        if (got.data[i] != want.data[i])
            return "byte " + std::to_string(i) + " (row " + std::to_string(i / want.rowBytes) +
                   ") is " + std::to_string(got.data[i]) + ", expected " +
                   std::to_string(want.data[i]);
    return "";
}

TEST(RenderEquivalence, GeneratedScenesMatchThePlainRendererByteForByte) {
    const int depths[] = {8, 16, 32};
    for (uint32_t seed = 1; seed <= 90; ++seed) {
        Dice d(seed);
        // Every tenth scene is large enough to be composited on several threads.
        const bool large = seed % 10 == 0;
        Builder b(depths[seed % 3]);
        const int w = large ? d.range(400, 700) : d.range(16, 160);
        const int h = large ? d.range(300, 500) : d.range(16, 120);
        const Id comp = randomComp(d, b, w, h, 2);
        RenderSettings settings;
        settings.extraRowBytes = 16 * d.range(0, 3);
        settings.threads = d.range(0, 2);
        ReusableFrame frame;
        RenderScratch scratch;
        for (int step = 0; step < 4; ++step) {
            const Rational t(d.range(0, 12), 8);
            const int dh = d.chance(70) ? 1 : d.range(2, 3), dv = d.chance(70) ? dh : d.range(1, 3);
            renderComp(b.p, comp, t, dh, dv, frame, scratch, settings);
            const World want = reference::render(b.p, comp, t, dh, dv, settings.extraRowBytes);
            ASSERT_EQ(firstDifference(frame.world, want), "")
                << "seed " << seed << ", step " << step << ", time " << t.toString() << ", " << dh
                << "x" << dv << ", " << b.p.bitsPerChannel << " bpc";
            ASSERT_EQ(firstDifference(renderComp(b.p, comp, t, dh, dv, settings), want), "")
                << "fresh frame, seed " << seed;
        }
    }
}

TEST(RenderEquivalence, AFrameRenderedAgainClearsWhatTheLastOneDrewAndKeepsItsPadding) {
    Builder b(16);
    const Id comp = b.comp(90, 70);
    Layer& box = b.layer(comp, b.solid(30, 20, {0, 1, 0, 1}));
    box.position.keys = {{Rational(0), {0, 0, 0}, Interp::Linear, Interp::Linear},
                         {Rational(1), {60, 50, 0}, Interp::Linear, Interp::Linear}};
    ReusableFrame frame;
    RenderScratch scratch;
    for (int f = 0; f <= 4; ++f) {
        const Rational t(f, 4);
        renderComp(b.p, comp, t, 1, 1, frame, scratch);
        EXPECT_EQ(firstDifference(frame.world, reference::render(b.p, comp, t, 1, 1, 32)), "")
            << "frame " << f;
    }
    // Nothing visible at all: the whole last box goes.
    b.get(box.id).video = false;
    renderComp(b.p, comp, Rational(0), 1, 1, frame, scratch);
    EXPECT_EQ(firstDifference(frame.world, reference::render(b.p, comp, Rational(0), 1, 1, 32)),
              "");
    // A frame of another depth or size is made anew.
    b.p.bitsPerChannel = 8;
    renderComp(b.p, comp, Rational(0), 2, 2, frame, scratch);
    EXPECT_EQ(frame.world.type, kWorld8);
    EXPECT_EQ(frame.world.width, 45);
}

TEST(RenderEquivalence, AFailedRenderLeavesTheFrameAsItWas) {
    Builder b;
    const Id comp = b.comp(40, 30);
    b.layer(comp, b.solid(10, 10));
    ReusableFrame frame;
    RenderScratch scratch;
    renderComp(b.p, comp, Rational(0), 1, 1, frame, scratch);
    const World before = frame.world;
    b.layer(comp, comp);  // the composition now contains itself
    EXPECT_THROW(renderComp(b.p, comp, Rational(0), 1, 1, frame, scratch), std::runtime_error);
    EXPECT_EQ(firstDifference(frame.world, before), "");
}

}  // namespace
}  // namespace simtest
