// Where a crop at (left, top) puts what it moves: the null that carries the composition's layers,
// and the values of each use of the composition (anchor points, mask vertices) and of the layers
// parented to a use (positions). Pure arithmetic: the host calls that read and write the values
// are in Crop_Finish.cpp and Crop_CorrectUses.cpp.
#include "Crop.h"

namespace crop {

AEGP_ThreeDVal carryingNullPosition(double left, double top) {
    return AEGP_ThreeDVal{-left, -top, 0};
}

AEGP_ThreeDVal pointAfterCrop(const AEGP_ThreeDVal& before, double left, double top) {
    return AEGP_ThreeDVal{before.x - left, before.y - top, before.z};
}

AEGP_MaskVertex vertexAfterCrop(const AEGP_MaskVertex& before, double left, double top) {
    AEGP_MaskVertex after = before;
    after.x = before.x - left;
    after.y = before.y - top;
    return after;
}

}  // namespace crop
