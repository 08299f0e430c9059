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
#include "ProjectDiff.h"
#include "Verify.h"

namespace sim {

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
    std::vector<int> progress;
    std::vector<std::string> problems;  // protocol problems the host noticed
    std::optional<bool> undoRestored;
    std::string undoDifference;
    std::vector<std::string> pictures;  // --render: the files written, relative to the folder
    bool interrupted = false;           // Ctrl-C held the cancel chord during the progress
    // Filled by the run verb when asked: --verify and --diff.
    std::optional<Verification> verification;
    std::optional<std::vector<ValueChange>> changes;
};

struct SessionOptions {
    bool shift = false, command = false;
    std::optional<int> panel;
    bool undo = false;
};

// Watches a session: every host call the plug-in made when it has finished, and the step of the
// user's sequence the calls that follow belong to ("entry point", "menu update", "idle", ...).
struct SessionObserver {
    std::function<void(const CallRecord&)> call;
    std::function<void(const std::string&)> step;
};

// The name of the action a companion-panel request stands for ("" for an unknown request).
std::string panelActionName(int request);

// The host with the plug-in loaded and started. Throws BadInput-like std::runtime_error when the
// module cannot be loaded.
class Session {
  public:
    // `privateCopy` loads the module from a copy of its own, so its globals start fresh (tests).
    // `observer` sees every host call from the entry point on.
    Session(Project project, const std::string& pluginPath, bool privateCopy = false,
            SessionObserver observer = {});
    Host host;
    Project before;  // the project as loaded, before the command
    std::unique_ptr<PluginModule> module;
    A_Err startResult = A_Err_NONE;

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
