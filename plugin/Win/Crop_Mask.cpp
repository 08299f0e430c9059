// The "Mask Crop" command: a precomposition is cropped to the bounds of one of its layer's masks,
// chosen by the selection, by being the only mask, or in the "Choose Mask" dialog.
#include <cmath>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "Crop_Scripts.h"
#include "cropUtil.h"

namespace crop {

namespace {

// What the command holds from the host; the destructor only acts when a missing suite unwinds the
// command half-way, so that nothing stays held and the undo group is closed.
struct Held {
    AEGP_MaskSuite5* masks;
    AEGP_StreamSuite4* streams;
    AEGP_CollectionSuite2* collections;
    AEGP_UtilitySuite5* utility;
    AEGP_Collection2H collection = NULL;
    AEGP_MaskRefH mask = NULL;
    AEGP_StreamRefH stream = NULL;
    AEGP_StreamValue2 value = {};
    bool haveValue = false;
    bool undoOpen = false;

    explicit Held(AEGP_SuiteHandler& s)
        : masks(s.MaskSuite5()),
          streams(s.StreamSuite4()),
          collections(s.CollectionSuite2()),
          utility(s.UtilitySuite5()) {
        s.MemorySuite1();  // the dialog's result is freed through it
    }
    ~Held() {
        if (haveValue) streams->AEGP_DisposeStreamValue(&value);
        if (stream) streams->AEGP_DisposeStream(stream);
        if (mask) masks->AEGP_DisposeMask(mask);
        if (collection) collections->AEGP_DisposeCollection(collection);
        if (undoOpen) utility->AEGP_EndUndoGroup();
    }

