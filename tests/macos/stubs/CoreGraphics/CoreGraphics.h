// Stand-in for macOS's CoreGraphics, for the checks and the cross-build on Linux: just the
// modifier-flag query the plug-in uses, with the SDK's names, types and values.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t CGEventFlags;
enum { kCGEventFlagMaskShift = 0x00020000, kCGEventFlagMaskCommand = 0x00100000 };

typedef int32_t CGEventSourceStateID;
enum {
    kCGEventSourceStatePrivate = -1,
    kCGEventSourceStateCombinedSessionState = 0,
    kCGEventSourceStateHIDSystemState = 1
};

CGEventFlags CGEventSourceFlagsState(CGEventSourceStateID stateID);

#ifdef __cplusplus
}
#endif
