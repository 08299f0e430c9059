// Measuring one item: its render options and resolution check, then per frame the render, the
// scan (or the expand pass's enlarged frame) and the check-in. Shared by the standard crop and the
// crop over the duration.
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "Crop.h"

namespace crop {

namespace {

// A limit given in full-resolution pixels, in the pixels of a frame rendered at (h, v). No limit
// stays no limit.
A_FloatRect limitInFramePixels(const A_FloatRect& limit, short h, short v) {
    if (limit.bottom == -1.0 || limit.right == -1.0 || (h == 1 && v == 1)) return limit;
    return A_FloatRect{limit.left / h, limit.top / v, limit.right / h, limit.bottom / v};
}

// The expand pass: the whole frame, in full-resolution pixels, enlarged by `expand` on every side.
A_Err expandedFrame(AEGP_SuiteHandler& suites, AEGP_WorldH worldH, short h, short v, short expand,
                    CroppingBounds* boundsP) {
    A_Err err = A_Err_NONE;
    A_long w = 0, ht = 0;
    ERR(suites.WorldSuite3()->AEGP_GetSize(worldH, &w, &ht));
    if (err) return err;
    const A_long width = w * h, height = ht * v;
    *boundsP = CroppingBounds{-static_cast<double>(expand),
                              static_cast<double>(height) + expand,
                              -static_cast<double>(expand),
                              static_cast<double>(width) + expand,
                              width,
                              height};
    return err;
}

}  // namespace

A_Err startMeasurement(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item,
                       Measurement* m) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    *m = Measurement{NULL, 1, 1, 0};
    ERR(suites.RenderOptionsSuite3()->AEGP_NewFromItem(pluginId, item, &m->optionsH));
    if (!err)
        err = checkResolution(basic, pluginId, &m->optionsH, &m->hFactor, &m->vFactor,
                              &m->fullResolution);
    return err;
}

A_Err measureFrame(SPBasicSuite* basic, const Measurement& m, A_Time time, A_FloatRect limit,
                   short expand, CroppingBounds* boundsP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_RenderSuite3* render = suites.RenderSuite3();
    AEGP_FrameReceiptH receiptH = NULL;
    auto heldFrame = HoldHandle(
        receiptH, [render](AEGP_FrameReceiptH h) { return render->AEGP_CheckinFrame(h); });
    // The frame's pixels stand for (h, v) full-resolution pixels each.
    const short h = m.fullResolution ? 1 : m.hFactor, v = m.fullResolution ? 1 : m.vFactor;

    AEGP_WorldH worldH = NULL;
    ERR(suites.RenderOptionsSuite3()->AEGP_SetTime(m.optionsH, time));
    ERR(render->AEGP_RenderAndCheckoutFrame(m.optionsH, NULL, NULL, &receiptH));
    ERR(render->AEGP_GetReceiptWorld(receiptH, &worldH));
    if (!err && expand != 0) {
        err = expandedFrame(suites, worldH, h, v, expand, boundsP);
    } else if (!err) {
        err = findCropBounds(basic, &worldH, h, v, boundsP, limitInFramePixels(limit, h, v));
    }
    heldFrame.release(&err);
    return err;
}

}  // namespace crop
