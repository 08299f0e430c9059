// Evaluation of keyframed streams: linear, hold and Bézier segments, and outside the keys.
#include <gtest/gtest.h>

#include "Model.h"

using sim::Animatable;
using sim::Interp;
using sim::Rational;
using sim::valueAt;

namespace {

Animatable<double> twoKeys(Interp out0, Interp in1) {
    Animatable<double> s;
    s.keys.push_back({Rational(1), 10.0, Interp::Linear, out0});
    s.keys.push_back({Rational(3), 30.0, in1, Interp::Linear});
    s.value = 10;
    return s;
}

}  // namespace

TEST(ValueAt, StaticStreamIgnoresTime) {
    Animatable<double> s{42, {}};
    EXPECT_EQ(valueAt(s, Rational(-5)), 42);
    EXPECT_EQ(valueAt(s, Rational(1000)), 42);
}

TEST(ValueAt, BeforeTheFirstAndAfterTheLastKeyHoldsTheirValues) {
    auto s = twoKeys(Interp::Linear, Interp::Linear);
    EXPECT_EQ(valueAt(s, Rational(0)), 10);
    EXPECT_EQ(valueAt(s, Rational(1)), 10);
    EXPECT_EQ(valueAt(s, Rational(3)), 30);
    EXPECT_EQ(valueAt(s, Rational(7, 2)), 30);
}

TEST(ValueAt, LinearSegment) {
    auto s = twoKeys(Interp::Linear, Interp::Linear);
    EXPECT_DOUBLE_EQ(valueAt(s, Rational(2)), 20);
    EXPECT_DOUBLE_EQ(valueAt(s, Rational(3, 2)), 15);
}

TEST(ValueAt, HoldOnEitherSideKeepsTheEarlierValueUntilTheNextKey) {
    for (auto s : {twoKeys(Interp::Hold, Interp::Linear), twoKeys(Interp::Linear, Interp::Hold)}) {
        EXPECT_EQ(valueAt(s, Rational(2)), 10);
        EXPECT_EQ(valueAt(s, Rational(299, 100)), 10);
        EXPECT_EQ(valueAt(s, Rational(3)), 30);
    }
}

TEST(ValueAt, BezierOnBothSidesEasesWhileOneSideAloneStaysLinear) {
    auto eased = twoKeys(Interp::Bezier, Interp::Bezier);
    // A quarter of the way: smoothstep(0.25) = 0.15625.
    EXPECT_DOUBLE_EQ(valueAt(eased, Rational(3, 2)), 10 + 20 * 0.15625);
    EXPECT_DOUBLE_EQ(valueAt(eased, Rational(2)), 20);
    auto half = twoKeys(Interp::Bezier, Interp::Linear);
    EXPECT_DOUBLE_EQ(valueAt(half, Rational(3, 2)), 15);
}

TEST(ValueAt, VectorsInterpolateEachComponent) {
    Animatable<sim::Vec3> s;
    s.keys.push_back({Rational(0), {0, 100, 0}, Interp::Linear, Interp::Linear});
    s.keys.push_back({Rational(1), {50, 0, 10}, Interp::Linear, Interp::Linear});
    sim::Vec3 v = valueAt(s, Rational(1, 5));
    EXPECT_DOUBLE_EQ(v.x, 10);
    EXPECT_DOUBLE_EQ(v.y, 80);
    EXPECT_DOUBLE_EQ(v.z, 2);
}

TEST(ValueAt, MaskPathsInterpolatePointsOrHoldWhenCountsDiffer) {
    sim::MaskPath a{{{0, 0}, {10, 0}}, {{0, 0}, {0, 0}}, {{2, 2}, {0, 0}}, true};
    sim::MaskPath b{{{10, 10}, {20, 0}}, {{0, 0}, {0, 4}}, {{0, 0}, {0, 0}}, true};
    Animatable<sim::MaskPath> s;
    s.keys.push_back({Rational(0), a, Interp::Linear, Interp::Linear});
    s.keys.push_back({Rational(2), b, Interp::Linear, Interp::Linear});
    sim::MaskPath mid = valueAt(s, Rational(1));
    EXPECT_EQ(mid.vertices[0], (sim::Vec2{5, 5}));
    EXPECT_EQ(mid.vertices[1], (sim::Vec2{15, 0}));
    EXPECT_EQ(mid.inTangents[1], (sim::Vec2{0, 2}));
    EXPECT_EQ(mid.outTangents[0], (sim::Vec2{1, 1}));

    s.keys[1].value.vertices.push_back({0, 10});
    s.keys[1].value.inTangents.push_back({0, 0});
    s.keys[1].value.outTangents.push_back({0, 0});
    EXPECT_EQ(valueAt(s, Rational(1)), a);
}
