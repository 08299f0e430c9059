/* The Windows test host's stand-in for the simulator platform's header: the same declarations
   without the Linux-only build guard. On Windows the plug-in reads the keys with GetKeyState and
   shows progress in its own Win32 window, so nothing in the module reaches these functions. */
#ifndef ZENTRIM_SIM_PLATFORM_H
#define ZENTRIM_SIM_PLATFORM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define kCGEventSourceStateHIDSystemState 1
#define kCGEventFlagMaskShift 0x00020000u
#define kCGEventFlagMaskCommand 0x00100000u
typedef uint64_t CGEventFlags;
typedef int32_t CGEventSourceStateID;

typedef CGEventFlags (*ZentrimSimFlagsSource)(void);
typedef void (*ZentrimSimProgressSink)(int kind, int value); /* kind: 0 open, 1 percent, 2 close */
void ZentrimSimInstall(ZentrimSimFlagsSource flags, ZentrimSimProgressSink progress);

#ifdef __cplusplus
}
#endif

#endif
