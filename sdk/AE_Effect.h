// Effect-side error codes, pixel types and path vertex shared with the general plug-in API.
#ifndef ZENTRIM_SDK_AE_EFFECT_H
#define ZENTRIM_SDK_AE_EFFECT_H

#include "A.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long PF_Err;
typedef A_FpLong PF_FpLong;
typedef A_FpShort PF_FpShort;

#define PF_FIRST_ERR 512

enum {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = PF_FIRST_ERR,
    PF_Err_INVALID_INDEX,
    PF_Err_UNRECOGNIZED_PARAM_TYPE,
    PF_Err_INVALID_CALLBACK,
    PF_Err_BAD_CALLBACK_PARAM,
    PF_Interrupt_CANCEL,
    PF_Err_CANNOT_PARSE_KEYFRAME_TEXT
};

#define PF_MAX_CHAN8 255
#define PF_MAX_CHAN16 32768

#pragma pack(push, 8)

// Channel order of every pixel type is alpha first, then red, green, blue.
typedef struct {
    A_u_char alpha, red, green, blue;
} PF_Pixel;

typedef PF_Pixel PF_Pixel8;

typedef struct {
#ifdef PF_PIXEL16_RENAME_COMPONENTS
    A_u_short alphaSu, redSu, greenSu, blueSu;
#else
    A_u_short alpha, red, green, blue;
#endif
} PF_Pixel16;

typedef struct {
    PF_FpShort alpha, red, green, blue;
} PF_PixelFloat;

typedef PF_PixelFloat PF_Pixel32;

// Tangents are relative to the vertex position.
typedef struct {
    PF_FpLong x, y;
    PF_FpLong tan_in_x, tan_in_y;
    PF_FpLong tan_out_x, tan_out_y;
} PF_PathVertex;

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif  // ZENTRIM_SDK_AE_EFFECT_H
