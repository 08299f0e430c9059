// The "Zentrim" command: crop the active composition, or the sources of the selected
// precomposition layers, to what is visible at the current time (or enlarge them: the expand pass).
#include <algorithm>
#include <string>
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "Crop_Scripts.h"
#include "cropUtil.h"

namespace crop {

namespace {

const A_FloatRect kNoLimit = {-1.0, -1.0, -1.0, -1.0};

// Times compared as rationals (value / scale), whatever their scales.
int compareTimes(const A_Time& a, const A_Time& b) {
    long long l = static_cast<long long>(a.value) * static_cast<long long>(b.scale);
    long long r = static_cast<long long>(b.value) * static_cast<long long>(a.scale);
    return l < r ? -1 : (l > r ? 1 : 0);
}

A_Time addTimes(const A_Time& a, const A_Time& b) {
    if (a.scale == b.scale) return A_Time{a.value + b.value, a.scale};
    long long value =
        static_cast<long long>(a.value) * b.scale + static_cast<long long>(b.value) * a.scale;
    long long scale = static_cast<long long>(a.scale) * b.scale;
    while (value > 0x7fffffffLL || value < -0x7fffffffLL || scale > 0xffffffffLL) {
        value /= 2;
        scale /= 2;
    }
    return A_Time{static_cast<A_long>(value), static_cast<A_u_long>(scale ? scale : 1)};
}

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
        bool absent = !err && compareTimes(in, r.currentTime) > 0;
        if (!err && !absent) {
            ERR(layers->AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime, &duration));
            absent = !err && compareTimes(addTimes(in, duration), r.currentTime) <= 0;
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

// What a target holds from the host. Released explicitly on the normal path (keeping their
// errors); the destructor only acts when a missing suite unwinds the target half-way.
struct Held {
    AEGP_RenderOptionsSuite3* options;
    AEGP_RenderSuite3* render;
    AEGP_RenderOptionsH optionsH = NULL;
    AEGP_FrameReceiptH receiptH = NULL;
    ~Held() {
        if (receiptH) render->AEGP_CheckinFrame(receiptH);
        if (optionsH) options->AEGP_Dispose(optionsH);
    }
};

// Measures and crops target k. Returns true in `stop` when the run ends here (an empty
// composition in composition mode).
A_Err cropTarget(Run& r, A_u_long k, short expand, bool* stop) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler& s = r.suites;
    AEGP_RenderOptionsSuite3* options = s.RenderOptionsSuite3();
    AEGP_RenderSuite3* render = s.RenderSuite3();
    Held held{options, render};
    AEGP_RenderOptionsH& optionsH = held.optionsH;
    AEGP_FrameReceiptH& receiptH = held.receiptH;
    AEGP_LayerH layer = NULL;
    AEGP_ItemH target = r.item;
    if (r.layerMode) {
        layer = layerAt(r, k, &err);
        ERR(s.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &target));
    }

    short hFactor = 1, vFactor = 1;
    unsigned char fullRes = 0;
    ERR(options->AEGP_NewFromItem(r.id, target, &optionsH));
    if (!err) err = checkResolution(r.basic, r.id, &optionsH, &hFactor, &vFactor, &fullRes);

    A_FloatRect limit = kNoLimit;
    A_Time renderTime = {0, 1};
    if (!r.layerMode) {
        ERR(s.ItemSuite8()->AEGP_GetItemCurrentTime(r.item, &renderTime));
    } else {
        if (!err) err = layerRenderTime(r, layer, &renderTime);
        if (r.includeMasks)
            ERR(s.LayerSuite7()->AEGP_GetLayerMaskedBounds(layer, AEGP_LTimeMode_LayerTime,
                                                           &renderTime, &limit));
    }

    AEGP_WorldH worldH = NULL;
    ERR(options->AEGP_SetTime(optionsH, renderTime));
    ERR(render->AEGP_RenderAndCheckoutFrame(optionsH, NULL, NULL, &receiptH));
    ERR(render->AEGP_GetReceiptWorld(receiptH, &worldH));

    CroppingBounds bounds = {0, 0, 0, 0, 0, 0};
    if (!err && expand != 0) {
        A_long w = 0, h = 0;
        ERR(s.WorldSuite3()->AEGP_GetSize(worldH, &w, &h));
        bounds = CroppingBounds{-static_cast<double>(expand),
                                static_cast<double>(h) + expand,
                                -static_cast<double>(expand),
                                static_cast<double>(w) + expand,
                                w,
                                h};
    } else if (!err) {
        err = findCropBounds(r.basic, &worldH, fullRes ? 1 : hFactor, fullRes ? 1 : vFactor,
                             &bounds, limit);
    }
    if (receiptH) ERR2(render->AEGP_CheckinFrame(receiptH));
    receiptH = NULL;

    bool empty = !err && (bounds.top > bounds.bottom || bounds.left > bounds.right);
    if (empty) {
        if (r.firstEmpty) r.moreEmpty = true;
        r.firstEmpty = true;
        if (!r.layerMode) {
            ERR(cropUtil::RunAlertScript(r.basic, r.id, kNothingToCropAlert));
            *stop = true;
        } else {
            A_long index = 0;
            ERR(s.LayerSuite7()->AEGP_GetLayerIndex(layer, &index));
            if (r.moreEmpty) r.skipped += ",";
            r.skipped += std::to_string(index);
        }
    } else if (!err) {
        // The render options go with the crop, which gives them back.
        err = finishCropping(r.basic, r.id, &target, bounds, renderTime, fullRes, &optionsH,
                             hFactor, vFactor);
    }
    if (optionsH) ERR2(options->AEGP_Dispose(optionsH));
    optionsH = NULL;
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

A_Err run(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, short expand) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    // Everything this run may hold is released through these suites: acquire them first.
    suites.CollectionSuite2();
    suites.RenderOptionsSuite3();
    suites.RenderSuite3();
    suites.StreamSuite4();
    Run r(basic, pluginId, suites);
    r.item = item;

    bool completed = false;
    A_Err thrown = A_Err_NONE;
    try {
        if (!r.item)
            ERR(cropUtil::GetSelectedLayers(basic, pluginId, &r.item, &r.comp, &r.collection,
                                            &r.count));
        ERR(suites.ItemSuite8()->AEGP_GetItemCurrentTime(r.item, &r.currentTime));
        r.layerMode = r.count > 0;
        if (!r.layerMode) {
            r.count = 1;
            if (!err)
                err = cropUtil::ThreeDInItem(basic, pluginId, &r.item, &cropUtil::checkPrefsThreeD);
        } else {
            if (!err) err = narrowSelection(r);
            if (!err && r.count == 0) {
                // The command hook closes its undo group after this, as after every crop.
                ERR(cropUtil::RunAlertScript(basic, pluginId, kNoLayersToCropAlert));
                if (r.collection)
                    ERR2(suites.CollectionSuite2()->AEGP_DisposeCollection(r.collection));
                return err;
            }
            if (!err) err = onePerSource(r);
        }
        ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefIncludeMasks), &r.includeMasks));

        bool stop = false;
        for (A_u_long k = 0; k < r.count && !err && !stop; ++k)
            err = cropTarget(r, k, expand, &stop);
        completed = !stop;
        if (completed) {
            resChosen = 0;
            cropUtil::checkPrefsThreeD = 1;
            if (!err && r.firstEmpty) err = reportSkipped(r);
        }
    } catch (A_Err e) {
        thrown = e;
    }
    if (r.collection) ERR2(suites.CollectionSuite2()->AEGP_DisposeCollection(r.collection));
    return thrown ? thrown : err;
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
