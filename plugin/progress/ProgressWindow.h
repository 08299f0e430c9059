// The small native window that shows how far a crop over the duration has come and tells the
// user which keys cancel it; also answers whether that key chord is held. One implementation per
// platform.
#pragma once

#include "../Util/AEGP_SuiteHandler.h"

namespace crop {

class ProgressWindow {
  public:
    // Creates the window and shows it at 0 %. `firstRun` is true on the command's first run in
    // this host session (the Windows window class is registered only then).
    void open(bool firstRun, AEGP_SuiteHandler& suites);
    // Shows a whole percent, 0 to 100.
    void setPercent(int percent);
    // True while the platform's cancel chord is held.
    bool cancelRequested();
    void close();

  private:
    void* window_ = nullptr;  // HWND, NSPanel*, or the simulator's token
    void* bar_ = nullptr;     // macOS: the progress indicator
};

}  // namespace crop
