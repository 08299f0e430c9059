// One user session with the plug-in: the host loads it, the user holds keys, opens the Layer menu
// and chooses the command (or the companion panel asks for an action), and what happened is
// reported.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Host.h"
#include "PluginModule.h"
#include "ScriptEngine.h"
#include "ProjectDiff.h"
#include "Verify.h"

namespace sim {

// An answer of the --ui file, or its last actions, that the run never applied.
struct UnusedAnswer {
    size_t entry = 0;  // its index in "dialogs"
    std::string title;
    bool used = false;      // a window with its title opened and took it
    size_t actions = 0;     // how many actions it has
    size_t notApplied = 0;  // how many were not applied (all of them when no such window opened)
};

struct SessionReport {
    std::string menuName;
    bool enabled = false;
    bool chosen = false;  // the command (or the panel's request) ran
    // The action that ran: the menu command's name as the user chose it, or, for a panel
    // request, the action the request stands for once the plug-in ran the command; "" for none.
    std::string action;
    std::optional<int> panel;  // the panel's request, when it came through the panel
    A_Err result = A_Err_NONE;
    std::vector<Alert> alerts;
    std::vector<std::string> dialogs;
    std::vector<std::string> undoSteps;
    std::vector<ResizeRecord> resized;
    std::vector<std::pair<std::string, std::string>> corrected;  // (composition, layer) of each use
    std::vector<std::string> leaks;
    // The percent updates: as far as the host kept them, or every one when the run listened to
    // the progress (progressRuns).
    std::vector<int> progress;
    size_t progressUpdates = 0;  // every percent update, kept or not
    // Every percent update in order, as runs of one value (percent, how many times in a row).
    std::vector<std::pair<int, size_t>> progressRuns;
    int lastPercent = 0;
    std::vector<std::string> problems;  // protocol problems the host noticed
    std::optional<bool> undoRestored;
    std::string undoDifference;
    bool projectChanged = false;  // the command left the project other than it was
    // The simulated user: dialogs (or panels) left unanswered, which fail the run; answers never
    // applied; and what they did that will not last (a choice to remember, with no --prefs).
    std::vector<std::string> unanswered;
    std::vector<UnusedAnswer> unusedAnswers;
    std::vector<std::string> warnings;
    // zentrim-host panel: the panel's title and its controls when the user was done.
    std::string panelTitle;
    std::vector<std::string> panelControls;
    // Mask Crop: the mask whose outline the plug-in read first, before it resized anything (the
    // mask it cropped to); 0 when none was read.
    Id maskCroppedTo = 0;
    std::vector<std::string> pictures;  // --render: the files written, relative to the folder
    bool interrupted = false;           // Ctrl-C held the cancel chord during the progress
    // Filled by the run verb when asked: --verify and --diff.
    std::optional<Verification> verification;
    std::optional<std::vector<ValueChange>> changes;
    // The host's answers where its documentation is silent that are not the defaults
    // ("KEY=VALUE").
    std::vector<std::string> hostModel;
};

class Session;

struct SessionOptions {
    bool shift = false, command = false;
    std::optional<int> panel;
    bool undo = false;
    // What the user does instead of choosing from the menu, after the host has updated the menu
    // and idled once (zentrim-host panel); gives the first error the plug-in returned.
    std::function<A_Err(Session&, SessionReport&)> instead;
    // Whether the preferences outlast the run (--prefs given); without, a choice to remember is
    // reported as lost.
    bool keepsPrefs = true;
};

// Watches a session: every host call the plug-in made when it has finished, and the step of the
// user's sequence the calls that follow belong to ("entry point", "menu update", "idle", ...).
struct SessionObserver {
    std::function<void(const CallRecord&)> call;
    std::function<void(const std::string&)> step;
};

// The name of the action a companion-panel request stands for ("" for an unknown request).
std::string panelActionName(int request);

// The crop command a session ran, as --verify needs it: its kind (from the action that ran),
// whether it went over the duration, the "IncludeMasks" preference before it, and the mask Mask
// Crop read.
CropCommand cropCommandOf(const SessionReport& report, const Preferences& prefsBefore);

// The host with the plug-in loaded and started. Throws BadInput-like std::runtime_error when the
// module cannot be loaded.
class Session {
  public:
    // `privateCopy` loads the module from a copy of its own, so its globals start fresh (tests).
    // `observer` sees every host call from the entry point on.
    // `model` is what the host does where its documentation is silent, set before the plug-in is
    // started.
    Session(Project project, const std::string& pluginPath, bool privateCopy = false,
            SessionObserver observer = {}, const HostModel& model = HostModel());
    Host host;
    Project before;  // the project as loaded, before the command
    std::unique_ptr<PluginModule> module;
    A_Err startResult = A_Err_NONE;
    // The script engine, when installed through the session (its simulated user goes into the
    // report).
    std::shared_ptr<ScriptSession> scripting;

    // The plug-in's command: the last entry of the Layer menu it added.
    const MenuEntry* command() const;
    // The menu as the user sees it holding the keys: menu update, idle without keys, keys down,
    // idle, menu update.
    void openMenu(bool shift, bool command);
    // The whole sequence, then the report (with undo and its check when asked).
    SessionReport play(const SessionOptions& options);

  private:
    void step(const std::string& name);
    SessionObserver observer_;
};

}  // namespace sim
