// The "Zentrim Duration" command: the composition is rendered and measured at every time it is
// shown (its own frames, and the frames of every composition that uses it), and cropped once to
// the union of what is visible at any of them.
#include <cstdint>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "ProgressWindow.h"
#include "cropUtil.h"

namespace crop {

namespace {

// What the setup found: the composition to crop, the layer whose masks may limit it, and the
// frames to measure.
struct Target {
    AEGP_ItemH item = NULL;
    AEGP_LayerH activeLayer = NULL;
    A_Boolean includeMasks = 0;
    A_Time duration = {0, 1};
    A_Time step = {0, 1};
    int64_t end = 0;  // in the step's scale: every frame that starts before it is measured
    A_long padding = 0;
};

// Finds what to crop (the active layer's source, or the active item), reads whether the active
// layer's masks limit the crop, and runs the 3D check on the target. The masks of a time-remapped
// layer belong to times of its own, not to the source's times the crop walks: they limit nothing
// here.
A_Err findTarget(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_SuiteHandler& suites,
                 Target* t) {
    A_Err err = A_Err_NONE;
    AEGP_LayerSuite7* layers = suites.LayerSuite7();
    ERR(layers->AEGP_GetActiveLayer(&t->activeLayer));
    if (!err && t->activeLayer) {
        AEGP_LayerFlags flags = 0;
        ERR(layers->AEGP_GetLayerSourceItem(t->activeLayer, &t->item));
        ERR(layers->AEGP_GetLayerFlags(t->activeLayer, &flags));
        if (!err && !(flags & AEGP_LayerFlag_TIME_REMAPPING))
            ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefIncludeMasks),
                                       &t->includeMasks));
    } else {
        ERR(suites.ItemSuite8()->AEGP_GetActiveItem(&t->item));
    }
    if (!err) err = cropUtil::ThreeDInItem(basic, pluginId, &t->item, &cropUtil::checkPrefsThreeD);
    return err;
}

// The frames: the duration in the step's scale, rounded up, so that a last frame that starts
// before the end but does not fill a whole step is measured too.
A_Err readFrames(AEGP_SuiteHandler& suites, const Measurement& m, Target* t) {
    A_Err err = A_Err_NONE;
    ERR(suites.ItemSuite8()->AEGP_GetItemDuration(t->item, &t->duration));
    ERR(suites.RenderOptionsSuite3()->AEGP_GetTimeStep(m.optionsH, &t->step));
    // A step that does not advance would never end the loop.
    if (!err && (t->step.value <= 0 || t->step.scale == 0 || t->duration.scale == 0))
        err = A_Err_PARAMETER;
    if (err) return err;
    t->end = t->duration.value;
    if (t->step.scale != t->duration.scale) {
        const int64_t scaled = static_cast<int64_t>(t->duration.value) * t->step.scale;
        t->end = scaled / t->duration.scale;
        if (scaled > 0 && scaled % t->duration.scale != 0) ++t->end;
    }
    return err;
}

// The times to measure: the composition's own frames and the times its uses show.
A_Err sampleTimes(SPBasicSuite* basic, AEGP_PluginID pluginId, const Target& t,
                  SampleTimes* times) {
    const A_Time end = {static_cast<A_long>(t.end), t.step.scale};
    times->add(A_Time{0, t.step.scale}, t.step, end);
    return addUseTimes(basic, pluginId, t.item, t.duration, times);
}