    // Gives back the outline value and its stream, keeping the first error.
    void releaseOutline(A_Err* errP) {
        A_Err& err = *errP;
        if (haveValue) ERR2(streams->AEGP_DisposeStreamValue(&value));
        haveValue = false;
        if (stream) ERR2(streams->AEGP_DisposeStream(stream));
        stream = NULL;
    }
    // Gives back everything still held and closes the undo group.
    A_Err finish(A_Err err) {
        releaseOutline(&err);
        if (mask) ERR2(masks->AEGP_DisposeMask(mask));
        mask = NULL;
        if (collection) ERR2(collections->AEGP_DisposeCollection(collection));
        collection = NULL;
        if (undoOpen) ERR2(utility->AEGP_EndUndoGroup());
        undoOpen = false;
        return err;
    }
};

// Picks the mask: the last selected mask when several items are selected (the selection then
// keeps only its layers), the only mask of the layer, or the user's choice. `cancelled` is set
// when the user closed the dialog without choosing.
A_Err chooseMask(Held& h, SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer,
                 A_u_long selected, bool* cancelled) {
    A_Err err = A_Err_NONE;
    AEGP_CollectionSuite2* collections = h.collections;
    A_long index = -1;
    if (selected > 1) {
        for (A_u_long i = 0; i < selected && !err; ++i) {
            AEGP_CollectionItemV2 item = {};
            ERR(collections->AEGP_GetCollectionItemByIndex(h.collection, i, &item));
            if (!err && (static_cast<A_long>(item.type) & 0xFF) == AEGP_CollectionItemType_MASK)
                index = item.u.mask.index;
        }
        for (A_long i = static_cast<A_long>(selected) - 1; i >= 0 && !err; --i) {
            AEGP_CollectionItemV2 item = {};
            ERR(collections->AEGP_GetCollectionItemByIndex(h.collection, static_cast<A_u_long>(i),
                                                           &item));
            if (!err && (static_cast<A_long>(item.type) & 0xFF) != AEGP_CollectionItemType_LAYER)
                ERR(collections->AEGP_CollectionErase(h.collection, i, i + 1));
        }
    }
    if (!err && index < 0) {
        A_long count = 0;
        ERR(h.masks->AEGP_GetLayerNumMasks(layer, &count));
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
    ERR(h.masks->AEGP_GetLayerMaskByIndex(layer, index, &h.mask));
    return err;
}

// Rounds to the nearest whole number, halves away from zero.
double roundHalfAway(double v) {
    return std::round(v);
}

A_Err run(SPBasicSuite* basic, AEGP_PluginID pluginId) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    Held h(suites);
    AEGP_LayerSuite7* layers = suites.LayerSuite7();

    ERR(h.utility->AEGP_StartUndoGroup(GetStringPtr(StrID_MaskCrop)));
    h.undoOpen = !err;
    AEGP_LayerH layer = NULL;
    AEGP_ItemH source = NULL;
    AEGP_CompH holding = NULL;
    A_u_long selected = 0;
    ERR(layers->AEGP_GetActiveLayer(&layer));
    ERR(layers->AEGP_GetLayerSourceItem(layer, &source));
    ERR(layers->AEGP_GetLayerParentComp(layer, &holding));
    ERR(suites.CompSuite9()->AEGP_GetNewCollectionFromCompSelection(pluginId, holding,
                                                                    &h.collection));
    ERR(h.collections->AEGP_GetCollectionNumItems(h.collection, &selected));

    bool cancelled = false;
    if (!err) err = chooseMask(h, basic, pluginId, layer, selected, &cancelled);
    if (cancelled) return h.finish(err);  // nothing changes; the undo group holds nothing

    A_Time current = {0, 1};
    A_long segments = 0, width = 0, height = 0;
    ERR(h.streams->AEGP_GetNewMaskStream(pluginId, h.mask, AEGP_MaskStream_OUTLINE, &h.stream));
    ERR(suites.ItemSuite8()->AEGP_GetItemCurrentTime(source, &current));
    ERR(h.streams->AEGP_GetNewStreamValue(pluginId, h.stream, AEGP_LTimeMode_CompTime, &current,
                                          false, &h.value));
    h.haveValue = !err;
    A_Boolean open = 0;
    ERR(suites.MaskOutlineSuite2()->AEGP_GetMaskOutlineNumSegments(h.value.val.mask, &segments));
    ERR(suites.MaskOutlineSuite2()->AEGP_IsMaskOutlineOpen(h.value.val.mask, &open));
    ERR(suites.ItemSuite8()->AEGP_GetItemDimensions(source, &width, &height));

    // An open outline of N segments has N + 1 vertices; a closed one N.
    A_long vertices = segments == 0 ? 0 : (open ? segments + 1 : segments);
    double top = height, bottom = 0, left = width, right = 0;
    for (A_long i = 0; i < vertices && !err; ++i) {
        AEGP_MaskVertex v = {};
        ERR(suites.MaskOutlineSuite2()->AEGP_GetMaskOutlineVertexInfo(h.value.val.mask, i, &v));
        if (err) break;
        if (top > v.y) top = roundHalfAway(v.y);
        if (v.y > bottom) bottom = roundHalfAway(v.y);
        if (left > v.x) left = roundHalfAway(v.x);
        if (v.x > right) right = roundHalfAway(v.x);
    }
    h.releaseOutline(&err);
    // A path without vertices encloses nothing: refused before anything changes.
    if (!err && vertices == 0) return h.finish(err);

    A_Boolean deleteMask = 0, padding = 0;
    A_long amount = 0;
    ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefDeleteMask), &deleteMask));
    if (!err && deleteMask) ERR(h.masks->AEGP_DeleteMaskFromLayer(h.mask));
    if (h.mask) ERR2(h.masks->AEGP_DisposeMask(h.mask));
    h.mask = NULL;
    ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefPadding), &padding));
    if (!err && padding)
        ERR(cropUtil::ReadPrefLong(basic, GetStringPtr(StrID_PrefPaddingAmount), 0, &amount));
    top -= amount;
    left -= amount;
    right += amount;
    bottom += amount;

    CroppingBounds bounds = {top, bottom, left, right, width, height};
    AEGP_RenderOptionsH noOptions = NULL;
    if (!err) err = finishCropping(basic, pluginId, &source, bounds, current, 0, &noOptions, 0, 0);
    ERR(suites.CompSuite9()->AEGP_SetSelection(holding, h.collection));
    return h.finish(err);
}

}  // namespace

A_Err maskCrop(SPBasicSuite* basic, AEGP_PluginID pluginId) {
    return run(basic, pluginId);
}

}  // namespace crop
