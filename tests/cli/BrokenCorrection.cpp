// A deliberate fault for run --verify to find, in a test-only copy of the plug-in module: the
// correction of uses is handed a crop rectangle one pixel to the right of the real one, as if its
// offset were miscounted, so every layer that uses a cropped composition ends up one pixel away
// from where it was. The shipped correction is compiled into this module under another name
// (see CMakeLists.txt); the shipped module's code path is untouched.
#include "Crop.h"

namespace crop {

A_Err shippedFindAndCorrectAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                                   A_Time time, CroppingBounds bounds, double newWidth,
                                   double newHeight);

A_Err findAndCorrectAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                            A_Time time, CroppingBounds bounds, double newWidth, double newHeight) {
    bounds.left += 1;
    bounds.right += 1;
    return shippedFindAndCorrectAllUses(basic, pluginId, itemP, time, bounds, newWidth, newHeight);
}

}  // namespace crop
