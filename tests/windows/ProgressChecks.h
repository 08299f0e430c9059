// Inspecting the plug-in's progress window while it is open, as a user and a host see it.
#pragma once

#include <windows.h>

#include <string>

namespace wintest {

struct OpenWindow {
    HWND window = NULL, bar = NULL, label = NULL;
    HBRUSH labelBrush = NULL;  // what WM_CTLCOLORSTATIC answers for the label
};

// Checks the window just opened by a crop over the duration: creation arguments, position
// centred on `area` with the owner `owner`, the two children, the bar at 0 and the label's
// colours. `run` names the run in failure messages.
OpenWindow checkOpenedWindow(const std::string& run, HWND owner, const RECT& area);

// The bar's position (PBM_GETPOS).
int barPosition(const OpenWindow& w);

// Checks the class registration the plug-in made on its first run, field by field.
void checkClassRegistration(const std::string& run);

}  // namespace wintest
