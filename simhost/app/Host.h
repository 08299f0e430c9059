// The simulated host process: the project, preferences, menus and hooks, undo, the handle
// registry and call log, and the suite tables it serves through its basic suite.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "AE_GeneralPlug.h"
#include "CallLog.h"
#include "FramePool.h"
#include "Handles.h"
#include "Model.h"
#include "Preferences.h"
#include "ProgressRecord.h"
#include "SPBasic.h"

namespace sim {

// An error a suite function answers with; the message goes to the call log.
struct HostError : std::runtime_error {
    A_Err code;
    HostError(A_Err c, const std::string& what) : std::runtime_error(what), code(c) {}
};

struct MenuEntry {
    AEGP_Command command = 0;
    std::string name;
    bool enabled =
        false;  // the host keeps plug-in commands disabled until a menu update enables them
};

class Host;

// A command of the host's own, in one of its menus: what the host does when it dispatches the
// command and no command hook has marked it handled.
struct HostCommand {
    AEGP_Command command = 0;
    std::function<void(Host&)> run;
};

struct CommandHookEntry {
    AEGP_PluginID plugin;
    AEGP_HookPriority priority;
    AEGP_Command command;
    AEGP_CommandHook func;
    AEGP_CommandRefcon refcon;
};

struct Alert {
    std::string title, text;
    bool errorIcon = false;
};

// A composition size change, as the report lists them.
struct ResizeRecord {
    Id item = 0;
    std::string name;
    int fromWidth = 0, fromHeight = 0, toWidth = 0, toHeight = 0;
};

struct UndoStep {
    std::string name;
    Project before;
};

// What a script run gives back: its last value as text, or the error that stopped it.
struct ScriptOutcome {
    bool ok = true;
    std::string value;
    std::string error;
};

struct MemBlock {
    std::vector<char> bytes;
    int locks = 0;
};

class Host {
  public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The host whose suites are being called (one at a time in a process).
    static Host& current();
    static bool exists();

    SPBasicSuite* basicSuite() { return &basic_; }

    // ---- state ----
    Project project;
    Preferences prefs;
    HandleRegistry handles;
    CallLog log;
    FramePool frames;  // checked-in frames kept for the next checkout, and the renderer's memory
    std::map<int, std::vector<MenuEntry>> menus;  // by AEGP_MenuID, top to bottom
    std::vector<CommandHookEntry> commandHooks;
    std::vector<HostCommand> hostCommands;  // the host's own commands (Layer menu)
    std::vector<std::pair<AEGP_UpdateMenuHook, AEGP_UpdateMenuRefcon>> updateMenuHooks;
    std::vector<std::pair<AEGP_IdleHook, AEGP_IdleRefcon>> idleHooks;
    std::vector<std::string> reports;  // AEGP_ReportInfo texts
    std::vector<Alert> alerts;
    std::vector<std::string> dialogs;  // titles of the dialogs scripts opened
    std::vector<std::string> scripts;  // every script text run
    std::vector<std::string> console;  // lines scripts wrote with $.writeln
    std::vector<std::string>
        fileEvents;           // what scripts did with files: "write <path>", "execute <path>", ...
    ProgressRecord progress;  // bounded: counts always, the first events (ProgressRecord.h)
    std::function<void(const ProgressEvent&)> progressListener;  // e.g. a terminal progress bar
    std::vector<UndoStep> undoSteps;
    std::vector<ResizeRecord> resizes;            // every composition resize, in order
    bool shiftDown = false, commandDown = false;  // the simulated keyboard
    // When set and true, the keyboard reports Shift + Command held as well (Ctrl-C at the
    // terminal stands for the cancel chord); set from a signal handler, hence atomic.
    const std::atomic<bool>* cancelChord = nullptr;
    void* mainWindow = nullptr;  // what AEGP_GetMainHWND hands out
    AEGP_Command nextCommand = 3000;
    A_long maxSleep = 0;  // last value the idle hooks left

    // Runs a script for AEGP_ExecuteScript; set by the script engine.
    std::function<ScriptOutcome(const std::string& script)> scriptRunner;

    // ---- suites ----
    void addSuite(const std::string& name, int version, const void* table);
    const void* findSuite(const std::string& name, int version) const;
    std::map<std::string, int> acquired, released;  // by "name/version"
    std::vector<std::string> unbalancedSuites() const;

    // ---- undo ----
    void startUndoGroup(const std::string& name);
    void endUndoGroup();
    int undoDepth() const { return undoDepth_; }
    bool undo();  // restores the project as it was before the newest step

    // ---- the user's and the host's own actions ----
    A_Err updateMenus();  // runs the update-menu hooks
    A_Err idle();         // runs the idle hooks once
    // Command hooks first (the host calls them before itself); then, unless one marked the
    // command handled, the host's own handler for it.
    A_Err doCommand(AEGP_Command command);
    const HostCommand* hostCommand(AEGP_Command command) const;
    // The host's own Layer-menu command: moves the active composition's selected layers to the top
    // of its stack, in their order, as one undo step.
    static constexpr AEGP_Command kBringLayerToFront = 2001;
    const MenuEntry* menuEntry(AEGP_Command command) const;

    // ---- handles to model objects ----
    AEGP_ProjectH projectHandle();
    AEGP_ItemH itemHandle(Id id);
    AEGP_CompH compHandle(Id itemId);
    AEGP_LayerH layerHandle(Id layerId);
    Item& itemOf(AEGP_ItemH h);
    Item& compItemOf(AEGP_CompH h);
    Layer& layerOf(AEGP_LayerH h, Item** comp = nullptr);
    HandleRecord* record(const void* h, HandleKind kind, const char* what);

    Item* activeComp();                         // the active item when it is a composition
    Layer* activeLayer(Item** comp = nullptr);  // the single selected layer of the active comp

  private:
    SPBasicSuite basic_{};
    std::map<std::pair<std::string, int>, const void*> suites_;
    int undoDepth_ = 0;
    std::optional<Project> undoBefore_;
    std::string undoName_;
};

// Fills every empty slot of a suite table with a function that answers "not implemented".
void fillUnimplemented(void* table, size_t bytes);

// Registers every suite table the simulator serves (defined in simhost/suites).
void registerAllSuites(Host& host);

}  // namespace sim
