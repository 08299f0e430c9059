// The correction formulas applied to the uses of a cropped composition.
#include <gtest/gtest.h>

#include "Crop.h"
#include "cropUtil.h"

namespace {

crop::CroppingBounds bounds(double top, double bottom, double left, double right, A_long w,
                            A_long h) {
    return crop::CroppingBounds{top, bottom, left, right, w, h};
}

TEST(UseCorrection, SevenValuesFromBoundsAndNewSize) {
    cropUtil::UseCorrection c =
        crop::useCorrection(bounds(50, 549, 100, 1099, 1920, 1080), 1000, 500);
    EXPECT_DOUBLE_EQ(c.xOffset, 360);
    EXPECT_DOUBLE_EQ(c.yOffset, 240);
    EXPECT_DOUBLE_EQ(c.depthFactor, 2.16);
    EXPECT_DOUBLE_EQ(c.xRatio, 1000.0 / 1920);
    EXPECT_DOUBLE_EQ(c.yRatio, 500.0 / 1080);
    EXPECT_DOUBLE_EQ(c.widthChange, 920);
    EXPECT_DOUBLE_EQ(c.heightChange, 580);
}

TEST(UseCorrection, AnchorOfAUseFollowsTheCroppedContent) {
    // x becomes x * old / new - left, and half a pixel less for an odd old size.
    struct Case {
        A_long width, height;
        double halfX, halfY;
    } cases[] = {{1920, 1080, 0, 0}, {1921, 1080, 0.5, 0}, {1920, 1081, 0, 0.5}};
    for (const Case& k : cases) {
        crop::CroppingBounds b = bounds(50, 549, 100, 1099, k.width, k.height);
        cropUtil::UseCorrection s = crop::useCorrection(b, 1000, 500);
        for (double x : {0.0, 137.25, 960.0}) {
            AEGP_ThreeDVal a = cropUtil::ShiftedAnchor({x, x / 2, 0}, s, false);
            EXPECT_NEAR(a.x, x * k.width / 1000 - 100 - k.halfX, 1e-9) << k.width;
            EXPECT_NEAR(a.y, (x / 2) * k.height / 500 - 50 - k.halfY, 1e-9) << k.height;
        }
    }
}

TEST(AnchorShift, FormulaOrderAndDepthOfThreeDLayers) {
    cropUtil::UseCorrection s{5, 7, 2, 0.5, 0.5, 640, 480};
    AEGP_ThreeDVal flat = cropUtil::ShiftedAnchor({320, 240, 100}, s, false);
    EXPECT_EQ(flat.x, 325);
    EXPECT_EQ(flat.y, 247);
    EXPECT_EQ(flat.z, 100) << "a 2D layer keeps its z";
    AEGP_ThreeDVal deep = cropUtil::ShiftedAnchor({320, 240, 100}, s, true);
    EXPECT_EQ(deep.z, 200);
}

TEST(MaskVertexCorrection, PositionsMoveTangentsOnlyScale) {
    crop::CroppingBounds b = bounds(50, 0, 100, 0, 1000, 1000);
    cropUtil::UseCorrection c{};
    c.xRatio = 0.5;
    c.yRatio = 0.5;
    AEGP_MaskVertex v{500, 250, 10, 0, -10, 0};
    AEGP_MaskVertex out = crop::correctedMaskVertex(v, c, b);
    EXPECT_EQ(out.x, 900);
    EXPECT_EQ(out.y, 450);
    EXPECT_EQ(out.tan_in_x, 20);
    EXPECT_EQ(out.tan_in_y, 0);
    EXPECT_EQ(out.tan_out_x, -20);
    EXPECT_EQ(out.tan_out_y, 0);
}

}  // namespace
