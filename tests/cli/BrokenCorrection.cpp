// A deliberate fault for run --verify to find, in a test-only copy of the plug-in module: the
// correction of uses is handed a crop rectangle one pixel to the right of the real one, as if its
// offset were miscounted, so every layer that uses a cropped composition ends up one pixel away
// from where it was. The shipped correction is compiled into this module under another name
// (see CMakeLists.txt); the shipped module's code path is untouched.
#include "Crop.h"

namespace crop {

A_Err shippedCorrectAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, const UsesBefore& before,
                            CroppingBounds bounds);

A_Err correctAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, const UsesBefore& before,
                     CroppingBounds bounds) {
    bounds.left += 1;
    bounds.right += 1;
    return shippedCorrectAllUses(basic, pluginId, before, bounds);
}

}  // namespace crop
