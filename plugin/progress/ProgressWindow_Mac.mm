// The progress window on macOS: a small dark Cocoa panel with a progress indicator and the cancel
// hint; Command + Shift is the cancel chord.
#if !defined(__APPLE__)
#error "ProgressWindow_Mac.mm is for macOS only"
#endif

#import <Cocoa/Cocoa.h>
#include <CoreGraphics/CoreGraphics.h>

#include "ProgressWindow.h"

namespace crop {

void ProgressWindow::open(bool /*firstRun*/, AEGP_SuiteHandler& /*suites*/) {
    // Titled only (no close box), buffered, made at once; the autorelease pool owns it.
    NSPanel* panel = [[[NSPanel alloc] initWithContentRect:NSMakeRect(0, 0, 300, 120)
                                                 styleMask:NSWindowStyleMaskTitled
                                                   backing:NSBackingStoreBuffered
                                                     defer:NO] autorelease];
    // Closing only hides it: releasing it then as well would free it twice.
    [panel setReleasedWhenClosed:NO];
    [panel setTitle:@"Crop Duration Progress"];
    [panel setBackgroundColor:[NSColor colorWithRed:0.15 green:0.15 blue:0.15 alpha:1.0]];
    [panel makeKeyAndOrderFront:NSApp];
    [panel center];

    // The content view owns both views once they are added.
    NSProgressIndicator* bar =
        [[NSProgressIndicator alloc] initWithFrame:NSMakeRect(20, 80, 260, 10)];
    [bar setIndeterminate:NO];
    [bar setMaxValue:100];
    [bar setDoubleValue:0];
    [[panel contentView] addSubview:bar];
    [bar release];

    NSTextView* hint = [[NSTextView alloc] initWithFrame:NSMakeRect(20, 35, 260, 30)];
    [hint setEditable:NO];
    [hint setSelectable:NO];
    [hint setString:@"To cancel, hold Command + Shift"];
    [hint setDrawsBackground:NO];
    [hint setTextColor:[NSColor whiteColor]];
    [[panel contentView] addSubview:hint];
    [hint release];

    window_ = panel;
    bar_ = bar;
}

void ProgressWindow::setPercent(int percent) {
    [static_cast<NSProgressIndicator*>(bar_) setDoubleValue:static_cast<double>(percent)];
}

bool ProgressWindow::cancelRequested() {
    // The hardware state is always current, without taking any event.
    CGEventFlags flags = CGEventSourceFlagsState(kCGEventSourceStateHIDSystemState);
    return (flags & kCGEventFlagMaskShift) != 0 && (flags & kCGEventFlagMaskCommand) != 0;
}

void ProgressWindow::close() {
    [static_cast<NSPanel*>(window_) close];
    window_ = nullptr;
    bar_ = nullptr;
}

}  // namespace crop
