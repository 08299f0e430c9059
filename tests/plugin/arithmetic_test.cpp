// Times compared and added as rationals, edges rounded down to whole pixels, and the running union
// of rectangles the crop over the duration keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "Crop.h"
#include "cropUtil.h"

namespace {

TEST(Times, CompareAsFractionsWhateverTheirScales) {
    struct Case {
        A_Time a, b;
        int expected;
    } cases[] = {
        {{1, 2}, {15, 30}, 0},
        {{1, 3}, {10, 30}, 0},
        {{44, 30}, {3, 2}, -1},
        {{46, 30}, {3, 2}, 1},
        {{-1, 10}, {0, 1}, -1},
        {{0, 1}, {0, 7}, 0},
        {{2147483647, 1}, {2147483646, 1}, 1},  // no overflow in the cross products
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cropUtil::CompareTimes(c.a, c.b), c.expected)
            << c.a.value << "/" << c.a.scale << " vs " << c.b.value << "/" << c.b.scale;
        EXPECT_EQ(cropUtil::CompareTimes(c.b, c.a), -c.expected);
    }
}

TEST(Times, AddKeepsACommonScaleAndStaysInRange) {
    A_Time same = cropUtil::AddTimes({10, 30}, {20, 30});
    EXPECT_EQ(same.value, 30);
    EXPECT_EQ(same.scale, 30u);
    A_Time mixed = cropUtil::AddTimes({1, 2}, {1, 3});  // 5/6
    EXPECT_EQ(cropUtil::CompareTimes(mixed, {5, 6}), 0);
    // Sums beyond the 32-bit value are scaled down instead of wrapping around.
    A_Time big = cropUtil::AddTimes({2000000000, 1}, {2000000000, 1});
    EXPECT_GT(big.value, 0);
    EXPECT_EQ(cropUtil::CompareTimes(big, {2147483647, 1}), 0) << "saturated, not wrapped";
    A_Time wide = cropUtil::AddTimes({1, 100000}, {1, 100003});
    EXPECT_GT(wide.value, 0);
    EXPECT_NEAR(static_cast<double>(wide.value) / wide.scale, 1.0 / 100000 + 1.0 / 100003, 1e-9);
}

TEST(Times, SecondsHoldAThousandthOfAFrame) {
    struct Case {
        double seconds;
        A_Time frame, expected;
    } cases[] = {
        {1.5, {1, 30}, {45000, 30000}},
        {1.0 / 300, {1, 30}, {100, 30000}},         // between two frames of the grid
        {0.1234567, {1001, 30000}, {3700, 29971}},  // 29.97 fps: 29,971 steps a second
        {-0.25, {1, 24}, {-6000, 24000}},
        {1e6, {1, 30}, {1875000000, 1875}},  // the scale halves until the value fits
        {1e300, {1, 30}, {2147483647, 1}},   // beyond even whole seconds: the largest
        {std::nan(""), {1, 30}, {0, 30000}},
        {2.5, {0, 0}, {2500, 1000}},  // a frame that says nothing: milliseconds
    };
    for (const Case& k : cases) {
        A_Time t = cropUtil::SecondsToTime(k.seconds, k.frame);
        EXPECT_EQ(t.value, k.expected.value) << k.seconds;
        EXPECT_EQ(t.scale, k.expected.scale) << k.seconds;
    }
}

