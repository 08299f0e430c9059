// Measuring one item: its render options and resolution check, then per frame the render, the
// scan and the check-in. Shared by the standard crop and the crop over the duration; also the
// rectangles the measurement and the expand pass work with.
#include <algorithm>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "Crop.h"

namespace crop {

A_FloatRect limitInFramePixels(const A_FloatRect& limit, short h, short v, A_long width,
                               A_long height) {
    // The composition's last column and row, in the frame's pixels: a scaled edge never goes
    // beyond them, whatever size the host renders a reduced frame at.
    const double lastCol = static_cast<double>(width - 1) / h;
    const double lastRow = static_cast<double>(height - 1) / v;
    if (limit.bottom == -1.0 || limit.right == -1.0) return A_FloatRect{0, 0, lastCol, lastRow};
    return A_FloatRect{limit.left / h, limit.top / v, std::min(limit.right / h, lastCol),
                       std::min(limit.bottom / v, lastRow)};
}

CroppingBounds expandedBounds(A_long width, A_long height, short expand) {
    return CroppingBounds{-static_cast<double>(expand),
                          static_cast<double>(height) + expand,
                          -static_cast<double>(expand),
                          static_cast<double>(width) + expand,
                          width,
                          height};
}

A_Err startMeasurement(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item,
                       Measurement* m) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    *m = Measurement{NULL, 1, 1, 0, 0, 0};
    ERR(suites.ItemSuite8()->AEGP_GetItemDimensions(item, &m->width, &m->height));
    ERR(suites.RenderOptionsSuite3()->AEGP_NewFromItem(pluginId, item, &m->optionsH));
    if (!err)
        err = checkResolution(basic, pluginId, &m->optionsH, &m->hFactor, &m->vFactor,
                              &m->fullResolution);
    return err;
}

A_Err measureFrame(SPBasicSuite* basic, const Measurement& m, A_Time time, A_FloatRect limit,
                   CroppingBounds* boundsP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_RenderSuite3* render = suites.RenderSuite3();
    AEGP_FrameReceiptH receiptH = NULL;
    auto heldFrame = HoldFrame(render, receiptH);
    // The frame's pixels stand for (h, v) full-resolution pixels each.
    const short h = m.fullResolution ? 1 : m.hFactor, v = m.fullResolution ? 1 : m.vFactor;

    AEGP_WorldH worldH = NULL;
    ERR(suites.RenderOptionsSuite3()->AEGP_SetTime(m.optionsH, time));
    ERR(render->AEGP_RenderAndCheckoutFrame(m.optionsH, NULL, NULL, &receiptH));
    ERR(render->AEGP_GetReceiptWorld(receiptH, &worldH));
    if (!err)
        err = findCropBounds(basic, &worldH, h, v, boundsP,
                             limitInFramePixels(limit, h, v, m.width, m.height));
    // The composition's own size, not the reduced frame's size times the factors.
    boundsP->width = m.width;
    boundsP->height = m.height;
    heldFrame.release(&err);
    return err;
}

}  // namespace crop
