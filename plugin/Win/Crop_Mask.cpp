// The "Mask Crop" command: a precomposition is cropped to the bounds of one of its layer's masks,
// chosen by the selection, by being the only mask, or in the "Choose Mask" dialog.
#include <cmath>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "Crop_Scripts.h"
#include "cropUtil.h"

namespace crop {

namespace {

// The layer the command works on and the composition holding it.
struct Subject {
    AEGP_LayerH layer = NULL;
    AEGP_ItemH source = NULL;
    AEGP_CompH holding = NULL;
    AEGP_Collection2H collection = NULL;  // the holding composition's selection
    A_u_long selected = 0;
};

// Picks the mask: the last selected mask when several items are selected (the selection then
// keeps only its layers), the only mask of the layer, or the user's choice. `cancelled` is set
// when the user closed the dialog without choosing.
A_Err chooseMask(AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId, Subject& s,
                 AEGP_MaskRefH* maskP, bool* cancelled) {
    A_Err err = A_Err_NONE;
    AEGP_CollectionSuite2* collections = suites.CollectionSuite2();
    A_long index = -1;
    if (s.selected > 1) {
        for (A_u_long i = 0; i < s.selected && !err; ++i) {
            AEGP_CollectionItemV2 item = {};
            ERR(collections->AEGP_GetCollectionItemByIndex(s.collection, i, &item));
            if (!err && cropUtil::CollectionItemKind(item) == AEGP_CollectionItemType_MASK)
                index = item.u.mask.index;
        }
        for (A_long i = static_cast<A_long>(s.selected) - 1; i >= 0 && !err; --i) {
            AEGP_CollectionItemV2 item = {};
            ERR(collections->AEGP_GetCollectionItemByIndex(s.collection, static_cast<A_u_long>(i),
                                                           &item));
            if (!err && cropUtil::CollectionItemKind(item) != AEGP_CollectionItemType_LAYER)
                ERR(collections->AEGP_CollectionErase(s.collection, i, i + 1));
        }
    }
    if (!err && index < 0) {
        A_long count = 0;
        ERR(suites.MaskSuite5()->AEGP_GetLayerNumMasks(s.layer, &count));
        if (!err && count == 1) {
            index = 0;
        } else if (!err) {
            char answer[32];
            ERR(cropUtil::RunDialogScript(basic, pluginId, kChooseMaskDialog, answer,
                                          sizeof answer));
            if (!err) index = static_cast<A_long>(cropUtil::IntegerAnswer(answer));
            if (!err && index == -1) {
                *cancelled = true;
                return err;
            }
        }
    }
    ERR(suites.MaskSuite5()->AEGP_GetLayerMaskByIndex(s.layer, index, maskP));
    return err;
}

// Widens the rectangle to hold a point; an edge it moves is rounded to the nearest whole pixel
// (halves away from zero), the comparison made with the unrounded coordinate.
void holdPoint(CroppingBounds* b, double x, double y) {
    if (b->top > y) b->top = std::round(y);
    if (y > b->bottom) b->bottom = std::round(y);
    if (b->left > x) b->left = std::round(x);
    if (x > b->right) b->right = std::round(x);
}

// The bounding box of the mask's outline as the holding composition shows it at its current time
// (read in the layer's time): every vertex and the control points of both its tangents, which
// hold the curve between the vertices. `vertices` is how many the outline has.
A_Err maskRectangle(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_MaskRefH mask,
                    const Subject& s, A_Time* layerTimeP, CroppingBounds* b, A_long* vertices) {
    A_Err err = A_Err_NONE;
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_StreamRefH streamH = NULL;
    auto heldStream = HoldStream(streams, streamH);
    AEGP_StreamValue2 value = {};
    bool haveValue = false;
    auto heldValue = HoldStreamValue(streams, value, haveValue);
    A_long segments = 0;
    A_Boolean open = 0;
    ERR(streams->AEGP_GetNewMaskStream(pluginId, mask, AEGP_MaskStream_OUTLINE, &streamH));
    ERR(suites.LayerSuite7()->AEGP_GetLayerCurrentTime(s.layer, AEGP_LTimeMode_LayerTime,
                                                       layerTimeP));
    ERR(streams->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_LayerTime, layerTimeP,
                                        false, &value));
    haveValue = !err;
    ERR(suites.MaskOutlineSuite2()->AEGP_GetMaskOutlineNumSegments(value.val.mask, &segments));
    ERR(suites.MaskOutlineSuite2()->AEGP_IsMaskOutlineOpen(value.val.mask, &open));
    ERR(suites.ItemSuite8()->AEGP_GetItemDimensions(s.source, &b->width, &b->height));

