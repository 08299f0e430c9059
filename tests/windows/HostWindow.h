// The test host's own Win32 side: its main window, the message loop it runs between steps, and
// what it asks of the script that runs it (tests/windows/run-test-host.sh): real key events and a
// screenshot, through request files in the work folder.
#pragma once

#include <windows.h>

#include <string>

namespace wintest {

// A visible top-level window standing for the host's main window.
HWND createMainWindow(int x, int y, int width, int height);

// Takes and dispatches this thread's messages for about `milliseconds`.
void pumpMessages(int milliseconds);

// Presses or releases Ctrl or Shift on the X display's keyboard (the script's xdotool), then takes
// the resulting messages, so that this thread's GetKeyState reports it as a host's would. Keys
// injected inside wine alone (SendInput) do not do: wine resets its key state to the X keyboard's
// whenever a window gains the focus, as the progress window does.
bool sendKey(const std::string& folder, WORD virtualKey, bool down);

// Has the script capture the X screen while the windows keep painting. False when no capture came
// within the time.
bool requestScreenshot(const std::string& folder, int timeoutMilliseconds);

}  // namespace wintest
