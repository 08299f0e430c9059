// The test host's own Win32 side: its main window, the message loop it runs between steps, real
// key events, and the screenshot handshake with the script that runs it.
#pragma once

#include <windows.h>

#include <string>

namespace wintest {

// A visible top-level window standing for the host's main window.
HWND createMainWindow(int x, int y, int width, int height);

// Takes and dispatches this thread's messages for about `milliseconds`.
void pumpMessages(int milliseconds);

// Presses or releases a key through the system's input queue (SendInput), then takes the
// resulting messages, so that this thread's GetKeyState reports it as a host's would.
bool sendKey(WORD virtualKey, bool down);

// Asks the script around the test (tests/windows/run-test-host.sh) to capture the X screen, and
// waits for it while the windows keep painting. False when no capture came within the time.
bool requestScreenshot(const std::string& folder, int timeoutMilliseconds);

}  // namespace wintest