TEST(Rectangles, ExpandedBoundsAndLimitsWithinTheComposition) {
    crop::CroppingBounds e = crop::expandedBounds(1918, 1081, 20);
    EXPECT_EQ(e.left, -20);
    EXPECT_EQ(e.top, -20);
    EXPECT_EQ(e.right, 1938);
    EXPECT_EQ(e.bottom, 1101);
    EXPECT_EQ(e.width, 1918);
    EXPECT_EQ(e.height, 1081);
    // No limit becomes the composition's last column and row in the frame's pixels, so that a
    // scaled edge never passes them; a mask's limit is narrowed to them.
    A_FloatRect none = crop::limitInFramePixels(crop::kNoLimit, 4, 4, 1918, 1081);
    EXPECT_EQ(none.left, 0);
    EXPECT_EQ(none.top, 0);
    EXPECT_EQ(none.right, 1917.0 / 4);
    EXPECT_EQ(none.bottom, 1080.0 / 4);
    A_FloatRect mask = crop::limitInFramePixels({-8, 10, 4000, 400}, 2, 2, 1918, 1081);
    EXPECT_EQ(mask.left, -4);
    EXPECT_EQ(mask.top, 5);
    EXPECT_EQ(mask.right, 1917.0 / 2);
    EXPECT_EQ(mask.bottom, 200);
}

TEST(FloorToInt32, RoundsDownAndClampsInsteadOfOverflowing) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double in;
        int32_t out;
    } cases[] = {
        {10.7, 10},
        {-0.5, -1},
        {-20.0, -20},
        {1e300, INT32_MAX},
        {-1e300, INT32_MIN},
        {inf, INT32_MAX},
        {-inf, INT32_MIN},
        {2147483647.9, INT32_MAX},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cropUtil::FloorToInt32(c.in), c.out) << c.in;
}

crop::CroppingBounds rect(double top, double bottom, double left, double right) {
    return crop::CroppingBounds{top, bottom, left, right, 400, 300};
}

TEST(UnionOverTime, FirstFrameWholeThenEdgesWidenAndNaNLoses) {
    crop::CroppingBounds u = {1, 0, 1, 0, 0, 0};
    bool first = true;
    crop::CroppingBounds f1 = {10, 20, 30, 40, 400, 300};
    crop::mergeBounds(&u, f1, &first);
    EXPECT_FALSE(first);
    EXPECT_EQ(u.width, 400);
    EXPECT_EQ(u.height, 300);
    crop::mergeBounds(&u, {5, 15, 35, 60, 999, 999}, &first);
    EXPECT_EQ(u.top, 5);
    EXPECT_EQ(u.bottom, 20);
    EXPECT_EQ(u.left, 30);
    EXPECT_EQ(u.right, 60);
    EXPECT_EQ(u.width, 400) << "the size stays the first frame's";
    crop::mergeBounds(&u, rect(std::nan(""), std::nan(""), std::nan(""), std::nan("")), &first);
    EXPECT_EQ(u.top, 5);
    EXPECT_EQ(u.right, 60);
    // An empty frame's inverted bounds (top = height, bottom = 0) do not widen the union.
    crop::mergeBounds(&u, rect(300, 0, 400, 0), &first);
    EXPECT_EQ(u.top, 5);
    EXPECT_EQ(u.bottom, 20);
    EXPECT_EQ(u.left, 30);
    EXPECT_EQ(u.right, 60);
}

TEST(UnionOverTime, MaskBoundsStartUnsetAndClipRoundsDown) {
    A_FloatRect masks = crop::kNoLimit;
    crop::mergeMaskBounds(&masks, {100.5, 90.25, 200.75, 160.5});
    EXPECT_EQ(masks.left, 100.5) << "-1 marks an edge no frame has set";
    EXPECT_EQ(masks.top, 90.25);
    crop::mergeMaskBounds(&masks, {120, 80, 190, 170.5});
    EXPECT_EQ(masks.left, 100.5);
    EXPECT_EQ(masks.top, 80);
    EXPECT_EQ(masks.right, 200.75);
    EXPECT_EQ(masks.bottom, 170.5);

    crop::CroppingBounds b = rect(50, 200, 90, 250);
    crop::clipToMasks(&b, masks);
    EXPECT_EQ(b.top, 80);      // the mask's top is inside: taken
    EXPECT_EQ(b.left, 100);    // 100.5 rounded down
    EXPECT_EQ(b.right, 200);   // 200.75 rounded down
    EXPECT_EQ(b.bottom, 170);  // 170.5 rounded down
    crop::CroppingBounds inside = rect(100, 120, 130, 150);
    crop::clipToMasks(&inside, masks);
    EXPECT_EQ(inside.top, 100) << "content inside the masks keeps its edges";
    EXPECT_EQ(inside.right, 150);
}

