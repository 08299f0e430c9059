// Walking the project for the layers that use a composition.
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "cropUtil.h"

namespace cropUtil {

A_Err FindAllCompUses(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item,
                      std::vector<AEGP_LayerH>* uses) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_ProjectH projectH = NULL;
    AEGP_ItemH current = NULL;

    ERR(suites.ProjSuite6()->AEGP_GetProjectByIndex(0, &projectH));
    ERR(suites.ItemSuite8()->AEGP_GetFirstProjItem(projectH, &current));
    while (!err && current) {
        AEGP_ItemType type = AEGP_ItemType_NONE;
        ERR(suites.ItemSuite8()->AEGP_GetItemType(current, &type));
        if (!err && type == AEGP_ItemType_COMP) {
            AEGP_CompH compH = NULL;
            A_long numLayers = 0;
            ERR(suites.CompSuite9()->AEGP_GetCompFromItem(current, &compH));
            ERR(suites.LayerSuite7()->AEGP_GetCompNumLayers(compH, &numLayers));
            for (A_long i = 0; i < numLayers && !err; ++i) {
                AEGP_LayerH layerH = NULL;
                AEGP_ItemH source = NULL;
                ERR(suites.LayerSuite7()->AEGP_GetCompLayerByIndex(compH, i, &layerH));
                ERR(suites.LayerSuite7()->AEGP_GetLayerSourceItem(layerH, &source));
                if (!err && source == item) uses->push_back(layerH);
            }
        }
        AEGP_ItemH next = NULL;
        ERR(suites.ItemSuite8()->AEGP_GetNextProjItem(projectH, current, &next));
        current = next;
    }
    return err;
}

}  // namespace cropUtil
