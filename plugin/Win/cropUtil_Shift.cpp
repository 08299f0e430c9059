// Setting or offsetting a layer's Position through the stream suite.
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "cropUtil.h"

namespace cropUtil {

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

}  // namespace cropUtil
