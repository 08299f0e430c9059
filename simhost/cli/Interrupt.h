// Signals at zentrim-host: Ctrl-C at the terminal during the crop over the duration stands for the
// cancel chord, so the plug-in sees Shift + Command held at its next test and cancels, as a user
// would; any other Ctrl-C, and SIGTERM, SIGHUP and SIGQUIT, end the program as they always do,
// after removing its temporary files and folders (TemporaryFiles.h).
#pragma once

#include <atomic>

namespace sim {

// From now on a signal that ends the program removes the temporary paths first, then ends it as
// that signal would (the exit status a shell sees is unchanged).
void removeTemporaryFilesOnEndingSignals();

class CancelChordOnInterrupt {
  public:
    ~CancelChordOnInterrupt();
    // From now on the first SIGINT holds the chord (and says so on stderr); a second one ends
    // the program as Ctrl-C always does (after the clean-up above, when it was installed).
    void arm();
    // Back to Ctrl-C's usual meaning; the chord is let go.
    void disarm();
    // What the simulated keyboard reads (Host::cancelChord).
    static const std::atomic<bool>& held();
    // Whether a Ctrl-C held the chord since the last arm().
    bool happened() const { return happened_; }

  private:
    bool armed_ = false;
    bool happened_ = false;
};

}  // namespace sim
