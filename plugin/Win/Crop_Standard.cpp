// The "Zentrim" command: crop the active composition, or the sources of the selected
// precomposition layers, to what is visible at the current time (or enlarge them: the expand pass).
#include <algorithm>
#include <string>
#include <utility>
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
    return err;
}

// The targets become the composition's selection, and their sources with 3D layers may be
// pre-composed; in composition mode, the item itself.
A_Err settleTargets(Run& r) {
    A_Err err = A_Err_NONE;
    if (!r.layerMode)
        return cropUtil::ThreeDInItem(r.basic, r.id, &r.item, &cropUtil::checkPrefsThreeD);
    ERR(r.suites.CompSuite9()->AEGP_SetSelection(r.comp, r.collection));
    if (!err)
        err = cropUtil::CheckForThreeD(r.basic, r.id, r.collection, r.count,
                                       &cropUtil::checkPrefsThreeD);
    return err;
}

// The source time at which a selected layer shows its source: its layer time, or the value of
// its time remapping, in a scale that holds a thousandth of a source frame (`m` measures the
// source). With "IncludeMasks", the limit its masks set, read at the layer's own time: the masks
// belong to the layer, not to its source.
A_Err layerTimes(Run& r, AEGP_LayerH layer, const Measurement& m, A_Time* timeP,
                 A_FloatRect* limitP) {
    A_Err err = A_Err_NONE;
    AEGP_LayerSuite7* layers = r.suites.LayerSuite7();
    AEGP_StreamSuite4* streams = r.suites.StreamSuite4();
    AEGP_LayerFlags flags = 0;
    A_Time layerTime = {0, 1};
    ERR(layers->AEGP_GetLayerFlags(layer, &flags));
    ERR(layers->AEGP_GetLayerCurrentTime(layer, AEGP_LTimeMode_LayerTime, &layerTime));
    if (!err) *timeP = layerTime;
    if (!err && (flags & AEGP_LayerFlag_TIME_REMAPPING)) {
        AEGP_StreamRefH streamH = NULL;
        AEGP_StreamValue2 value = {};
        bool haveValue = false;
        auto heldStream = HoldStream(streams, streamH);
        auto heldValue = HoldStreamValue(streams, value, haveValue);
        A_Time compTime = {0, 1}, frame = {0, 1};
        ERR(r.suites.RenderOptionsSuite3()->AEGP_GetTimeStep(m.optionsH, &frame));
        ERR(layers->AEGP_GetLayerCurrentTime(layer, AEGP_LTimeMode_CompTime, &compTime));
        ERR(streams->AEGP_GetNewLayerStream(r.id, layer, AEGP_LayerStream_TIME_REMAP, &streamH));
        ERR(streams->AEGP_GetNewStreamValue(r.id, streamH, AEGP_LTimeMode_CompTime, &compTime,
                                            false, &value));
        haveValue = !err;
        if (!err) *timeP = cropUtil::SecondsToTime(value.val.one_d, frame);
        heldValue.release(&err);
        heldStream.release(&err);
    }
    if (r.includeMasks)
        ERR(layers->AEGP_GetLayerMaskedBounds(layer, AEGP_LTimeMode_LayerTime, &layerTime, limitP));
    return err;
}

