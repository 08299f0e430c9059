// A deliberate fault for run --verify to find, in a test-only copy of the plug-in module: the
// measurement of a frame reports its content one pixel narrower on the right than it is, as if
// the last column were miscounted, so every crop that measures (the standard crop and the crop
// over the duration) cuts the rightmost column of what was visible when it measured. The uses are
// corrected for the crop it makes, so nothing moves. The shipped measurement is compiled into this
// module under another name (see CMakeLists.txt); the shipped module's code path is untouched.
#include "Crop.h"

namespace crop {

A_Err shippedFindCropBounds(SPBasicSuite* basic, AEGP_WorldH* worldP, short hFactor, short vFactor,
                            CroppingBounds* boundsP, A_FloatRect limit);

A_Err findCropBounds(SPBasicSuite* basic, AEGP_WorldH* worldP, short hFactor, short vFactor,
                     CroppingBounds* boundsP, A_FloatRect limit) {
    A_Err err = shippedFindCropBounds(basic, worldP, hFactor, vFactor, boundsP, limit);
    if (!err && boundsP->right > boundsP->left) boundsP->right -= 1;
    return err;
}

}  // namespace crop