TEST(SampleTimes, RunsMergeInOrderEachTimeOnce) {
    crop::SampleTimes times;
    times.add({0, 10}, {1, 10}, {10, 10});  // a 10 fps source's own frames, 0 to 0.9 s
    times.add({0, 30}, {1, 30}, {30, 30});  // a 30 fps use: two more between each pair
    times.add({1, 20}, {1, 10}, {19, 20});  // a use half a frame late: 0.05 to 0.85 s
    times.add({0, 10}, {1, 10}, {5, 10});   // a use at the source's rate and phase
    times.add({3, 10}, {0, 10}, {9, 10});   // a step that never advances: ignored
    std::vector<double> seen;
    A_Time t = {0, 1};
    while (times.next(&t))
        seen.push_back(static_cast<double>(t.value) / t.scale);
    EXPECT_EQ(seen.size(), 30u + 9u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "no time twice";
    EXPECT_EQ(seen.back(), 29.0 / 30);
}

TEST(SampleTimes, ProgressRunsFromOneToAHundred) {
    EXPECT_EQ(crop::percentAt({0, 10}, {10, 10}), 1);
    EXPECT_EQ(crop::percentAt({9, 10}, {10, 10}), 91);
    EXPECT_EQ(crop::percentAt({29, 30}, {10, 10}), 97);  // a time of another scale
    EXPECT_EQ(crop::percentAt({10, 10}, {10, 10}), 100);
    EXPECT_EQ(crop::percentAt({0, 1}, {0, 1}), 100);
}

TEST(UnionOverTime, TheWholeFrameIsWhatNoFrameCanWiden) {
    crop::Measurement m = {nullptr, 4, 4, 0, 1918, 1081};
    crop::CroppingBounds whole = crop::wholeFrameBounds(m, 3);
    EXPECT_EQ(whole.left, -3);
    EXPECT_EQ(whole.top, -3);
    EXPECT_EQ(whole.right, 1916 + 3) << "the last column of a quarter frame, scaled";
    EXPECT_EQ(whole.bottom, 1080 + 3);
    EXPECT_TRUE(crop::covers(whole, whole));
    crop::CroppingBounds u = whole;
    u.right -= 1;
    EXPECT_FALSE(crop::covers(u, whole));
    m.fullResolution = 1;
    EXPECT_EQ(crop::wholeFrameBounds(m, 0).right, 1917);
}

TEST(ScriptString, NamesCannotEndTheStringOrTheLine) {
    auto convert = [](std::u16string s) {
        return cropUtil::ScriptStringFromUTF16(reinterpret_cast<const A_UTF16Char*>(s.c_str()));
    };
    EXPECT_EQ(convert(u"Shot 1"), "Shot 1");
    EXPECT_EQ(convert(u"it's \"x\" \\ y"), "it\\'s \\\"x\\\" \\\\ y");
    EXPECT_EQ(convert(u"a\r\nb\u2028c"), "a\\u000d\\u000ab\\u2028c");
    EXPECT_EQ(convert(u"Caf\u00e9 \u65e5"), "Caf\xc3\xa9 \xe6\x97\xa5");
    EXPECT_EQ(convert(u"\U0001F600"), "\xf0\x9f\x98\x80") << "a surrogate pair is one character";
    std::u16string lone = u"a";
    lone += static_cast<char16_t>(0xD800);
    EXPECT_EQ(convert(lone), "a\xef\xbf\xbd") << "a lone surrogate becomes U+FFFD";
    EXPECT_EQ(cropUtil::ScriptStringFromUTF16(nullptr), "");
}

}  // namespace
