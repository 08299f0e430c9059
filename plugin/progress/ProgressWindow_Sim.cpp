// The progress window on the simulator platform: reported to the simulated host, which records
// it and may draw it on a terminal. The cancel chord is Command + Shift, read as on macOS.
#if defined(_WIN32) || defined(__APPLE__)
#error "ProgressWindow_Sim.cpp is for the simulator platform only"
#endif

#include "ProgressWindow.h"
#include "SimPlatform.h"

namespace crop {

void ProgressWindow::open(bool firstRun, AEGP_SuiteHandler& /*suites*/) {
    ZentrimSimProgressOpen(firstRun ? 1 : 0);
    window_ = this;
}

void ProgressWindow::setPercent(int percent) {
    if (window_) ZentrimSimProgressSetPercent(percent);
}

bool ProgressWindow::cancelRequested() {
    CGEventFlags flags = CGEventSourceFlagsState(kCGEventSourceStateHIDSystemState);
    return (flags & kCGEventFlagMaskShift) && (flags & kCGEventFlagMaskCommand);
}

void ProgressWindow::close() {
    if (window_) ZentrimSimProgressClose();
    window_ = nullptr;
}

}  // namespace crop
