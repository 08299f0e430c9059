// Finding 3D layers in a composition about to be cropped, and pre-composing its contents when the
// user or the preference says so.
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "Crop_Scripts.h"
#include "cropUtil.h"

namespace cropUtil {

A_long threeDPref = 0;
A_Boolean checkPrefsThreeD = 1;

A_Err LayerIsThreeD(SPBasicSuite* basic, AEGP_LayerH layer, A_Boolean* flagP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_ObjectType type = AEGP_ObjectType_NONE;
    ERR(suites.LayerSuite7()->AEGP_GetLayerObjectType(layer, &type));
    if (!err && type == AEGP_ObjectType_CAMERA) {
        AEGP_LayerFlags flags = 0;
        ERR(suites.LayerSuite7()->AEGP_GetLayerFlags(layer, &flags));
        if (!err && (flags & AEGP_LayerFlag_VIDEO_ACTIVE)) *flagP = 1;
    } else if (!err) {
        ERR(suites.LayerSuite7()->AEGP_IsLayer3D(layer, flagP));
    }
    return err;
}

A_Err ThreeDInItem(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                   A_Boolean* checkPrefsP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_CompH compH = NULL;
    A_long numLayers = 0;
    ERR(suites.CompSuite9()->AEGP_GetCompFromItem(*itemP, &compH));
    if (!err && !compH) return err;
    ERR(suites.LayerSuite7()->AEGP_GetCompNumLayers(compH, &numLayers));

    A_Boolean found = 0;
    for (A_long i = 0; i < numLayers && !err && !found; ++i) {
        AEGP_LayerH layerH = NULL;
        ERR(suites.LayerSuite7()->AEGP_GetCompLayerByIndex(compH, i, &layerH));
        if (!err) err = LayerIsThreeD(basic, layerH, &found);
    }
    if (err || !found) return err;

    if (*checkPrefsP) {
        ERR(ReadPrefLong(basic, GetStringPtr(StrID_PrefThreeD), 0, &threeDPref));
        if (!err) *checkPrefsP = 0;
    }
    if (!err && threeDPref == 0) {
        char answer[8];
        ERR(RunDialogScript(basic, pluginId, crop::kThreeDDialog, answer, sizeof answer));
        if (!err) threeDPref = BooleanAnswer(answer) ? 1 : 2;
    }
    if (!err && threeDPref == 1)
        err = PreCompose(pluginId, basic, compH, static_cast<A_u_long>(numLayers));
    return err;
}

A_Err CheckForThreeD(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_Collection2H collection,
                     A_u_long count, A_Boolean* checkPrefsP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    for (A_u_long i = 0; i < count && !err; ++i) {
        AEGP_CollectionItemV2 item = {};
        AEGP_ItemH source = NULL;
        ERR(suites.CollectionSuite2()->AEGP_GetCollectionItemByIndex(collection, i, &item));
        ERR(suites.LayerSuite7()->AEGP_GetLayerSourceItem(item.u.layer.layerH, &source));
        if (!err) err = ThreeDInItem(basic, pluginId, &source, checkPrefsP);
    }
    return err;
}

A_Err PreCompose(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_CompH comp, A_u_long numLayers) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_MemorySuite1* memory = suites.MemorySuite1();
    AEGP_ItemSuite8* items = suites.ItemSuite8();
    AEGP_CompH duplicate = NULL;
    AEGP_ItemH duplicateItem = NULL, item = NULL;
    crop::projectChanged = true;
    ERR(suites.CompSuite9()->AEGP_DuplicateComp(comp, &duplicate));
    ERR(suites.CompSuite9()->AEGP_GetItemFromComp(duplicate, &duplicateItem));
    ERR(suites.CompSuite9()->AEGP_GetItemFromComp(comp, &item));

    AEGP_MemHandle nameH = NULL;
    void* nameP = NULL;
    auto heldName = HoldMemHandle(memory, nameH);
    auto heldLock = HoldMemLock(memory, nameH, nameP);
    ERR(items->AEGP_GetItemName(pluginId, item, &nameH));
    ERR(memory->AEGP_LockMemHandle(nameH, &nameP));
    if (!err && nameP) {
        const A_UTF16Char* name = static_cast<const A_UTF16Char*>(nameP);
        size_t length = 0;
        while (name[length])
            ++length;
        const wchar_t* suffixLiteral = L" - Zentrim PreComp";
        A_UTF16Char suffix[32];
        copyConvertStringLiteralIntoUTF16(suffixLiteral, suffix);
        size_t suffixLength = 0;
        while (suffix[suffixLength])
            ++suffixLength;
        std::vector<A_UTF16Char> renamed(name, name + length);
        renamed.insert(renamed.end(), suffix, suffix + suffixLength);
        renamed.push_back(0);
        ERR(items->AEGP_SetItemName(item, renamed.data()));
        ERR(items->AEGP_SetItemName(duplicateItem, name));
    }
    heldLock.release(&err);
    heldName.release(&err);

    // Emptying the composition: its first layer, as many times as it had layers.
    for (A_u_long i = 0; i < numLayers && !err; ++i) {
        AEGP_LayerH first = NULL;
        ERR(suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, 0, &first));
        ERR(suites.LayerSuite7()->AEGP_DeleteLayer(first));
    }
    ERR(suites.LayerSuite7()->AEGP_AddLayer(duplicateItem, comp, NULL));
    return err;
}

}  // namespace cropUtil
