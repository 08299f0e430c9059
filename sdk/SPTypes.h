// Basic types of the host's plug-in interface layer: error code, boolean and calling convention.
#ifndef ZENTRIM_SDK_SPTYPES_H
#define ZENTRIM_SDK_SPTYPES_H

#include <stdint.h>

#include "AEConfig.h"

#ifdef __cplusplus
extern "C" {
#endif

// Empty on every supported platform: suite functions use the default C calling convention.
#ifndef SPAPI
#define SPAPI
#endif

typedef int32_t SPErr;

// The host uses a 4-byte boolean on Windows and a 1-byte one elsewhere.
#ifdef _WIN32
typedef int32_t SPBoolean;
#else
typedef uint8_t SPBoolean;
#endif

#define kSPNoError 0

#ifdef __cplusplus
}
#endif

#endif  // ZENTRIM_SDK_SPTYPES_H
