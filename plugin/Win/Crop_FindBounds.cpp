// Measuring a rendered frame: the content extent, the limit rectangle, the factors and padding.
#include <cstdint>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "PixelScan.h"
#include "cropUtil.h"

namespace crop {

namespace {

void applyLimit(const A_FloatRect& limit, ScanExtent* ext) {
    if (limit.bottom == -1.0 || limit.right == -1.0) return;
    if (limit.top > ext->firstRow) ext->firstRow = cropUtil::FloorToInt32(limit.top);
    if (ext->lastRow > limit.bottom) ext->lastRow = cropUtil::FloorToInt32(limit.bottom);
    if (limit.left > ext->firstCol) ext->firstCol = cropUtil::FloorToInt32(limit.left);
    if (ext->lastCol > limit.right) ext->lastCol = cropUtil::FloorToInt32(limit.right);
}

A_Err readPadding(AEGP_SuiteHandler& suites, A_long* paddingP) {
    A_Err err = A_Err_NONE;
    AEGP_PersistentBlobH blobH = NULL;
    A_Boolean padding = 0;
    *paddingP = 0;
    ERR(suites.PersistentDataSuite3()->AEGP_GetApplicationBlob(&blobH));
    ERR(suites.PersistentDataSuite3()->AEGP_GetData(blobH, GetStringPtr(StrID_PrefSection),
                                                    GetStringPtr(StrID_PrefPadding), 1, NULL,
                                                    &padding));
    if (!err && padding) {
        ERR(suites.PersistentDataSuite3()->AEGP_GetLong(blobH, GetStringPtr(StrID_PrefSection),
                                                        GetStringPtr(StrID_PrefPaddingAmount), 0,
                                                        paddingP));
    }
    // A negative amount would cut into the content: it counts as no padding.
    if (*paddingP < 0) *paddingP = 0;
    return err;
}

}  // namespace

A_Err findCropBounds(SPBasicSuite* basic, AEGP_WorldH* worldP, short hFactor, short vFactor,
                     CroppingBounds* boundsP, A_FloatRect limit) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_WorldSuite3* worlds = suites.WorldSuite3();
    AEGP_WorldH worldH = worldP ? *worldP : NULL;

    A_long width = 0, height = 0;
    A_u_long rowBytes = 0;
    AEGP_WorldType type = AEGP_WorldType_NONE;
    ERR(worlds->AEGP_GetSize(worldH, &width, &height));
    ERR(worlds->AEGP_GetRowBytes(worldH, &rowBytes));
    ERR(worlds->AEGP_GetType(worldH, &type));

    const void* base = NULL;
    if (type == AEGP_WorldType_8) {
        PF_Pixel8* p = NULL;
        ERR(worlds->AEGP_GetBaseAddr8(worldH, &p));
        base = p;
    } else if (type == AEGP_WorldType_16) {
        PF_Pixel16* p = NULL;
        ERR(worlds->AEGP_GetBaseAddr16(worldH, &p));
        base = p;
    } else {
        PF_PixelFloat* p = NULL;
        ERR(worlds->AEGP_GetBaseAddr32(worldH, &p));
        base = p;
    }

    // Rows shorter than the width would make the scan read beyond the frame: refuse them.
    size_t bytes = pixelBytes(static_cast<int>(type));
    if (!err && width > 0 && bytes && rowBytes < static_cast<size_t>(width) * bytes)
        err = A_Err_PARAMETER;

    ScanExtent ext{height, 0, width, 0};
    if (!err && width > 0 && height > 0)
        ext = scanContentExtent(base, static_cast<int>(type), width, height, rowBytes);
    applyLimit(limit, &ext);

    A_long padding = 0;
    if (!err) err = readPadding(suites, &padding);

    // Integer arithmetic as on the host's 32-bit values, widened so that nothing overflows.
    boundsP->top = static_cast<double>(int64_t{ext.firstRow} * vFactor - padding);
    boundsP->left = static_cast<double>(int64_t{ext.firstCol} * hFactor - padding);
    boundsP->right = static_cast<double>(int64_t{ext.lastCol} * hFactor + padding);
    boundsP->bottom = static_cast<double>(int64_t{ext.lastRow} * vFactor + padding);
    boundsP->width = static_cast<A_long>(int64_t{width} * hFactor);
    boundsP->height = static_cast<A_long>(int64_t{height} * vFactor);
    return err;
}

}  // namespace crop
