// The "Zentrim Duration" command: every frame of one composition is rendered and measured, and the
// composition is cropped once to the union of what is visible at any time.
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
    A_Time step = {0, 1};
    int64_t end = 0;  // in the step's scale: every frame that starts before it is measured
};

// Steps 2 to 4 of the setup: the target (the active layer's source, or the active item) and the
// 3D check.
A_Err findTarget(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_SuiteHandler& suites,
                 Target* t) {
    A_Err err = A_Err_NONE;
    AEGP_LayerSuite7* layers = suites.LayerSuite7();
    ERR(layers->AEGP_GetActiveLayer(&t->activeLayer));
    if (!err && t->activeLayer) {
        ERR(layers->AEGP_GetLayerSourceItem(t->activeLayer, &t->item));
        ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefIncludeMasks), &t->includeMasks));
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
    A_Time duration = {0, 1};
    ERR(suites.ItemSuite8()->AEGP_GetItemDuration(t->item, &duration));
    ERR(suites.RenderOptionsSuite3()->AEGP_GetTimeStep(m.optionsH, &t->step));
    // A step that does not advance would never end the loop.
    if (!err && (t->step.value <= 0 || t->step.scale == 0 || duration.scale == 0))
        err = A_Err_PARAMETER;
    if (err) return err;
    t->end = duration.value;
    if (t->step.scale != duration.scale) {
        const int64_t scaled = static_cast<int64_t>(duration.value) * t->step.scale;
        t->end = scaled / duration.scale;
        if (scaled > 0 && scaled % duration.scale != 0) ++t->end;
    }
    return err;
}

// The frame loop: the union of every frame's content (and of the active layer's masked bounds),
// with progress and the cancel test after each frame. Returns true in `cancelled` when the user
// held the chord. Once a host error is met, the loop only steps on to the end.
A_Err measureFrames(SPBasicSuite* basic, AEGP_SuiteHandler& suites, const Measurement& m,
                    const Target& t, ProgressWindow& window, CroppingBounds* unionP,
                    A_FloatRect* maskUnionP, bool* firstP, bool* cancelled) {
    A_Err err = A_Err_NONE;
    A_Time sampling = {0, t.step.scale};
    for (int64_t time = 0; time < t.end; time += t.step.value) {
        sampling.value = static_cast<A_long>(time);
        if (!err && t.includeMasks) {
            A_FloatRect frameMask = kNoLimit;
            ERR(suites.LayerSuite7()->AEGP_GetLayerMaskedBounds(
                t.activeLayer, AEGP_LTimeMode_LayerTime, &sampling, &frameMask));
            if (!err) mergeMaskBounds(maskUnionP, frameMask);
        }
        CroppingBounds frame = {0, 0, 0, 0, 0, 0};
        if (!err) err = measureFrame(basic, m, sampling, kNoLimit, &frame);
        if (!err) mergeBounds(unionP, frame, firstP);
        if (window.cancelRequested()) {
            *cancelled = true;
            return err;
        }
        int64_t percent = time * 100 / t.end;
        if (percent < 100) ++percent;
        window.setPercent(static_cast<int>(percent));
    }
    return err;
}

A_Err run(SPBasicSuite* basic, AEGP_PluginID pluginId, bool* firstRunP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_UtilitySuite5* utility = suites.UtilitySuite5();
    AEGP_RenderOptionsSuite3* options = suites.RenderOptionsSuite3();
    auto heldUndo = HoldUndoGroup(utility, GetStringPtr(StrID_Duration), &err);
    Measurement m = {NULL, 1, 1, 0, 0, 0};
    auto heldOptions = HoldHandle(
        m.optionsH, [options](AEGP_RenderOptionsH h) { return options->AEGP_Dispose(h); });
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
    if (!err) err = findTarget(basic, pluginId, suites, &t);
    if (!err) err = startMeasurement(basic, pluginId, t.item, &m);
    if (!err) err = readFrames(suites, m, &t);
    if (err) return finish(err);  // nothing read is trustworthy: no window, no frames

    window.open(*firstRunP, suites);
    windowOpen = true;
    *firstRunP = false;  // the window class, where there is one, is registered now
    A_FloatRect maskUnion = kNoLimit;
    CroppingBounds unionBounds = {1, 0, 1, 0, 0, 0};
    bool first = true, cancelled = false;
    err = measureFrames(basic, suites, m, t, window, &unionBounds, &maskUnion, &first, &cancelled);
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
    if (err == kCropRefused) err = A_Err_NONE;  // the user was told; nothing changed
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
