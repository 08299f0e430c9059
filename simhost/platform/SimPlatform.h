/* The simulator platform's stand-ins for the operating-system functions the plug-in calls: the
   keyboard's modifier flags (as the macOS function of that name reports them) and a progress
   display. The plug-in links this library on the simulator platform only; the host installs the
   sources these functions read from and report to. */
#ifndef ZENTRIM_SIM_PLATFORM_H
#define ZENTRIM_SIM_PLATFORM_H

#include <stdint.h>

#if defined(_WIN32) || defined(__APPLE__)
#error "the simulator platform stands in for Windows and macOS; it is not built for them"
#endif

#define ZENTRIM_SIM_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Modifier flags as the macOS function reports them; only these two bits are modelled. */
#define kCGEventSourceStateHIDSystemState 1
#define kCGEventFlagMaskShift 0x00020000u
#define kCGEventFlagMaskCommand 0x00100000u
typedef uint64_t CGEventFlags;
typedef int32_t CGEventSourceStateID;
ZENTRIM_SIM_EXPORT CGEventFlags CGEventSourceFlagsState(CGEventSourceStateID state);

/* The progress display of a long command. `firstRun` is what the plug-in hands its window on
   opening: non-zero on the command's first run in the session, when a platform window class would
   be registered. */
ZENTRIM_SIM_EXPORT void ZentrimSimProgressOpen(int firstRun);
ZENTRIM_SIM_EXPORT void ZentrimSimProgressSetPercent(int percent);
ZENTRIM_SIM_EXPORT void ZentrimSimProgressClose(void);

/* Installed by the host. */
typedef CGEventFlags (*ZentrimSimFlagsSource)(void);
typedef void (*ZentrimSimProgressSink)(int kind, int value); /* kind: 0 open (value: first run),
                                                             1 percent, 2 close */
ZENTRIM_SIM_EXPORT void ZentrimSimInstall(ZentrimSimFlagsSource flags,
                                          ZentrimSimProgressSink progress);

#ifdef __cplusplus
}
#endif

#endif
