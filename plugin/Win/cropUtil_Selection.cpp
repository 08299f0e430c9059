// The selection a crop works on: the active composition's selected layers, narrowed to the ones
// that show another composition; and the menu command's enabled state.
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "cropUtil.h"

namespace cropUtil {

A_Err GetSelectedLayers(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                        AEGP_CompH* compP, AEGP_Collection2H* collectionP, A_u_long* countP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_CompSuite9* comps = suites.CompSuite9();
    AEGP_CollectionSuite2* collections = suites.CollectionSuite2();
    ERR(suites.ItemSuite8()->AEGP_GetActiveItem(itemP));
    if (!err && *itemP) ERR(comps->AEGP_GetCompFromItem(*itemP, compP));
    if (!err && *itemP && *compP) {
        ERR(comps->AEGP_GetNewCollectionFromCompSelection(pluginId, *compP, collectionP));
        ERR(collections->AEGP_GetCollectionNumItems(*collectionP, countP));
    }
    return err;
}

A_Err RemoveNonPrecomps(SPBasicSuite* basic, AEGP_Collection2H* collectionP, A_u_long* countP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_CollectionSuite2* collections = suites.CollectionSuite2();
    A_u_long i = 0;
    const A_u_long entries = *countP;
    for (A_u_long n = 0; n < entries && !err; ++n) {
        AEGP_CollectionItemV2 item = {};
        ERR(collections->AEGP_GetCollectionItemByIndex(*collectionP, i, &item));
        if (err) break;
        bool layer = CollectionItemKind(item) == AEGP_CollectionItemType_LAYER;
        if (layer && LayerIsPrecomp(basic, item.u.layer.layerH)) {
            ++i;
        } else {
            ERR(collections->AEGP_CollectionErase(*collectionP, i, i + 1));
        }
    }
    ERR(collections->AEGP_GetCollectionNumItems(*collectionP, countP));
    return err;
}

A_long CollectionItemKind(const AEGP_CollectionItemV2& item) {
    return static_cast<A_long>(item.type) & 0xFF;
}

bool LayerIsPrecomp(SPBasicSuite* basic, AEGP_LayerH layer) {
    if (!layer) return false;
    AEGP_SuiteHandler suites(basic);
    AEGP_ObjectType type = AEGP_ObjectType_NONE;
    if (suites.LayerSuite5()->AEGP_GetLayerObjectType(layer, &type) || type != AEGP_ObjectType_AV)
        return false;
    AEGP_ItemH source = NULL;
    if (suites.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &source) || !source) return false;
    AEGP_ItemType itemType = AEGP_ItemType_NONE;
    if (suites.ItemSuite8()->AEGP_GetItemType(source, &itemType)) return false;
    return itemType == AEGP_ItemType_COMP;
}

A_Err EnableDisableMenu(SPBasicSuite* basic, int command, bool enable) {
    AEGP_SuiteHandler suites(basic);
    return enable ? suites.CommandSuite1()->AEGP_EnableCommand(command)
                  : suites.CommandSuite1()->AEGP_DisableCommand(command);
}

}  // namespace cropUtil
