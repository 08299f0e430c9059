// The crop engine: measuring visible pixels, the crop commands, applying a crop and correcting
// the uses of a cropped composition.
#pragma once

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

namespace crop {

// The crop rectangle of one measured composition: inclusive pixel edges at full resolution
// (padding included) and the measured frame's size at full resolution. Copied by value.
struct CroppingBounds {
    double top;
    double bottom;
    double left;
    double right;
    A_long width;
    A_long height;
};

// Measures the visible pixels of a rendered frame. The factors are the downsample factors the
// frame was rendered with (horizontal, vertical). A limit whose right or bottom is exactly -1.0
// means no limit. The record is written in all cases; the first host error is returned.
A_Err findCropBounds(SPBasicSuite* basic, AEGP_WorldH* worldP, short hFactor, short vFactor,
                     CroppingBounds* boundsP, A_FloatRect limit);

}  // namespace crop
