// The "Zentrim Duration" command: every frame of one composition is rendered and measured, and the
// composition is cropped once to the union of what is visible at any time.
#include <cmath>
#include <cstdint>
#include <limits>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "ProgressWindow.h"
#include "cropUtil.h"

namespace crop {

namespace {

const A_FloatRect kNoLimit = {-1.0, -1.0, -1.0, -1.0};

// The smaller/larger of two edges; a value that is not a number loses to the other.
double smaller(double a, double b) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return b < a ? b : a;
}
double larger(double a, double b) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return b > a ? b : a;
}

// Mask bounds over time: -1 marks a top or left edge no frame has set yet; on the right and
// bottom -1 loses to any real edge anyway.
void mergeMaskBounds(A_FloatRect* unionP, const A_FloatRect& frame) {
    unionP->top = unionP->top == -1 ? frame.top : smaller(unionP->top, frame.top);
    unionP->left = unionP->left == -1 ? frame.left : smaller(unionP->left, frame.left);
    unionP->bottom = larger(unionP->bottom, frame.bottom);
    unionP->right = larger(unionP->right, frame.right);
}

void mergeBounds(CroppingBounds* unionP, const CroppingBounds& frame, bool* firstP) {
    if (*firstP) {
        *unionP = frame;
        *firstP = false;
        return;
    }
    unionP->top = smaller(unionP->top, frame.top);
    unionP->left = smaller(unionP->left, frame.left);
    unionP->bottom = larger(unionP->bottom, frame.bottom);
    unionP->right = larger(unionP->right, frame.right);
}

