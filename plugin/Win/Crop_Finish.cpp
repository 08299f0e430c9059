// Applying a crop: resize the composition, carry its layers through a temporary parent null,
// correct the composition's uses and give back the render options.
#include <string>
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "Crop.h"
#include "Crop_Scripts.h"
#include "cropUtil.h"

namespace crop {

A_Err SetAllEmptyParents(SPBasicSuite* basic, AEGP_LayerH* parentP, AEGP_CompH* compP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    A_long numLayers = 0;
    ERR(suites.LayerSuite7()->AEGP_GetCompNumLayers(*compP, &numLayers));
    for (A_long i = 0; i < numLayers; ++i) {
        AEGP_LayerH layerH = NULL;
        AEGP_LayerH currentParent = NULL;
        ERR(suites.LayerSuite7()->AEGP_GetCompLayerByIndex(*compP, i, &layerH));
        ERR(suites.LayerSuite7()->AEGP_GetLayerParent(layerH, &currentParent));
        // Layers with a parent move with their topmost ancestor, which gets the null.
        if (!err && !currentParent && layerH != *parentP) {
            ERR(suites.LayerSuite7()->AEGP_SetLayerParent(layerH, *parentP));
        }
    }
    return err;
}

namespace {

bool isSquare(const A_Ratio& r) {
    return r.num == 1 && r.den == 1;
}

// Carries the composition's layers by (-left, -top) with their keyframes and children: a null is
// made the parent of every layer that has none, placed, and deleted again. The composition is held
// at square pixels meanwhile so the null's position is in whole composition pixels.
A_Err carryLayers(AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId,
                  AEGP_ItemH itemH, AEGP_CompH compH, const CroppingBounds& bounds) {
    A_Err err = A_Err_NONE;
    A_UTF16Char nullName[32];
    cropUtil::copyConvertStringLiteralIntoUTF16(L"Zentrim Null", nullName);

    AEGP_LayerH nullH = NULL;
    ERR(suites.CompSuite9()->AEGP_CreateNullInComp(nullName, compH, NULL, &nullH));
    ERR(suites.LayerSuite7()->AEGP_ReorderLayer(nullH, AEGP_REORDER_LAYER_TO_END));
    if (!err) err = SetAllEmptyParents(basic, &nullH, &compH);

    A_Ratio aspect = {1, 1};
    const A_Ratio square = {1, 1};
    ERR(suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(itemH, &aspect));
    if (!err && !isSquare(aspect))
        ERR(suites.CompSuite9()->AEGP_SetCompPixelAspectRatio(compH, &square));

    const A_Time start = {0, 1};
    if (!err)
        err = cropUtil::SetLayerPosition(basic, pluginId, nullH, start,
                                         carryingNullPosition(bounds.left, bounds.top));

    AEGP_ItemH nullSource = NULL;
    ERR(suites.LayerSuite7()->AEGP_GetLayerSourceItem(nullH, &nullSource));
    ERR(suites.LayerSuite7()->AEGP_DeleteLayer(nullH));
    ERR(suites.ItemSuite8()->AEGP_DeleteItem(nullSource));

    if (!err && !isSquare(aspect))
        ERR(suites.CompSuite9()->AEGP_SetCompPixelAspectRatio(compH, &aspect));
    return err;
}

// The host takes composition sizes of 1 to 30000 pixels each way (the size handed over is the
// value truncated toward zero).
bool sizeFitsHost(double width, double height) {
    auto fits = [](double v) { return v >= 1 && v < 30001; };  // false for NaN too
    return fits(width) && fits(height);
}

// Tells the user that the composition cannot take the size the crop would give it, and whether
// the command had already changed something.
A_Err refuseSize(AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId,
                 AEGP_ItemH itemH, double width, double height) {
    A_Err err = A_Err_NONE;
    AEGP_MemorySuite1* memory = suites.MemorySuite1();
    AEGP_MemHandle nameH = NULL;
    auto heldName = HoldMemHandle(memory, nameH);
    void* nameP = NULL;
    auto heldLock = HoldMemLock(memory, nameH, nameP);
    ERR(suites.ItemSuite8()->AEGP_GetItemName(pluginId, itemH, &nameH));
    ERR(memory->AEGP_LockMemHandle(nameH, &nameP));
    std::string name =
        err ? std::string()
            : cropUtil::ScriptStringFromUTF16(static_cast<const A_UTF16Char*>(nameP));
    heldLock.release(&err);
    heldName.release(&err);
    if (err) return err;

    char w[32], h[32];
    cropUtil::SprintOS(w, sizeof w, "%.15g", width);
    cropUtil::SprintOS(h, sizeof h, "%.15g", height);
    const char* format =
        projectChanged ? kSizeOutOfRangeAfterChangesAlertFormat : kSizeOutOfRangeAlertFormat;
    std::vector<char> script(std::char_traits<char>::length(format) + name.size() + sizeof w +
                             sizeof h);
    err = cropUtil::SprintOS(script.data(), static_cast<int>(script.size()), format, name.c_str(),
                             w, h);
    ERR(cropUtil::RunAlertScript(basic, pluginId, script.data()));
    return err;
}

}  // namespace

A_Err checkCropSize(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item,
                    const CroppingBounds& bounds) {
    const double newWidth = bounds.right - bounds.left + 1;
    const double newHeight = bounds.bottom - bounds.top + 1;
    if (sizeFitsHost(newWidth, newHeight)) return A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    A_Err err = refuseSize(suites, basic, pluginId, item, newWidth, newHeight);
    return err ? err : kCropRefused;
}

A_Err finishCropping(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                     CroppingBounds bounds, A_Time time, unsigned char fullResolution,
                     AEGP_RenderOptionsH* renderOptionsP, short hFactor, short vFactor) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_RenderOptionsSuite3* renderOptions = suites.RenderOptionsSuite3();
    // The render options are given back here on every path, also when a missing suite unwinds the
    // crop; the caller's handle is cleared then.
    AEGP_RenderOptionsH noOptions = NULL;
    AEGP_RenderOptionsH& optionsH = renderOptionsP ? *renderOptionsP : noOptions;
    auto heldOptions = HoldRenderOptions(renderOptions, optionsH);
    AEGP_CompH compH = NULL;
    const double newWidth = bounds.right - bounds.left + 1;
    const double newHeight = bounds.bottom - bounds.top + 1;

    // A size the host cannot take is refused before anything changes.
    err = checkCropSize(basic, pluginId, *itemP, bounds);
    const bool refused = err == kCropRefused;
    if (refused) err = A_Err_NONE;
    if (!refused) {
        // What the correction of the uses rewrites is read before the resize can touch it.
        UsesBefore uses;
        ERR(suites.CompSuite9()->AEGP_GetCompFromItem(*itemP, &compH));
        if (!err) err = findAllUses(basic, pluginId, *itemP, time, &uses);
        if (!err) projectChanged = true;
        ERR(suites.CompSuite9()->AEGP_SetCompDimensions(compH, static_cast<A_long>(newWidth),
                                                        static_cast<A_long>(newHeight)));
        if (!err) err = carryLayers(suites, basic, pluginId, *itemP, compH, bounds);
        if (!err) err = correctAllUses(basic, pluginId, uses, bounds);
    }

    // The render options come back to the state the measurement found them in, and are released
    // also when an earlier step failed.
    if (optionsH && fullResolution)
        ERR(renderOptions->AEGP_SetDownsampleFactor(optionsH, hFactor, vFactor));
    heldOptions.release(&err);
    return refused && !err ? kCropRefused : err;
}

}  // namespace crop
