// Measuring a frame through the host's world suite: limit rectangle, factors, padding and the
// error chain.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Crop.h"
#include "FakeHost.h"

namespace {

const A_FloatRect kNoLimit = {-1.0, -1.0, -1.0, -1.0};

crop::CroppingBounds measure(FakeHost& host, short h = 1, short v = 1, A_FloatRect limit = kNoLimit,
                             A_Err* errP = nullptr) {
    crop::CroppingBounds b{};
    AEGP_WorldH world = reinterpret_cast<AEGP_WorldH>(&host);
    A_Err err = crop::findCropBounds(host.basic(), &world, h, v, &b, limit);
    if (errP)
        *errP = err;
    else
        EXPECT_EQ(err, A_Err_NONE);
    return b;
}

void expectBounds(const crop::CroppingBounds& b, double top, double bottom, double left,
                  double right, A_long width, A_long height) {
    EXPECT_EQ(b.top, top);
    EXPECT_EQ(b.bottom, bottom);
    EXPECT_EQ(b.left, left);
    EXPECT_EQ(b.right, right);
    EXPECT_EQ(b.width, width);
    EXPECT_EQ(b.height, height);
}

TEST(FindCropBounds, ContentAtEveryDepthWithPaddedRows) {
    for (AEGP_WorldType t : {AEGP_WorldType_8, AEGP_WorldType_16, AEGP_WorldType_32}) {
        FakeHost host;
        host.makeWorld(t, 64, 48, 40);
        host.setAlpha(10, 5, 1);
        host.setAlpha(30, 40, 1);
        expectBounds(measure(host), 5, 40, 10, 30, 64, 48);
    }
}

TEST(FindCropBounds, EmptyFrameIsInvertedEvenWithPadding) {
    FakeHost host;
    host.makeWorld(AEGP_WorldType_8, 100, 60, 0);
    expectBounds(measure(host), 60, 0, 100, 0, 100, 60);
    host.flags["Padding"] = 1;
    host.longs["PaddingAmount"] = 10;
    crop::CroppingBounds b = measure(host);
    expectBounds(b, 50, 10, 90, 10, 100, 60);
    EXPECT_GT(b.top, b.bottom);
}

TEST(FindCropBounds, ContentReachingEveryBorder) {
    FakeHost host;
    host.makeWorld(AEGP_WorldType_32, 20, 10, 16);
    host.setAlpha(0, 0, 0.5);
    host.setAlpha(19, 9, 0.5);
    expectBounds(measure(host), 0, 9, 0, 19, 20, 10);
}

TEST(FindCropBounds, FactorsScaleIndicesNotSpans) {
    FakeHost host;
    host.makeWorld(AEGP_WorldType_8, 50, 40, 0);
    host.setAlpha(3, 7, 255);
    host.setAlpha(20, 30, 255);
    // Rendered at half horizontally and third vertically: last row r becomes 3r, not 3r + 2.
    expectBounds(measure(host, 2, 3), 21, 90, 6, 40, 100, 120);
}

TEST(FindCropBounds, LimitNarrowsBeforeScaling) {
    FakeHost host;
    host.makeWorld(AEGP_WorldType_8, 301, 201, 0);
    host.setAlpha(0, 0, 255);
    host.setAlpha(300, 200, 255);
    A_FloatRect limit = {10.7, 20.2, 100.9, 80.5};
    expectBounds(measure(host, 1, 1, limit), 20, 80, 10, 100, 301, 201);
    expectBounds(measure(host, 2, 2, limit), 40, 160, 20, 200, 602, 402);

    struct Ignored {
        const char* what;
        A_FloatRect limit;
    } ignored[] = {
        {"right is -1", {50, 50, -1.0, 60}},
        {"bottom is -1", {50, 50, 60, -1.0}},
    };
    for (const Ignored& c : ignored) {
        SCOPED_TRACE(c.what);
        expectBounds(measure(host, 1, 1, c.limit), 0, 200, 0, 300, 301, 201);
    }
    // NaN edges take part (they are not -1) but never win a comparison.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    expectBounds(measure(host, 1, 1, {nan, nan, nan, nan}), 0, 200, 0, 300, 301, 201);
    // Edges beyond the integer range are clamped instead of overflowing.
    crop::CroppingBounds huge = measure(host, 1, 1, {-1e300, 1e300, -1e300, -1e300});
    EXPECT_EQ(huge.top, static_cast<double>(std::numeric_limits<int32_t>::max()));
    EXPECT_EQ(huge.right, static_cast<double>(std::numeric_limits<int32_t>::min()));
}

TEST(FindCropBounds, PaddingPreferenceWidensEveryEdgeWhateverTheFactors) {
    FakeHost host;
    host.makeWorld(AEGP_WorldType_16, 80, 60, 8);
    host.setAlpha(20, 10, 1);
    host.setAlpha(40, 30, 1);
    host.longs["PaddingAmount"] = 10;
    expectBounds(measure(host), 10, 30, 20, 40, 80, 60);  // "Padding" absent: amount not applied
    EXPECT_EQ(
        std::count(host.calls.begin(), host.calls.end(), std::string("GetLong PaddingAmount")), 0)
        << "the amount is not read while padding is off";
    host.flags["Padding"] = 1;
    expectBounds(measure(host), 0, 40, 10, 50, 80, 60);
    expectBounds(measure(host, 2, 2), 10, 70, 30, 90, 160, 120);
    host.longs["PaddingAmount"] = -10;
    expectBounds(measure(host), 10, 30, 20, 40, 80, 60);  // a negative amount counts as none
}

TEST(FindCropBounds, RowBytesShorterThanTheWidthAreRefused) {
    FakeHost host;
    host.makeWorld(AEGP_WorldType_8, 10, 10, 0);
    host.rowBytes = 20;  // half a row: scanning would read past the frame
    A_Err err = A_Err_NONE;
    crop::CroppingBounds b = measure(host, 1, 1, kNoLimit, &err);
    EXPECT_NE(err, A_Err_NONE);
    expectBounds(b, 10, 0, 10, 0, 10, 10);
}

TEST(FindCropBounds, FirstHostErrorStopsLaterCallsAndIsReturned) {
    const char* steps[] = {
        "GetSize",         "GetRowBytes",          "GetType", "GetBaseAddr8", "GetApplicationBlob",
        "GetData Padding", "GetLong PaddingAmount"};
    for (const char* step : steps) {
        SCOPED_TRACE(step);
        FakeHost host;
        host.makeWorld(AEGP_WorldType_8, 16, 16, 0);
        host.setAlpha(4, 4, 255);
        host.flags["Padding"] = 1;
        host.failCall = step;
        host.failWith = 1234;
        A_Err err = A_Err_NONE;
        crop::CroppingBounds b = measure(host, 1, 1, kNoLimit, &err);
        EXPECT_EQ(err, 1234);
        ASSERT_FALSE(host.calls.empty());
        EXPECT_EQ(host.calls.back(), step) << "no host call after the failure";
        EXPECT_EQ(b.width, std::string(step) == "GetSize" ? 0 : 16);  // the record is still written
        EXPECT_EQ(host.acquired, host.released) << "suites released on the error path too";
    }
}

}  // namespace
