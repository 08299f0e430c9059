// Correcting the anchor points and mask paths of every layer that uses a cropped composition.
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "Crop.h"
#include "cropUtil.h"

namespace crop {

cropUtil::UseCorrection useCorrection(const CroppingBounds& b, double newWidth, double newHeight) {
    cropUtil::UseCorrection c;
    // Halving the integer sizes truncates first: an odd size keeps its extra half pixel.
    c.xOffset = -(b.left - static_cast<double>(b.width / 2) + newWidth / 2);
    c.yOffset = -(b.top - static_cast<double>(b.height / 2) + newHeight / 2);
    c.depthFactor = b.height / (b.bottom - b.top + 1);
    c.xRatio = newWidth / b.width;
    c.yRatio = newHeight / b.height;
    c.widthChange = b.width - newWidth;
    c.heightChange = b.height - newHeight;
    return c;
}

AEGP_MaskVertex correctedMaskVertex(const AEGP_MaskVertex& v, const cropUtil::UseCorrection& c,
                                    const CroppingBounds& b) {
    AEGP_MaskVertex out = v;
    out.x = v.x / c.xRatio - b.left;
    out.y = v.y / c.yRatio - b.top;
    out.tan_in_x = v.tan_in_x / c.xRatio;
    out.tan_in_y = v.tan_in_y / c.yRatio;
    out.tan_out_x = v.tan_out_x / c.xRatio;
    out.tan_out_y = v.tan_out_y / c.yRatio;
    return out;
}

namespace {

// Rewrites every vertex of an outline. An open outline of N segments has N + 1 vertices (indices
// 0 to N); a closed one has N, its index N being vertex 0 again.
A_Err correctOutline(AEGP_SuiteHandler& suites, AEGP_MaskOutlineValH outlineH,
                     const cropUtil::UseCorrection& c, const CroppingBounds& b) {
    A_Err err = A_Err_NONE;
    A_long segments = 0;
    A_Boolean open = 0;
    ERR(suites.MaskOutlineSuite2()->AEGP_GetMaskOutlineNumSegments(outlineH, &segments));
    ERR(suites.MaskOutlineSuite2()->AEGP_IsMaskOutlineOpen(outlineH, &open));
    A_long vertices = open ? segments + 1 : segments;
    if (segments == 0) vertices = 0;
    for (A_long i = 0; i < vertices && !err; ++i) {
        AEGP_MaskVertex v = {};
        ERR(suites.MaskOutlineSuite2()->AEGP_GetMaskOutlineVertexInfo(outlineH, i, &v));
        if (!err) v = correctedMaskVertex(v, c, b);
        ERR(suites.MaskOutlineSuite2()->AEGP_SetMaskOutlineVertexInfo(outlineH, i, &v));
    }
    return err;
}

// Reads the outline at `time` (layer time), rewrites it and writes it back: as the stream's value,
// or as the value of keyframe `key` when key >= 0.
A_Err correctOutlineAt(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH streamH,
                       A_Time time, A_long key, const cropUtil::UseCorrection& c,
                       const CroppingBounds& b) {
    A_Err err = A_Err_NONE;
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_StreamValue2 value = {};
    bool haveValue = false;
    auto heldValue = HoldStreamValue(streams, value, haveValue);
    ERR(streams->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_LayerTime, &time, true,
                                        &value));
    haveValue = !err;
    if (!err) err = correctOutline(suites, value.val.mask, c, b);
    if (key < 0) {
        ERR(streams->AEGP_SetStreamValue(pluginId, streamH, &value));
    } else {
        ERR(suites.KeyframeSuite4()->AEGP_SetKeyframeValue(streamH, key, &value));
    }
    heldValue.release(&err);
    return err;
}

A_Err correctMask(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layerH,
                  A_long index, A_Time time, const cropUtil::UseCorrection& c,
                  const CroppingBounds& b) {
    A_Err err = A_Err_NONE;
    AEGP_MaskSuite5* masks = suites.MaskSuite5();
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_MaskRefH maskH = NULL;
    AEGP_StreamRefH streamH = NULL;
    auto heldMask =
        HoldHandle(maskH, [masks](AEGP_MaskRefH h) { return masks->AEGP_DisposeMask(h); });
    auto heldStream = HoldHandle(
        streamH, [streams](AEGP_StreamRefH h) { return streams->AEGP_DisposeStream(h); });
    A_long numKeys = 0;
    ERR(masks->AEGP_GetLayerMaskByIndex(layerH, index, &maskH));
    ERR(streams->AEGP_GetNewMaskStream(pluginId, maskH, AEGP_MaskStream_OUTLINE, &streamH));
    ERR(suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(streamH, &numKeys));
    if (!err && numKeys == 0) err = correctOutlineAt(suites, pluginId, streamH, time, -1, c, b);
    for (A_long k = 0; k < numKeys && !err; ++k) {
        A_Time keyTime = {0, 1};
        ERR(suites.KeyframeSuite4()->AEGP_GetKeyframeTime(streamH, k, AEGP_LTimeMode_LayerTime,
                                                          &keyTime));
        if (!err) err = correctOutlineAt(suites, pluginId, streamH, keyTime, k, c, b);
    }
    heldStream.release(&err);
    heldMask.release(&err);
    return err;
}

}  // namespace

A_Err findAndCorrectAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                            A_Time time, CroppingBounds bounds, double newWidth, double newHeight) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    std::vector<AEGP_LayerH> uses;
    ERR(cropUtil::FindAllCompUses(basic, pluginId, *itemP, &uses));

    const cropUtil::UseCorrection c = useCorrection(bounds, newWidth, newHeight);
    for (AEGP_LayerH layerH : uses) {
        if (err) break;
        ERR(cropUtil::ShiftLayerXY(basic, pluginId, layerH, c));
        A_long numMasks = 0;
        ERR(suites.MaskSuite5()->AEGP_GetLayerNumMasks(layerH, &numMasks));
        for (A_long m = 0; m < numMasks && !err; ++m)
            err = correctMask(suites, pluginId, layerH, m, time, c, bounds);
    }
    return err;
}

}  // namespace crop
