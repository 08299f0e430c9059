// Setting a layer's Position through the stream suite.
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "cropUtil.h"

namespace cropUtil {

A_Err SetLayerPosition(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, A_Time time,
                       const AEGP_ThreeDVal& position) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_StreamRefH streamH = NULL;
    AEGP_StreamValue2 value = {};
    bool haveValue = false;
    auto heldStream = HoldStream(streams, streamH);
    auto heldValue = HoldStreamValue(streams, value, haveValue);

    ERR(streams->AEGP_GetNewLayerStream(pluginId, layer, AEGP_LayerStream_POSITION, &streamH));
    ERR(streams->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_CompTime, &time, true,
                                        &value));
    haveValue = !err;
    if (!err) value.val.three_d = position;
    ERR(streams->AEGP_SetStreamValue(pluginId, streamH, &value));
    heldValue.release(&err);
    heldStream.release(&err);
    return err;
}

}  // namespace cropUtil