    // An open outline of N segments has N + 1 vertices; a closed one N.
    *vertices = segments == 0 ? 0 : (open ? segments + 1 : segments);
    b->top = b->height;
    b->bottom = 0;
    b->left = b->width;
    b->right = 0;
    for (A_long i = 0; i < *vertices && !err; ++i) {
        AEGP_MaskVertex v = {};
        ERR(suites.MaskOutlineSuite2()->AEGP_GetMaskOutlineVertexInfo(value.val.mask, i, &v));
        if (err) break;
        holdPoint(b, v.x, v.y);
        holdPoint(b, v.x + v.tan_in_x, v.y + v.tan_in_y);
        holdPoint(b, v.x + v.tan_out_x, v.y + v.tan_out_y);
    }
    heldValue.release(&err);
    heldStream.release(&err);
    return err;
}

// Deletes the chosen mask from the layer when "DeleteMask" says so.
A_Err deleteMaskIfAsked(AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_MaskRefH mask) {
    A_Err err = A_Err_NONE;
    A_Boolean deleteMask = 0;
    ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefDeleteMask), &deleteMask));
    if (!err && deleteMask) ERR(suites.MaskSuite5()->AEGP_DeleteMaskFromLayer(mask));
    return err;
}

// Widens the rectangle by "PaddingAmount" on every side when "Padding" is set.
A_Err pad(SPBasicSuite* basic, CroppingBounds* b) {
    A_long amount = 0;
    A_Err err = cropUtil::ReadPadding(basic, &amount);
    b->top -= amount;
    b->left -= amount;
    b->right += amount;
    b->bottom += amount;
    return err;
}

A_Err run(SPBasicSuite* basic, AEGP_PluginID pluginId) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_UtilitySuite5* utility = suites.UtilitySuite5();
    AEGP_CollectionSuite2* collections = suites.CollectionSuite2();
    AEGP_MaskSuite5* masks = suites.MaskSuite5();
    AEGP_LayerSuite7* layers = suites.LayerSuite7();
    Subject s;
    auto heldUndo = HoldUndoGroup(utility, GetStringPtr(StrID_MaskCrop), &err);
    auto heldCollection = HoldCollection(collections, s.collection);
    AEGP_MaskRefH mask = NULL;
    auto heldMask = HoldMask(masks, mask);
    // Gives back what is still held and closes the undo group, keeping the first error.
    auto finish = [&](A_Err result) {
        heldMask.release(&result);
        heldCollection.release(&result);
        heldUndo.release(&result);
        return result;
    };

    ERR(layers->AEGP_GetActiveLayer(&s.layer));
    ERR(layers->AEGP_GetLayerSourceItem(s.layer, &s.source));
    ERR(layers->AEGP_GetLayerParentComp(s.layer, &s.holding));
    ERR(suites.CompSuite9()->AEGP_GetNewCollectionFromCompSelection(pluginId, s.holding,
                                                                    &s.collection));
    ERR(collections->AEGP_GetCollectionNumItems(s.collection, &s.selected));

    bool cancelled = false;
    if (!err) err = chooseMask(suites, basic, pluginId, s, &mask, &cancelled);
    if (cancelled) return finish(err);  // nothing changes; the undo group holds nothing

    A_Time layerTime = {0, 1};
    CroppingBounds bounds = {0, 0, 0, 0, 0, 0};
    A_long vertices = 0;
    if (!err) err = maskRectangle(suites, pluginId, mask, s, &layerTime, &bounds, &vertices);
    // A path without vertices encloses nothing: refused before anything changes.
    if (!err && vertices == 0) return finish(err);
    if (!err) err = pad(basic, &bounds);

    // A size the host cannot take is refused before anything changes, the mask and the selection
    // included: the user was told.
    if (!err) err = checkCropSize(basic, pluginId, s.source, bounds);
    if (err == kCropRefused) return finish(A_Err_NONE);

    if (!err) err = deleteMaskIfAsked(suites, basic, mask);
    heldMask.release(&err);

    AEGP_RenderOptionsH noOptions = NULL;
    if (!err)
        err = finishCropping(basic, pluginId, &s.source, bounds, layerTime, 0, &noOptions, 0, 0);
    ERR(suites.CompSuite9()->AEGP_SetSelection(s.holding, s.collection));
    return finish(err);
}

}  // namespace

A_Err maskCrop(SPBasicSuite* basic, AEGP_PluginID pluginId) {
    return run(basic, pluginId);
}

}  // namespace crop
