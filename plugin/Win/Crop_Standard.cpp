// The "Zentrim" command: crop the active composition, or the sources of the selected
// precomposition layers, to what is visible at the current time (or enlarge them: the expand pass).
#include <algorithm>
#include <string>
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "Crop_Scripts.h"
#include "cropUtil.h"

namespace crop {

namespace {

struct Run {
    Run(SPBasicSuite* b, AEGP_PluginID i, AEGP_SuiteHandler& s) : basic(b), id(i), suites(s) {}
    SPBasicSuite* basic;
    AEGP_PluginID id;
    AEGP_SuiteHandler& suites;
    AEGP_ItemH item = NULL;
    AEGP_CompH comp = NULL;
    AEGP_Collection2H collection = NULL;
    A_u_long count = 0;
    A_Time currentTime = {0, 1};
    bool layerMode = false;
    A_Boolean includeMasks = 0;
    std::string skipped;  // "2,7": 0-based indices of layers whose frame was empty
    bool firstEmpty = false, moreEmpty = false;
    bool refused = false;  // a target's crop was refused for its size
};

AEGP_LayerH layerAt(Run& r, A_u_long index, A_Err* errP) {
    AEGP_CollectionItemV2 item = {};
    A_Err& err = *errP;
    ERR(r.suites.CollectionSuite2()->AEGP_GetCollectionItemByIndex(r.collection, index, &item));
    return err ? NULL : item.u.layer.layerH;
}

// Keeps the layers present at the current time, then one layer per source composition (the one
// with the highest index in the collection).
A_Err narrowSelection(Run& r) {
    A_Err err = A_Err_NONE;
    AEGP_LayerSuite7* layers = r.suites.LayerSuite7();
    AEGP_CollectionSuite2* collections = r.suites.CollectionSuite2();
    ERR(cropUtil::RemoveNonPrecomps(r.basic, &r.collection, &r.count));
    for (A_long i = static_cast<A_long>(r.count) - 1; i >= 0 && !err; --i) {
        AEGP_LayerH layer = layerAt(r, static_cast<A_u_long>(i), &err);
        A_Time in = {0, 1}, duration = {0, 1};
        ERR(layers->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &in));
        bool absent = !err && cropUtil::CompareTimes(in, r.currentTime) > 0;
        if (!err && !absent) {
            ERR(layers->AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime, &duration));
            absent = !err &&
                     cropUtil::CompareTimes(cropUtil::AddTimes(in, duration), r.currentTime) <= 0;
        }
        if (absent) ERR(collections->AEGP_CollectionErase(r.collection, i, i + 1));
    }
    ERR(collections->AEGP_GetCollectionNumItems(r.collection, &r.count));
    return err;
}

A_Err onePerSource(Run& r) {
    A_Err err = A_Err_NONE;
    std::vector<A_long> taken;
    for (A_long i = static_cast<A_long>(r.count) - 1; i >= 0 && !err; --i) {
        AEGP_LayerH layer = layerAt(r, static_cast<A_u_long>(i), &err);
        AEGP_ItemH source = NULL;
        A_long sourceId = 0;
        ERR(r.suites.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &source));
        ERR(r.suites.ItemSuite8()->AEGP_GetItemID(source, &sourceId));
        if (err) break;
        if (std::find(taken.begin(), taken.end(), sourceId) == taken.end()) {
            taken.push_back(sourceId);
        } else {
            ERR(r.suites.CollectionSuite2()->AEGP_CollectionErase(r.collection, i, i + 1));
        }
    }
    ERR(r.suites.CollectionSuite2()->AEGP_GetCollectionNumItems(r.collection, &r.count));
    ERR(r.suites.CompSuite9()->AEGP_SetSelection(r.comp, r.collection));
    if (!err)
        err = cropUtil::CheckForThreeD(r.basic, r.id, r.collection, r.count,
                                       &cropUtil::checkPrefsThreeD);
    return err;
}

// The composition time at which a selected layer shows its source: its layer time, or the value
// of its time remapping.
A_Err layerRenderTime(Run& r, AEGP_LayerH layer, A_Time* timeP) {
    A_Err err = A_Err_NONE;
    AEGP_LayerSuite7* layers = r.suites.LayerSuite7();
    AEGP_StreamSuite4* streams = r.suites.StreamSuite4();
    AEGP_LayerFlags flags = 0;
    ERR(layers->AEGP_GetLayerFlags(layer, &flags));
    if (err) return err;
    if (!(flags & AEGP_LayerFlag_TIME_REMAPPING))
        return layers->AEGP_GetLayerCurrentTime(layer, AEGP_LTimeMode_LayerTime, timeP);

    AEGP_StreamRefH streamH = NULL;
    AEGP_StreamValue2 value = {};
    ERR(layers->AEGP_GetLayerCurrentTime(layer, AEGP_LTimeMode_CompTime, timeP));
    ERR(streams->AEGP_GetNewLayerStream(r.id, layer, AEGP_LayerStream_TIME_REMAP, &streamH));
    ERR(streams->AEGP_GetNewStreamValue(r.id, streamH, AEGP_LTimeMode_CompTime, timeP, false,
                                        &value));
    bool haveValue = !err;
    if (!err)
        timeP->value = static_cast<A_long>(value.val.one_d * static_cast<double>(timeP->scale));
    if (haveValue) ERR2(streams->AEGP_DisposeStreamValue(&value));
    if (streamH) ERR2(streams->AEGP_DisposeStream(streamH));
    return err;
}

