// Where a crop puts what it moves: the values of a use of the cropped composition and the null
// that carries its layers, exactly.
#include <gtest/gtest.h>

#include "Crop.h"

namespace {

TEST(Correction, PointsVerticesAndTheCarryingNullMoveByTheOffsetAndNothingElseChanges) {
    struct Case {
        double x, y, left, top;  // a value before the crop, and the crop's offset
        double movedX, movedY;   // where the value lies after it
        double nullX, nullY;     // where the carrying null goes
    } cases[] = {
        // A whole-pixel anchor of 220 cropped at 139 is exactly 81, however the source was resized.
        {220, 120, 139, 100, 81, 20, -139, -100},
        {200.5, 150.5, 100, 50, 100.5, 100.5, -100, -50},
        {0, 0, -50, -50, 50, 50, 50, 50},  // an enlarging crop moves everything the other way
        {1e6, 3, 7, 0.5, 999993, 2.5, -7, -0.5},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "(" << k.x << ", " << k.y << ") cropped at (" << k.left
                                        << ", " << k.top << ")");
        AEGP_ThreeDVal p = crop::pointAfterCrop({k.x, k.y, 40}, k.left, k.top);
        EXPECT_EQ(p.x, k.movedX);
        EXPECT_EQ(p.y, k.movedY);
        EXPECT_EQ(p.z, 40) << "depth is not in the source's pixels";
        AEGP_MaskVertex v = crop::vertexAfterCrop({k.x, k.y, 10, -3, -10, 3}, k.left, k.top);
        EXPECT_EQ(v.x, k.movedX);
        EXPECT_EQ(v.y, k.movedY);
        EXPECT_EQ(v.tan_in_x, 10);
        EXPECT_EQ(v.tan_in_y, -3);
        EXPECT_EQ(v.tan_out_x, -10);
        EXPECT_EQ(v.tan_out_y, 3);
        AEGP_ThreeDVal n = crop::carryingNullPosition(k.left, k.top);
        EXPECT_EQ(n.x, k.nullX);
        EXPECT_EQ(n.y, k.nullY);
        EXPECT_EQ(n.z, 0);
    }
}

}  // namespace
