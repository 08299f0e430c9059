// The times at which the crop over the duration measures its composition: its own frames, and
// every time a composition that uses it without time remapping shows it (at that composition's
// frame rate and phase), in increasing order and each once.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "Crop.h"
#include "cropUtil.h"

namespace crop {

namespace {

A_Time negated(const A_Time& t) {
    return A_Time{-t.value, t.scale};
}
A_Time later(const A_Time& a, const A_Time& b) {
    return cropUtil::CompareTimes(a, b) >= 0 ? a : b;
}
A_Time earlier(const A_Time& a, const A_Time& b) {
    return cropUtil::CompareTimes(a, b) <= 0 ? a : b;
}

}  // namespace

void SampleTimes::add(A_Time first, A_Time step, A_Time end) {
    if (step.value <= 0 || step.scale == 0 || first.scale == 0) return;
    Run run = {first, step, end, first, 0, cropUtil::CompareTimes(first, end) >= 0};
    runs_.push_back(run);
}

bool SampleTimes::next(A_Time* timeP) {
    const Run* smallest = nullptr;
    for (const Run& r : runs_)
        if (!r.done && (!smallest || cropUtil::CompareTimes(r.head, smallest->head) < 0))
            smallest = &r;
    if (!smallest) return false;
    const A_Time t = smallest->head;
    // Every run that reached this time moves on, so that a time shown by several comes once.
    for (Run& r : runs_) {
        if (r.done || cropUtil::CompareTimes(r.head, t) != 0) continue;
        const int64_t offset = static_cast<int64_t>(++r.index) * r.step.value;
        if (offset > 0x7fffffffLL) {
            r.done = true;
            continue;
        }
        r.head = cropUtil::AddTimes(r.first, A_Time{static_cast<A_long>(offset), r.step.scale});
        r.done = cropUtil::CompareTimes(r.head, r.end) >= 0;
    }
    *timeP = t;
    return true;
}

int percentAt(const A_Time& t, const A_Time& end) {
    int64_t percent = 0;
    if (end.value <= 0) return 100;
    if (t.scale == end.scale) {
        percent = static_cast<int64_t>(t.value) * 100 / end.value;
    } else {
        const double share =
            (static_cast<double>(t.value) / t.scale) / (static_cast<double>(end.value) / end.scale);
        percent = static_cast<int64_t>(std::floor(share * 100));
    }
    percent = std::max<int64_t>(0, percent);
    return static_cast<int>(percent < 100 ? percent + 1 : 100);
}

namespace {

// A composition that holds uses: its frame and its duration.
struct Holder {
    AEGP_CompH comp;
    A_Time frame, duration;
};

A_Err holderOf(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_CompH comp,
               std::vector<Holder>* holders, Holder* holderP) {
    A_Err err = A_Err_NONE;
    for (const Holder& h : *holders)
        if (h.comp == comp) {
            *holderP = h;
            return err;
        }
    AEGP_RenderOptionsSuite3* options = suites.RenderOptionsSuite3();
    AEGP_RenderOptionsH optionsH = NULL;
    auto heldOptions = HoldRenderOptions(options, optionsH);
    Holder h = {comp, {0, 1}, {0, 1}};
    AEGP_ItemH item = NULL;
    ERR(suites.CompSuite9()->AEGP_GetItemFromComp(comp, &item));
    ERR(suites.ItemSuite8()->AEGP_GetItemDuration(item, &h.duration));
    // One frame of the composition is the step its render options take.
    ERR(options->AEGP_NewFromItem(pluginId, item, &optionsH));
    ERR(options->AEGP_GetTimeStep(optionsH, &h.frame));
    heldOptions.release(&err);
    if (!err) {
        holders->push_back(h);
        *holderP = h;
    }
    return err;
}

// The source times a use shows: its composition's frames while the use is in it, as times of the
// source from 0 to `duration`.
A_Err addUse(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH use, A_Time duration,
             std::vector<Holder>* holders, SampleTimes* times) {
    A_Err err = A_Err_NONE;
    AEGP_LayerSuite7* layers = suites.LayerSuite7();
    AEGP_LayerFlags flags = 0;
    ERR(layers->AEGP_GetLayerFlags(use, &flags));
    if (err || (flags & AEGP_LayerFlag_TIME_REMAPPING)) return err;  // it shows times of its own

    AEGP_CompH comp = NULL;
    Holder holder = {NULL, {0, 1}, {0, 1}};
    A_Time inComp = {0, 1}, inLayer = {0, 1}, length = {0, 1};
    ERR(layers->AEGP_GetLayerParentComp(use, &comp));
    if (!err) err = holderOf(suites, pluginId, comp, holders, &holder);
    ERR(layers->AEGP_GetLayerInPoint(use, AEGP_LTimeMode_CompTime, &inComp));
    ERR(layers->AEGP_GetLayerInPoint(use, AEGP_LTimeMode_LayerTime, &inLayer));
    ERR(layers->AEGP_GetLayerDuration(use, AEGP_LTimeMode_CompTime, &length));
    if (err) return err;
    const A_Time frame = holder.frame;
    if (frame.value <= 0 || frame.scale == 0) return err;

    // Composition times at which the use shows its source: inside the use, inside the
    // composition, and where the source has a time to show.
    const A_Time start = cropUtil::AddTimes(inComp, negated(inLayer));
    const A_Time from = later(later(inComp, start), A_Time{0, 1});
    const A_Time to = earlier(earlier(cropUtil::AddTimes(inComp, length), holder.duration),
                              cropUtil::AddTimes(start, duration));
    // The first frame of the composition at or after `from`.
    const int64_t num = static_cast<int64_t>(from.value) * frame.scale;
    const int64_t den = static_cast<int64_t>(from.scale) * frame.value;
    const int64_t firstFrame = den > 0 ? (num + den - 1) / den : 0;
    const int64_t firstValue = firstFrame * frame.value;
    if (firstValue > 0x7fffffffLL) return err;
    const A_Time first = {static_cast<A_long>(firstValue), frame.scale};
    times->add(cropUtil::AddTimes(first, negated(start)), frame,
               cropUtil::AddTimes(to, negated(start)));
    return err;
}

}  // namespace

A_Err addUseTimes(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, A_Time duration,
                  SampleTimes* times) {
    std::vector<AEGP_LayerH> uses;
    A_Err err = cropUtil::FindAllCompUses(basic, pluginId, item, &uses);
    AEGP_SuiteHandler suites(basic);
    std::vector<Holder> holders;  // each composition that holds a use, read once
    for (size_t u = 0; u < uses.size() && !err; ++u)
        err = addUse(suites, pluginId, uses[u], duration, &holders, times);
    return err;
}

}  // namespace crop
