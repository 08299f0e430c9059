// One user session with the plug-in: the host loads it, the user holds keys, opens the Layer menu
// and chooses the command (or the companion panel asks for an action), and what happened is
// reported.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Host.h"
#include "PluginModule.h"

namespace sim {

struct SessionReport {
    std::string menuName;
    bool enabled = false;
    bool chosen = false;  // the command (or the panel's request) ran
    A_Err result = A_Err_NONE;
    std::vector<Alert> alerts;
    std::vector<std::string> dialogs;
    std::vector<std::string> undoSteps;
    std::vector<ResizeRecord> resized;
    std::vector<std::pair<std::string, std::string>> corrected;  // (composition, layer) of each use
    std::vector<std::string> leaks;
    std::vector<int> progress;   // the percent updates, as far as the host kept them
    size_t progressUpdates = 0;  // every percent update, kept or not
    int lastPercent = 0;
    std::vector<std::string> problems;  // protocol problems the host noticed
    std::optional<bool> undoRestored;
    std::string undoDifference;
};

struct SessionOptions {
    bool shift = false, command = false;
    std::optional<int> panel;
    bool undo = false;
};

// The host with the plug-in loaded and started. Throws BadInput-like std::runtime_error when the
// module cannot be loaded.
class Session {
  public:
    // `privateCopy` loads the module from a copy of its own, so its globals start fresh (tests).
    Session(Project project, const std::string& pluginPath, bool privateCopy = false);
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
};

}  // namespace sim
