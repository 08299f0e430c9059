// Setting a layer's Position through the stream suite.
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "cropUtil.h"

namespace cropUtil {

A_Err SetLayerPosition(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, A_Time time,
                       const AEGP_ThreeDVal& position) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_StreamRefH streamH = NULL;
    AEGP_StreamValue2 value = {};
    bool haveValue = false;

    ERR(suites.StreamSuite4()->AEGP_GetNewLayerStream(pluginId, layer, AEGP_LayerStream_POSITION,
                                                      &streamH));
    ERR(suites.StreamSuite4()->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_CompTime,
                                                      &time, true, &value));
    haveValue = !err;
    if (!err) value.val.three_d = position;
    ERR(suites.StreamSuite4()->AEGP_SetStreamValue(pluginId, streamH, &value));
    // What was obtained is given back on every path.
    if (haveValue) ERR2(suites.StreamSuite4()->AEGP_DisposeStreamValue(&value));
    if (streamH) ERR2(suites.StreamSuite4()->AEGP_DisposeStream(streamH));
    return err;
}

}  // namespace cropUtil
