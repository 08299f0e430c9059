// Editing a layer's Position and Anchor Point through the stream and keyframe suites.
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "cropUtil.h"

namespace cropUtil {

AEGP_ThreeDVal ShiftedAnchor(const AEGP_ThreeDVal& anchor, const UseCorrection& s, bool threeD) {
    AEGP_ThreeDVal out = anchor;
    out.x = anchor.x / s.xRatio - s.widthChange / 2 + s.xOffset;
    out.y = anchor.y / s.yRatio - s.heightChange / 2 + s.yOffset;
    if (threeD) out.z = anchor.z * s.depthFactor;
    return out;
}

A_Err ShiftLayerPosition(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH* layerP,
                         A_Time time, double x, double y, double z, unsigned char absolute) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_StreamRefH streamH = NULL;
    AEGP_StreamValue2 value = {};
    bool haveValue = false;

    ERR(suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, *layerP, AEGP_LayerStream_POSITION,
                                                      &streamH));
    ERR(suites.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_CompTime,
                                                      &time, true, &value));
    haveValue = !err;
    if (!err) {
        if (absolute) {
            value.val.three_d.x = x;
            value.val.three_d.y = y;
            value.val.three_d.z = z;
        } else {
            value.val.three_d.x += x;
            value.val.three_d.y += y;
            value.val.three_d.z += z;
        }
    }
    ERR(suites.StreamSuite4()->AEGP_SetStreamValue(pluginId, streamH, &value));
    // What was obtained is given back on every path.
    if (haveValue) ERR2(suites.StreamSuite4()->AEGP_DisposeStreamValue(&value));
    if (streamH) ERR2(suites.StreamSuite4()->AEGP_DisposeStream(streamH));
    return err;
}

namespace {

// Rewrites one keyframe's anchor value, with its interpolation set to linear while the value is
// written and put back afterwards.
A_Err shiftKeyframe(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH streamH,
                    A_long index, const UseCorrection& shift, bool threeD) {
    A_Err err = A_Err_NONE;
    A_Time keyTime = {0, 1};
    AEGP_StreamValue2 value = {};
    bool haveValue = false;
    AEGP_KeyframeInterpolationType inInterp = AEGP_KeyInterp_NONE, outInterp = AEGP_KeyInterp_NONE;

    ERR(suites.KeyframeSuite4()->AEGP_GetKeyframeTime(streamH, index, AEGP_LTimeMode_LayerTime,
                                                      &keyTime));
    ERR(suites.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_LayerTime,
                                                      &keyTime, true, &value));
    haveValue = !err;
    ERR(suites.KeyframeSuite4()->AEGP_GetKeyframeInterpolation(streamH, index, &inInterp,
                                                               &outInterp));
    ERR(suites.KeyframeSuite4()->AEGP_SetKeyframeInterpolation(
        streamH, index, AEGP_KeyInterp_LINEAR, AEGP_KeyInterp_LINEAR));
    if (!err) value.val.three_d = ShiftedAnchor(value.val.three_d, shift, threeD);
    ERR(suites.KeyframeSuite4()->AEGP_SetKeyframeValue(streamH, index, &value));
    ERR(suites.KeyframeSuite4()->AEGP_SetKeyframeInterpolation(streamH, index, inInterp,
                                                               outInterp));
    if (haveValue) ERR2(suites.StreamSuite4()->AEGP_DisposeStreamValue(&value));
    return err;
}

}  // namespace

A_Err ShiftLayerXY(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, double xOffset,
                   double yOffset, double depthFactor, double xRatio, double yRatio,
                   double widthChange, double heightChange) {
    const UseCorrection c = {xOffset, yOffset,     depthFactor, xRatio,
                             yRatio,  widthChange, heightChange};
    return ShiftLayerXY(basic, pluginId, layer, c);
}

A_Err ShiftLayerXY(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer,
                   const UseCorrection& shift) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_KeyframeSuite4* keyframes = suites.KeyframeSuite4();
    AEGP_LayerSuite7* layers = suites.LayerSuite7();
    AEGP_StreamRefH streamH = NULL;
    auto heldStream = HoldHandle(
        streamH, [streams](AEGP_StreamRefH h) { return streams->AEGP_DisposeStream(h); });
    A_long numKeys = 0;
    A_Boolean threeD = 0;

    ERR(streams->AEGP_GetNewLayerStream(pluginId, layer, AEGP_LayerStream_ANCHORPOINT, &streamH));
    ERR(keyframes->AEGP_GetStreamNumKFs(streamH, &numKeys));
    ERR(layers->AEGP_IsLayer3D(layer, &threeD));

    if (!err && numKeys == 0) {
        A_Time zero = {0, 1};
        AEGP_StreamValue2 value = {};
        ERR(streams->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_LayerTime, &zero,
                                            true, &value));
        bool haveValue = !err;
        if (!err) value.val.three_d = ShiftedAnchor(value.val.three_d, shift, threeD != 0);
        ERR(streams->AEGP_SetStreamValue(pluginId, streamH, &value));
        if (haveValue) ERR2(streams->AEGP_DisposeStreamValue(&value));
    }
    for (A_long i = 0; i < numKeys && !err; ++i)
        err = shiftKeyframe(suites, pluginId, streamH, i, shift, threeD != 0);

    heldStream.release(&err);
    return err;
}

}  // namespace cropUtil
