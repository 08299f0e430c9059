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
#include "HostModel.h"
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

// The menus and the hooks plug-ins registered, and the host's own commands.
struct HostMenus {
    std::map<int, std::vector<MenuEntry>> entries;  // by AEGP_MenuID, top to bottom
    std::vector<CommandHookEntry> commandHooks;
    std::vector<HostCommand> hostCommands;  // the host's own commands (Layer menu)
    std::vector<std::pair<AEGP_UpdateMenuHook, AEGP_UpdateMenuRefcon>> updateMenuHooks;
    std::vector<std::pair<AEGP_IdleHook, AEGP_IdleRefcon>> idleHooks;
    AEGP_Command nextCommand = 3000;  // handed out by AEGP_GetUniqueCommand
    A_long maxSleep = 0;              // last value the idle hooks left
};

// What the host showed the user and what the plug-in's scripts and commands did, in order.
struct HostEvents {
    std::vector<std::string> reports;  // AEGP_ReportInfo texts
    std::vector<Alert> alerts;
    std::vector<std::string> dialogs;  // titles of the dialogs scripts opened
    std::vector<std::string> scripts;  // every script text run
    std::vector<std::string> console;  // lines scripts wrote with $.writeln
    // What scripts did with files: "write <path>", "execute <path>", ...
    std::vector<std::string> fileEvents;
    ProgressRecord progress;            // bounded: counts always, the first events
    std::vector<ResizeRecord> resizes;  // every composition resize, in order
};

// The world around the host: the simulated keyboard and main window, who listens to the progress
// display, and the scripting engine that runs AEGP_ExecuteScript.
struct HostPlatform {
    bool shiftDown = false, commandDown = false;
    // When set and true, the keyboard reports Shift + Command held as well (Ctrl-C at the
    // terminal stands for the cancel chord); set from a signal handler, hence atomic.
    const std::atomic<bool>* cancelChord = nullptr;
    void* mainWindow = nullptr;                                  // what AEGP_GetMainHWND hands out
    std::function<void(const ProgressEvent&)> progressListener;  // e.g. a terminal progress bar
    std::function<ScriptOutcome(const std::string& script)> scriptRunner;
};

// The host's own settings that change what its suites do (its preferences dialog, not the
// application preferences plug-ins and scripts read).
struct HostSettings {
    // How long a new still lasts (the host's Import preference for still footage), which is also
    // what a null made without a duration gets. Empty: the length of the composition it goes
    // into, the host's factory setting.
    std::optional<Rational> stillDuration;
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
    Project& project() { return project_; }
    const Project& project() const { return project_; }
    Preferences& prefs() { return prefs_; }
    const Preferences& prefs() const { return prefs_; }
    HandleRegistry& handles() { return handles_; }
    const HandleRegistry& handles() const { return handles_; }
    CallLog& log() { return log_; }
    const CallLog& log() const { return log_; }
    FramePool& frames() { return frames_; }  // checked-in frames kept for the next checkout
    HostMenus& menus() { return menus_; }
    const HostMenus& menus() const { return menus_; }
    HostEvents& events() { return events_; }
    const HostEvents& events() const { return events_; }
    HostPlatform& platform() { return platform_; }
    const HostPlatform& platform() const { return platform_; }
    // What the host does where its documentation is silent (the defaults unless a run chose).
    HostModel& model() { return model_; }
    const HostModel& model() const { return model_; }
    HostSettings& settings() { return settings_; }
    const HostSettings& settings() const { return settings_; }

    // ---- suites ----
    void addSuite(const std::string& name, int version, const void* table);
    const void* findSuite(const std::string& name, int version) const;
    // Acquisitions and releases through the basic suite, by "name/version".
    const std::map<std::string, int>& acquired() const { return acquired_; }
    const std::map<std::string, int>& released() const { return released_; }
    std::vector<std::string> unbalancedSuites() const;

    // ---- undo ----
    void startUndoGroup(const std::string& name);
    void endUndoGroup();
    int undoDepth() const { return undoDepth_; }
    const std::vector<UndoStep>& undoSteps() const { return undoSteps_; }
    bool undo();  // restores the project as it was before the newest step
    // An undoable call (one the host's header marks so) made outside any undo group is an undo
    // step of its own, named after the call: the project before it, taken only when no group is
    // open, and the step kept once the call has succeeded.
    std::optional<Project> projectOutsideGroups() const;
    void addUndoStep(const std::string& name, Project before);
    void forgetUndo();  // drops every undo step (a fresh start without a new host)

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
    static SPErr acquireSuite(const char* name, int32_t version, const void** suite);
    static SPErr releaseSuite(const char* name, int32_t version);

    SPBasicSuite basic_{};
    Project project_;
    Preferences prefs_;
    HandleRegistry handles_;
    CallLog log_;
    FramePool frames_;
    HostMenus menus_;
    HostEvents events_;
    HostPlatform platform_;
    HostModel model_;
    HostSettings settings_;
    std::map<std::pair<std::string, int>, const void*> suites_;
    std::map<std::string, int> acquired_, released_;
    std::vector<UndoStep> undoSteps_;
    int undoDepth_ = 0;
    std::optional<Project> undoBefore_;
    std::string undoName_;
};

// Fills every empty slot of a suite table with a function that answers "not implemented".
void fillUnimplemented(void* table, size_t bytes);

// Registers every suite table the simulator serves (defined in the suite files beside this one).
void registerAllSuites(Host& host);

}  // namespace sim
