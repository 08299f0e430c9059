// Scalar types, small geometry/time structs and the general error codes shared by all host APIs.
#ifndef ZENTRIM_SDK_A_H
#define ZENTRIM_SDK_A_H

#include <stdint.h>

#include "AEConfig.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef char A_char;
typedef uint8_t A_u_char;
typedef uint8_t A_Boolean;
typedef double A_FpLong;
typedef float A_FpShort;
typedef A_long A_Err;
typedef void* A_Handle;
typedef A_u_short A_UTF16Char;
typedef intptr_t A_intptr_t;

// Width of the host's "legacy" enum types (menu id, window type, collection item type).
// Chosen by target platform rather than by compiler: the Windows host is built with MSVC and
// passes these as 4 bytes, so a module built with MinGW GCC must use 4 bytes too; the macOS
// host is a GCC-compatible build that uses 1 byte, as does any other non-Windows target.
#ifdef _WIN32
typedef A_long A_LegacyEnumType;
#else
typedef A_char A_LegacyEnumType;
#endif

// Opaque memory handle owned by the host's memory suite.
typedef struct _Up_OpaqueMem** AEGP_MemHandle;

enum {
    A_Err_NONE = 0,
    A_Err_GENERIC,
    A_Err_STRUCT,
    A_Err_PARAMETER,
    A_Err_ALLOC,
    A_Err_WRONG_THREAD,
    A_Err_CONST_PROJECT_MODIFICATION,
    A_Err_RESERVED_7,
    A_Err_RESERVED_8,
    A_Err_RESERVED_9,
    A_Err_RESERVED_10,
    A_Err_RESERVED_11,
    A_Err_RESERVED_12,
    A_Err_MISSING_SUITE = 13,
    A_Err_RESERVED_14,
    A_Err_RESERVED_15,
    A_Err_RESERVED_16,
    A_Err_RESERVED_17,
    A_Err_RESERVED_18,
    A_Err_RESERVED_19,
    A_Err_RESERVED_20,
    A_Err_RESERVED_21,
    A_Err_NOT_IN_CACHE_OR_COMPUTE_PENDING,
    A_Err_PROJECT_LOAD_FATAL,
    A_Err_EFFECT_APPLY_FATAL,
    A_Err_LAST
};

// Error exceptions are thrown as plain A_long values.
#define A_THROW(ERR) throw((A_long)(ERR))

#pragma pack(push, 8)

typedef struct {
    A_long value;
    A_u_long scale;  // unsigned: mixed arithmetic with value is done in unsigned 32-bit
} A_Time;

typedef struct {
    A_long num;
    A_u_long den;
} A_Ratio;

typedef struct {
    A_FpLong x, y;
} A_FloatPoint;

typedef struct {
    A_FpLong x, y, z;
} A_FloatPoint3;

typedef struct {
    A_FpLong left, top, right, bottom;
} A_FloatRect;

typedef struct {
    A_long left, top, right, bottom;
} A_LRect;

typedef A_LRect A_Rect;

typedef struct {
    A_short majorS;
    A_short minorS;
} A_Version;

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif  // ZENTRIM_SDK_A_H