// The time at which target k is measured, and the limit its masks set (layer mode).
A_Err targetTime(Run& r, AEGP_LayerH layer, const Measurement& m, A_Time* timeP,
                 A_FloatRect* limitP) {
    if (!r.layerMode) return r.suites.ItemSuite8()->AEGP_GetItemCurrentTime(r.item, timeP);
    return layerTimes(r, layer, m, timeP, limitP);
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

// The source of target k: the item in composition mode, the layer's source in layer mode.
A_Err targetAt(Run& r, A_u_long k, AEGP_LayerH* layerP, AEGP_ItemH* targetP) {
    A_Err err = A_Err_NONE;
    *layerP = NULL;
    *targetP = r.item;
    if (!r.layerMode) return err;
    *layerP = layerAt(r, k, &err);
    ERR(r.suites.LayerSuite7()->AEGP_GetLayerSourceItem(*layerP, targetP));
    return err;
}

// Measures and crops target k. Returns true in `stop` when the run ends here (an empty
// composition in composition mode).
A_Err cropTarget(Run& r, A_u_long k, bool* stop) {
    A_Err err = A_Err_NONE;
    AEGP_RenderOptionsSuite3* options = r.suites.RenderOptionsSuite3();
    Measurement m = {NULL, 1, 1, 0, 0, 0};
    // The crop gives the options back itself (and clears the handle); otherwise they go here.
    auto heldOptions = HoldRenderOptions(options, m.optionsH);
    AEGP_LayerH layer = NULL;
    AEGP_ItemH target = NULL;
    err = targetAt(r, k, &layer, &target);
    if (!err) err = startMeasurement(r.basic, r.id, target, &m);

    A_FloatRect limit = kNoLimit;
    A_Time renderTime = {0, 1};
    if (!err) err = targetTime(r, layer, m, &renderTime, &limit);
    CroppingBounds bounds = {0, 0, 0, 0, 0, 0};
    if (!err) err = measureFrame(r.basic, m, renderTime, limit, &bounds);

    bool empty = !err && (bounds.top > bounds.bottom || bounds.left > bounds.right);
    if (empty) {
        err = noteEmpty(r, layer, stop);
    } else if (!err) {
        err = finishCropping(r.basic, r.id, &target, bounds, renderTime, m.fullResolution,
                             &m.optionsH, m.hFactor, m.vFactor);
        if (err == kCropRefused) err = A_Err_NONE;  // the user was told; the other targets go on
    }
    heldOptions.release(&err);
    return err;
}

// The expand pass: every target is enlarged by `expand` on every side of its own size. Nothing is
// rendered. Each target's enlarged size is checked before any is enlarged (or pre-composed), so a
// refused pass changes nothing.
A_Err expandTargets(Run& r, short expand) {
    A_Err err = A_Err_NONE;
    std::vector<std::pair<AEGP_ItemH, CroppingBounds>> planned;
    for (A_u_long k = 0; k < r.count && !err; ++k) {
        AEGP_LayerH layer = NULL;
        AEGP_ItemH target = NULL;
        A_long width = 0, height = 0;
        err = targetAt(r, k, &layer, &target);
        ERR(r.suites.ItemSuite8()->AEGP_GetItemDimensions(target, &width, &height));
        if (!err) planned.emplace_back(target, expandedBounds(width, height, expand));
    }
    for (auto& [target, bounds] : planned) {
        if (err) break;
        err = checkCropSize(r.basic, r.id, target, bounds);
    }
    if (!err) err = settleTargets(r);
    for (auto& [target, bounds] : planned) {
        if (err) break;
        AEGP_RenderOptionsH noOptions = NULL;
        AEGP_ItemH item = target;
        err = finishCropping(r.basic, r.id, &item, bounds, r.currentTime, 0, &noOptions, 0, 0);
    }
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

// The selection of a run in layer mode: present precompositions, one per source. Returns true in
// `none` when no layer is left to crop.
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
    auto heldCollection = HoldCollection(collections, r.collection);
    r.item = item;

    if (!r.item)
        ERR(cropUtil::GetSelectedLayers(basic, pluginId, &r.item, &r.comp, &r.collection,
                                        &r.count));
    ERR(suites.ItemSuite8()->AEGP_GetItemCurrentTime(r.item, &r.currentTime));
    r.layerMode = r.count > 0;
    if (!r.layerMode) {
        r.count = 1;
    } else if (!err) {
        bool none = false;
        err = chooseTargets(r, &none);
        if (none) {
            // The command hook closes its undo group after this, as after every crop. An expand
            // pass that found nothing ends the command: the user was told once.
            heldCollection.release(&err);
            return !err && expand != 0 ? kNothingToCrop : err;
        }
    }
    if (!err && expand != 0) {
        err = expandTargets(r, expand);
        heldCollection.release(&err);
        return err;
    }
    if (!err) err = settleTargets(r);
    ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefIncludeMasks), &r.includeMasks));

    bool stop = false;
    for (A_u_long k = 0; k < r.count && !err && !stop; ++k)
        err = cropTarget(r, k, &stop);
    if (!stop && !err && r.firstEmpty) err = reportSkipped(r);
    heldCollection.release(&err);
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