// A mask edge taken into the crop: rounded down to a whole 32-bit number.
double wholeEdge(double v) {
    double f = std::floor(v);
    if (f <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (f >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<double>(static_cast<int32_t>(f));
}

void clipToMasks(CroppingBounds* b, const A_FloatRect& masks) {
    if (masks.top > b->top) b->top = wholeEdge(masks.top);
    if (b->bottom > masks.bottom) b->bottom = wholeEdge(masks.bottom);
    if (masks.left > b->left) b->left = wholeEdge(masks.left);
    if (b->right > masks.right) b->right = wholeEdge(masks.right);
}

// What the run holds from the host; the destructor acts only when a missing suite unwinds it.
struct Held {
    AEGP_RenderOptionsSuite3* options;
    AEGP_RenderSuite3* render;
    AEGP_UtilitySuite5* utility;
    AEGP_RenderOptionsH optionsH = NULL;
    AEGP_FrameReceiptH receiptH = NULL;
    bool undoOpen = false;
    ProgressWindow* window = NULL;
    ~Held() {
        if (receiptH) render->AEGP_CheckinFrame(receiptH);
        if (optionsH) options->AEGP_Dispose(optionsH);
        if (window) window->close();
        if (undoOpen) utility->AEGP_EndUndoGroup();
    }
};

// Ends the run: the window closed, the render options given back and the undo group closed,
// whatever happened before (the first error is kept).
A_Err finish(Held& held, A_Err err) {
    if (held.window) held.window->close();
    held.window = NULL;
    if (held.optionsH) ERR2(held.options->AEGP_Dispose(held.optionsH));
    held.optionsH = NULL;
    if (held.undoOpen) ERR2(held.utility->AEGP_EndUndoGroup());
    held.undoOpen = false;
    return err;
}

A_Err run(SPBasicSuite* basic, AEGP_PluginID pluginId, bool firstRun) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    Held held{suites.RenderOptionsSuite3(), suites.RenderSuite3(), suites.UtilitySuite5()};
    AEGP_LayerSuite7* layers = suites.LayerSuite7();
    ProgressWindow window;

    // Setup.
    ERR(held.utility->AEGP_StartUndoGroup(GetStringPtr(StrID_Duration)));
    held.undoOpen = !err;
    AEGP_LayerH activeLayer = NULL;
    AEGP_ItemH target = NULL;
    A_Boolean includeMasks = 0;
    ERR(layers->AEGP_GetActiveLayer(&activeLayer));
    if (!err && activeLayer) {
        ERR(layers->AEGP_GetLayerSourceItem(activeLayer, &target));
        ERR(cropUtil::ReadPrefFlag(basic, GetStringPtr(StrID_PrefIncludeMasks), &includeMasks));
    } else {
        ERR(suites.ItemSuite8()->AEGP_GetActiveItem(&target));
    }
    if (!err) err = cropUtil::ThreeDInItem(basic, pluginId, &target, &cropUtil::checkPrefsThreeD);

    A_Time duration = {0, 1}, step = {0, 1}, sampling = {0, 1};
    ERR(held.options->AEGP_NewFromItem(pluginId, target, &held.optionsH));
    ERR(suites.ItemSuite8()->AEGP_GetItemDuration(target, &duration));
    short hFactor = 1, vFactor = 1;
    unsigned char fullRes = 0;
    if (!err) err = checkResolution(basic, pluginId, &held.optionsH, &hFactor, &vFactor, &fullRes);
    ERR(held.options->AEGP_GetTimeStep(held.optionsH, &step));
    // A step that does not advance would never end the loop.
    if (!err && (step.value <= 0 || step.scale == 0 || duration.scale == 0)) err = A_Err_PARAMETER;
    if (err) return finish(held, err);  // nothing read is trustworthy: no window, no frames

    sampling.scale = step.scale;
    int64_t end = duration.value;
    if (step.scale != duration.scale)
        end = static_cast<int64_t>(duration.value) * step.scale / duration.scale;

    window.open(firstRun, suites);
    held.window = &window;
    A_FloatRect maskUnion = kNoLimit;
    CroppingBounds unionBounds = {1, 0, 1, 0, 0, 0};
    bool first = true;

    for (int64_t t = 0; t < end; t += step.value) {
        sampling.value = static_cast<A_long>(t);
        if (!err) {
            ERR(held.options->AEGP_SetTime(held.optionsH, sampling));
            if (includeMasks) {
                A_FloatRect frameMask = kNoLimit;
                ERR(layers->AEGP_GetLayerMaskedBounds(activeLayer, AEGP_LTimeMode_LayerTime,
                                                      &sampling, &frameMask));
                if (!err) mergeMaskBounds(&maskUnion, frameMask);
            }
            AEGP_WorldH worldH = NULL;
            CroppingBounds frame = {0, 0, 0, 0, 0, 0};
            ERR(held.render->AEGP_RenderAndCheckoutFrame(held.optionsH, NULL, NULL,
                                                         &held.receiptH));
            ERR(held.render->AEGP_GetReceiptWorld(held.receiptH, &worldH));
            if (!err)
                err = findCropBounds(basic, &worldH, fullRes ? 1 : hFactor, fullRes ? 1 : vFactor,
                                     &frame, kNoLimit);
            if (held.receiptH) ERR2(held.render->AEGP_CheckinFrame(held.receiptH));
            held.receiptH = NULL;
            if (!err) mergeBounds(&unionBounds, frame, &first);
        }
        if (window.cancelRequested()) return finish(held, err);
        int64_t percent = t * 100 / end;
        if (percent < 100) ++percent;
        window.setPercent(static_cast<int>(percent));
    }
    sampling.value =
        static_cast<A_long>(end > 0 ? ((end + step.value - 1) / step.value) * step.value : 0);

    if (err) return finish(held, err);
    if (includeMasks && maskUnion.bottom != -1 && maskUnion.right != -1)
        clipToMasks(&unionBounds, maskUnion);
    if (first || unionBounds.top > unionBounds.bottom || unionBounds.left > unionBounds.right)
        return finish(held, err);  // nothing to crop: no message

    // The crop takes over the render options and gives them back.
    err = finishCropping(basic, pluginId, &target, unionBounds, sampling, fullRes, &held.optionsH,
                         hFactor, vFactor);
    held.optionsH = NULL;
    window.close();
    held.window = NULL;
    if (!err) {
        cropUtil::checkPrefsThreeD = 1;
        resChosen = 0;
    }
    return finish(held, err);
}

}  // namespace

A_Err cropDuration(SPBasicSuite* basic, AEGP_PluginID pluginId, bool firstRun) {
    try {
        return run(basic, pluginId, firstRun);
    } catch (A_Err thrown) {
        return thrown;
    }
}

}  // namespace crop
