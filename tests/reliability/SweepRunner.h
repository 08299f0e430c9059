// Fault sweep support: a command scenario prepared once in a session with the loaded plug-in, then
// played in a forked copy of that session per run, with one host call made to fail.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CallLog.h"
#include "Preferences.h"
#include "Session.h"

namespace simtest {

// One thing a user does with the plug-in, from a fresh start of the host.
struct Scenario {
    std::string name;
    std::string project;  // project text (image paths relative to examples/)
    std::string answers = R"({"dialogs": []})";
    std::function<void(sim::Preferences&)> prefs;  // the host's preferences before the session
    std::string keys = "none";                     // none, cmd, shift, shift+cmd
    int panel = 0;  // 1 to 4: a request of the companion panel instead of the menu
    // Instead of the command, the host's own calls into the plug-in before it: the menu update,
    // or the idle call that sees the keys go down (the mode switch).
    enum class Hook { None, MenuUpdate, KeysDown } hook = Hook::None;
};

// Test names show the scenario's name, not its bytes.
inline void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

struct Call {
    int index = 0;
    std::string name, args, problem;
    A_Err result = 0;
    bool injected = false;
};

// What one run did, as seen from the host.
struct Outcome {
    bool crashed = false;  // the run's process died by a signal
    bool hung = false;     // ... by the watchdog's alarm
    int signal = 0;
    bool chosen = false;  // the command could be chosen (menu scenarios)
    A_Err result = 0;
    std::vector<Call> calls;  // from the moment the command is chosen / the panel idle runs
    std::vector<std::string> leaks, problems, unbalancedSuites, alerts;
    int openUndoGroups = 0;      // undo groups still open when the command returned
    int undoSteps = 0;           // undo steps the command made
    std::string undoDifference;  // what undoing every step did not restore ("" when exact)
};

// The session with the project loaded, the plug-in started and the menu opened (or the panel's
// request written), ready for the command. Plays never change it: each runs in a child process.
class PreparedScenario {
  public:
    explicit PreparedScenario(const Scenario& scenario);
    ~PreparedScenario();
    PreparedScenario(const PreparedScenario&) = delete;
    PreparedScenario& operator=(const PreparedScenario&) = delete;

    // Chooses the command (or idles for the panel) with `plan` in force, in a forked copy.
    Outcome play(const sim::FaultPlan& plan) const;

  private:
    Outcome playHere(const sim::FaultPlan& plan) const;

    const Scenario& scenario_;
    std::unique_ptr<sim::Session> session_;
    AEGP_Command command_ = 0;
    bool enabled_ = false;
};

bool isSuiteAcquisition(const Call& call);

}  // namespace simtest