// The composition time at which target k is shown, and the limit its masks set (layer mode).
A_Err targetTime(Run& r, AEGP_LayerH layer, A_Time* timeP, A_FloatRect* limitP) {
    A_Err err = A_Err_NONE;
    if (!r.layerMode) return r.suites.ItemSuite8()->AEGP_GetItemCurrentTime(r.item, timeP);
    err = layerRenderTime(r, layer, timeP);
    if (r.includeMasks)
        ERR(r.suites.LayerSuite7()->AEGP_GetLayerMaskedBounds(layer, AEGP_LTimeMode_LayerTime,
                                                              timeP, limitP));
    return err;
}

// An empty frame: in composition mode the run ends with "Nothing to Crop"; in layer mode the
// layer joins the skipped-layer report.
A_Err noteEmpty(Run& r, AEGP_LayerH layer, bool* stop) {
    A_Err err = A_Err_NONE;
    if (r.firstEmpty) r.moreEmpty = true;
    r.firstEmpty = true;
    if (!r.layerMode) {
        ERR(cropUtil::RunAlertScript(r.basic, r.id, kNothingToCropAlert));
        *stop = true;
        return err;
    }
    A_long index = 0;
    ERR(r.suites.LayerSuite7()->AEGP_GetLayerIndex(layer, &index));
    if (r.moreEmpty) r.skipped += ",";
    r.skipped += std::to_string(index);
    return err;
}

// Measures and crops target k. Returns true in `stop` when the run ends here (an empty
// composition in composition mode).
A_Err cropTarget(Run& r, A_u_long k, short expand, bool* stop) {
    A_Err err = A_Err_NONE;
    AEGP_RenderOptionsSuite3* options = r.suites.RenderOptionsSuite3();
    Measurement m = {NULL, 1, 1, 0};
    // The crop gives the options back itself (and clears the handle); otherwise they go here.
    auto heldOptions = HoldHandle(
        m.optionsH, [options](AEGP_RenderOptionsH h) { return options->AEGP_Dispose(h); });
    AEGP_LayerH layer = NULL;
    AEGP_ItemH target = r.item;
    if (r.layerMode) {
        layer = layerAt(r, k, &err);
        ERR(r.suites.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &target));
    }
    if (!err) err = startMeasurement(r.basic, r.id, target, &m);

    A_FloatRect limit = kNoLimit;
    A_Time renderTime = {0, 1};
    if (!err) err = targetTime(r, layer, &renderTime, &limit);
    CroppingBounds bounds = {0, 0, 0, 0, 0, 0};
    if (!err) err = measureFrame(r.basic, m, renderTime, limit, expand, &bounds);

    bool empty = !err && (bounds.top > bounds.bottom || bounds.left > bounds.right);
    if (empty) {
        err = noteEmpty(r, layer, stop);
    } else if (!err) {
        err = finishCropping(r.basic, r.id, &target, bounds, renderTime, m.fullResolution,
                             &m.optionsH, m.hFactor, m.vFactor);
        if (err == kCropRefused) {
            r.refused = true;  // the user was told; the other targets go on
            err = A_Err_NONE;
        }
    }
    heldOptions.release(&err);
    return err;
}

A_Err reportSkipped(Run& r) {
    std::vector<char> script(std::char_traits<char>::length(kSkippedLayersReportFormat) +
                             r.skipped.size() + 1);
    A_Err err = cropUtil::SprintOS(script.data(), static_cast<int>(script.size()),
                                   kSkippedLayersReportFormat, r.skipped.c_str());
    ERR(cropUtil::RunAlertScript(r.basic, r.id, script.data()));
    return err;
}

// The selection of a run in layer mode: present precompositions, one per source, 3D handled.
// Returns true in `none` when no layer is left to crop.
A_Err chooseTargets(Run& r, bool* none) {
    A_Err err = A_Err_NONE;
    if (!err) err = narrowSelection(r);
    if (!err && r.count == 0) {
        *none = true;
        return cropUtil::RunAlertScript(r.basic, r.id, kNoLayersToCropAlert);
    }
    if (!err) err = onePerSource(r);
    return err;
}

A_Err run(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, short expand) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_CollectionSuite2* collections = suites.CollectionSuite2();
    Run r(basic, pluginId, suites);
    auto heldCollection = HoldHandle(r.collection, [collections](AEGP_Collection2H h) {
        return collections->AEGP_DisposeCollection(h);
    });
    r.item = item;

    if (!r.item)
        ERR(cropUtil::GetSelectedLayers(basic, pluginId, &r.item, &r.comp, &r.collection,
                                        &r.count));
    ERR(suites.ItemSuite8()->AEGP_GetItemCurrentTime(r.item, &r.currentTime));
    r.layerMode = r.count > 0;
    if (!r.layerMode) {
        r.count = 1;
        if (!err)
            err = cropUtil::ThreeDInItem(basic, pluginId, &r.item, &cropUtil::checkPrefsThreeD);
    } else if (!err) {
        bool none = false;
        err = chooseTargets(r, &none);
        if (none) {
            // The command hook closes its undo group after this, as after every crop.
            heldCollection.release(&err);
            return err;
        }
    }
    ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefIncludeMasks), &r.includeMasks));

    bool stop = false;
    for (A_u_long k = 0; k < r.count && !err && !stop; ++k)
        err = cropTarget(r, k, expand, &stop);
    if (!stop && !err && r.firstEmpty) err = reportSkipped(r);
    heldCollection.release(&err);
    // An expand pass that could not enlarge a target ends the command: cropping to the content
    // without the enlargement asked for is not what the user wanted.
    if (!err && r.refused && expand != 0) err = kCropRefused;
    return err;
}

}  // namespace

A_Err standardCrop(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, short expand) {
    try {
        return run(basic, pluginId, item, expand);
    } catch (A_Err thrown) {
        return thrown;
    }
}

}  // namespace crop
