// The modifier keys: GetKeyState on Windows, the hardware modifier flags elsewhere (macOS, and the
// simulator platform, which provides the same function).
#include "ModifierKeys.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <CoreGraphics/CoreGraphics.h>
#else
#include "SimPlatform.h"
#endif

namespace cropUtil {

void ReadModifierKeys(bool* shiftDown, bool* commandDown) {
#if defined(_WIN32)
    // The high bit (a negative value) means the key is down.
    *shiftDown = GetKeyState(VK_SHIFT) < 0;
    *commandDown = GetKeyState(VK_CONTROL) < 0;
#else
    CGEventFlags flags = CGEventSourceFlagsState(kCGEventSourceStateHIDSystemState);
    *shiftDown = (flags & kCGEventFlagMaskShift) != 0;
    *commandDown = (flags & kCGEventFlagMaskCommand) != 0;
#endif
}

}  // namespace cropUtil
