// Where the values of a use of a cropped composition go: moved by the crop's offset, exactly.
#include <gtest/gtest.h>

#include "Crop.h"

namespace {

TEST(UseCorrection, PointsAndVerticesMoveByTheOffsetAndNothingElseChanges) {
    struct Case {
        double x, y, left, top;
    } cases[] = {{220, 120, 139, 100}, {200.5, 150.5, 100, 50}, {0, 0, -50, -50}, {1e6, 3, 7, 0.5}};
    for (const Case& k : cases) {
        AEGP_ThreeDVal p = crop::pointAfterCrop({k.x, k.y, 40}, k.left, k.top);
        EXPECT_EQ(p.x, k.x - k.left);
        EXPECT_EQ(p.y, k.y - k.top);
        EXPECT_EQ(p.z, 40) << "depth is not in the source's pixels";
        AEGP_MaskVertex v = crop::vertexAfterCrop({k.x, k.y, 10, -3, -10, 3}, k.left, k.top);
        EXPECT_EQ(v.x, k.x - k.left);
        EXPECT_EQ(v.y, k.y - k.top);
        EXPECT_EQ(v.tan_in_x, 10);
        EXPECT_EQ(v.tan_in_y, -3);
        EXPECT_EQ(v.tan_out_x, -10);
        EXPECT_EQ(v.tan_out_y, 3);
    }
    // A whole-pixel anchor of 220 cropped at 139 is exactly 81, however the source was resized.
    EXPECT_EQ(crop::pointAfterCrop({220, 0, 0}, 139, 0).x, 81);
}

}  // namespace