// The loop: the union of what every time shows (and of the active layer's masked bounds), with
// progress and the cancel test after each time. Once the union holds the whole frame no time can
// widen it, so nothing more is rendered; the masks are still read at every time. Returns true in
// `cancelled` when the user held the chord. Once a host error is met, the loop only steps on to
// the end.
A_Err measureTimes(SPBasicSuite* basic, AEGP_SuiteHandler& suites, const Measurement& m,
                   const Target& t, SampleTimes& times, ProgressWindow& window,
                   CroppingBounds* unionP, A_FloatRect* maskUnionP, bool* firstP, bool* cancelled) {
    A_Err err = A_Err_NONE;
    const A_Time end = {static_cast<A_long>(t.end), t.step.scale};
    const CroppingBounds whole = wholeFrameBounds(m, t.padding);
    bool covered = false;
    A_Time sampling = {0, 1};
    int shown = 0;  // the percent the window shows
    while (times.next(&sampling)) {
        if (!err && t.includeMasks) {
            A_FloatRect frameMask = kNoLimit;
            ERR(suites.LayerSuite7()->AEGP_GetLayerMaskedBounds(
                t.activeLayer, AEGP_LTimeMode_LayerTime, &sampling, &frameMask));
            if (!err) mergeMaskBounds(maskUnionP, frameMask);
        }
        if (!err && !covered) {
            CroppingBounds frame = {0, 0, 0, 0, 0, 0};
            err = measureFrame(basic, m, sampling, kNoLimit, &frame);
            if (!err) mergeBounds(unionP, frame, firstP);
            covered = !err && covers(*unionP, whole);
        }
        if (window.cancelRequested()) {
            *cancelled = true;
            return err;
        }
        shown = percentAt(sampling, end);
        window.setPercent(shown);
        if (covered && !t.includeMasks) break;  // nothing left to read
    }
    if (!err && shown < 100) window.setPercent(100);  // a loop that stopped early ends full
    return err;
}

A_Err run(SPBasicSuite* basic, AEGP_PluginID pluginId, bool* firstRunP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_UtilitySuite5* utility = suites.UtilitySuite5();
    AEGP_RenderOptionsSuite3* options = suites.RenderOptionsSuite3();
    auto heldUndo = HoldUndoGroup(utility, GetStringPtr(StrID_Duration), &err);
    Measurement m = {NULL, 1, 1, 0, 0, 0};
    auto heldOptions = HoldRenderOptions(options, m.optionsH);
    ProgressWindow window;
    bool windowOpen = false;
    HostHold heldWindow([&]() -> A_Err {
        if (windowOpen) window.close();
        windowOpen = false;
        return A_Err_NONE;
    });
    // Every exit closes the window, gives the options back and closes the undo group.
    auto finish = [&](A_Err result) {
        heldWindow.release(&result);
        heldOptions.release(&result);
        heldUndo.release(&result);
        return result;
    };

    Target t;
    SampleTimes times;
    if (!err) err = findTarget(basic, pluginId, suites, &t);
    if (!err) err = startMeasurement(basic, pluginId, t.item, &m);
    if (!err) err = readFrames(suites, m, &t);
    if (!err) err = sampleTimes(basic, pluginId, t, &times);
    if (!err) err = cropUtil::ReadPadding(basic, &t.padding);
    if (err) return finish(err);  // nothing read is trustworthy: no window, no frames

    window.open(*firstRunP, suites);
    windowOpen = true;
    *firstRunP = false;  // the window class, where there is one, is registered now
    A_FloatRect maskUnion = kNoLimit;
    CroppingBounds unionBounds = {1, 0, 1, 0, 0, 0};
    bool first = true, cancelled = false;
    err = measureTimes(basic, suites, m, t, times, window, &unionBounds, &maskUnion, &first,
                       &cancelled);
    if (cancelled || err) return finish(err);

    if (t.includeMasks && maskUnion.bottom != -1 && maskUnion.right != -1)
        clipToMasks(&unionBounds, maskUnion);
    if (first || unionBounds.top > unionBounds.bottom || unionBounds.left > unionBounds.right)
        return finish(err);  // nothing to crop: no message

    // The first step time not before the end of the duration.
    const A_Time after = {
        static_cast<A_long>(((t.end + t.step.value - 1) / t.step.value) * t.step.value),
        t.step.scale};
    err = finishCropping(basic, pluginId, &t.item, unionBounds, after, m.fullResolution,
                         &m.optionsH, m.hFactor, m.vFactor);
    if (err == kCropRefused) err = A_Err_NONE;  // the user was told
    return finish(err);
}

}  // namespace

A_Err cropDuration(SPBasicSuite* basic, AEGP_PluginID pluginId, bool* firstRunP) {
    try {
        return run(basic, pluginId, firstRunP);
    } catch (A_Err thrown) {
        return thrown;
    }
}

}  // namespace crop
