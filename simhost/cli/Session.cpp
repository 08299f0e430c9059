// Playing the user's sequence against the loaded plug-in, and collecting what it did.
#include "Session.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>

#include "Commands.h"
#include "HostModelOption.h"

namespace sim {

namespace {

// What the simulated user left undone or will lose.
void reportUser(const SimulatedUser& user, const SessionOptions& o, SessionReport& r) {
    r.unanswered = user.unanswered;
    const std::vector<DialogAnswer>& answers = user.answers.dialogs;
    for (size_t i = 0; i < answers.size(); ++i) {
        const DialogAnswer& a = answers[i];
        size_t notApplied =
            a.used ? a.actions.size() - std::min(a.applied, a.actions.size()) : a.actions.size();
        if (a.used && notApplied == 0) continue;
        r.unusedAnswers.push_back({i, a.title, a.used, a.actions.size(), notApplied});
    }
    if (o.keepsPrefs) return;
    for (const auto& [window, box] : user.ticked)
        if (box == "Remember My Choice")
            r.warnings.push_back("\"Remember My Choice\" was ticked in \"" + window +
                                 "\", but without --prefs the choice is not kept after this run");
}

}  // namespace

namespace {

// Watches the plug-in pick up the companion panel's requests: the request it read ("Panel_Run",
// read before the plug-in deletes it) and whether it then ran the command through the host's
// dispatch (AEGP_DoCommand), which a refused request does not.
class PanelRequests {
  public:
    explicit PanelRequests(Host& host) : host_(host), outer_(host.log().onCall) {
        host.log().onCall = [this](const CallRecord& call) {
            if (call.name == "AEGP_GetLong" && call.args.find("Panel_Run") != std::string::npos)
                request_ = host_.prefs().getLong("Zentrim", "Panel_Run", 0);
            if (call.name == "AEGP_DoCommand") {
                std::string name = panelActionName(static_cast<int>(request_));
                if (!name.empty()) ran_.push_back(name);
                issued_ = true;
            }
            if (outer_) outer_(call);
        };
    }
    ~PanelRequests() { host_.log().onCall = outer_; }
    PanelRequests(const PanelRequests&) = delete;
    PanelRequests& operator=(const PanelRequests&) = delete;

    bool issued() const { return issued_; }
    // The actions that ran, in order ("Zentrim, Zentrim Preferences"); "" for none.
    std::string actions() const {
        std::string out;
        for (const std::string& a : ran_)
            out += (out.empty() ? "" : ", ") + a;
        return out;
    }

  private:
    Host& host_;
    std::function<void(const CallRecord&)> outer_;
    long request_ = 0;
    bool issued_ = false;
    std::vector<std::string> ran_;
};

// Watches for the first mask outline the plug-in reads before anything is resized: the mask
// Mask Crop crops to (the correction of uses reads the outlines of every use's masks only after
// the resize).
class MaskOutlineReads {
  public:
    explicit MaskOutlineReads(Host& host) : host_(host), outer_(host.log().onCall) {
        host.log().onCall = [this](const CallRecord& call) {
            if (first_ == 0 && call.name == "AEGP_GetNewMaskStream" && call.result == A_Err_NONE &&
                host_.events().resizes.empty())
                first_ = maskIdIn(call.args);
            if (outer_) outer_(call);
        };
    }
    ~MaskOutlineReads() { host_.log().onCall = outer_; }
    MaskOutlineReads(const MaskOutlineReads&) = delete;
    MaskOutlineReads& operator=(const MaskOutlineReads&) = delete;

    Id first() const { return first_; }

  private:
    // The call's arguments name the mask by id: "... mask 12 stream 0".
    static Id maskIdIn(const std::string& args) {
        size_t at = args.find("mask ");
        if (at == std::string::npos) return 0;
        try {
            return std::stoll(args.substr(at + 5));
        } catch (const std::exception&) {
            return 0;
        }
    }

    Host& host_;
    std::function<void(const CallRecord&)> outer_;
    Id first_ = 0;
};

}  // namespace

CropCommand cropCommandOf(const SessionReport& r, const Preferences& prefsBefore) {
    CropCommand c;
    c.kind = cropKindOfAction(r.action);
    c.everyFrame = r.action == "Zentrim Duration";
    for (const std::string& step : r.undoSteps)
        c.everyFrame = c.everyFrame || step == "Zentrim Duration";
    c.includeMasks = prefsBefore.getBool("Zentrim", "IncludeMasks", false);
    c.maskCroppedTo = r.maskCroppedTo;
    return c;
}

std::string panelActionName(int request) {
    switch (request) {
        case 1:
            return "Zentrim";
        case 2:
            return "Zentrim Duration";
        case 3:
            return "Mask Crop";
        case 4:
            return "Zentrim Preferences";
        default:
            return "";
    }
}

Session::Session(Project project, const std::string& pluginPath, bool privateCopy,
                 SessionObserver observer, const HostModel& model)
    : observer_(std::move(observer)) {
    host.model() = model;
    host.project() = std::move(project);
    before = host.project();
    // Only an observer that reads the calls is installed: without one the host may skip
    // describing them (CallLog::wantsDetail).
    if (observer_.call) host.log().onCall = observer_.call;
    try {
        module = std::make_unique<PluginModule>(
            pluginPath.empty() ? PluginModule::defaultPath() : pluginPath, privateCopy);
    } catch (const std::exception& e) {
        throw BadInput(std::string("--plugin: ") + e.what());
    }
    step("entry point");
    startResult = module->start(host);
}

void Session::step(const std::string& name) {
    if (observer_.step) observer_.step(name);
}

const MenuEntry* Session::command() const {
    auto it = host.menus().entries.find(AEGP_Menu_LAYER);
    if (it == host.menus().entries.end() || it->second.empty()) return nullptr;
    const MenuEntry& last = it->second.back();
    // The host's own commands come before any plug-in's: when the last entry is one of them, the
    // plug-in added none.
    return last.name == "-" || host.hostCommand(last.command) ? nullptr : &last;
}

void Session::openMenu(bool shift, bool commandKey) {
    step("menu update");
    host.updateMenus();
    host.platform().shiftDown = false;
    host.platform().commandDown = false;
    step("idle, no key held");
    host.idle();
    host.platform().shiftDown = shift;
    host.platform().commandDown = commandKey;
    step(std::string("idle, keys held: ") + (shift && commandKey ? "shift+cmd"
                                             : shift             ? "shift"
                                             : commandKey        ? "cmd"
                                                                 : "none"));
    host.idle();
    step("menu update (the user opens the Layer menu)");
    host.updateMenus();
}

SessionReport Session::play(const SessionOptions& o) {
    SessionReport r;
    size_t undoBefore = host.undoSteps().size();
    host.events().resizes.clear();
    host.log().clear();
    const std::string prefsAtStart = host.prefs().serializeChosen();
    const int savesAtStart = host.prefs().savesToDisk;

    // Only watched where the plug-in may crop to a mask: a watcher makes the host describe every
    // call.
    std::optional<MaskOutlineReads> maskReads;
    if (o.instead) {
        step("menu update");
        host.updateMenus();
        step("idle");
        host.idle();
        maskReads.emplace(host);
        PanelRequests requests(host);
        r.result = o.instead(*this, r);
        r.chosen = true;
        r.action = requests.actions();
    } else if (o.panel) {
        step("menu update");
        host.updateMenus();
        host.platform().shiftDown = o.shift;
        host.platform().commandDown = o.command;
        const MenuEntry* cmd = command();
        host.prefs().set("Zentrim", "Panel_Run", static_cast<long>(*o.panel));
        host.prefs().set("Zentrim", "Menu_Cmd", static_cast<long>(cmd ? cmd->command : 0));
        maskReads.emplace(host);
        PanelRequests requests(host);
        step("idle with the panel's request " + std::to_string(*o.panel));
        r.result = host.idle();
        r.panel = o.panel;
        // The plug-in runs the request through the host's command dispatch, or refuses it.
        r.chosen = requests.issued();
        r.action = requests.actions();
    } else {
        openMenu(o.shift, o.command);
        const MenuEntry* cmd = command();
        if (cmd) {
            r.menuName = cmd->name;
            r.enabled = cmd->enabled;
        }
        if (cmd && cmd->enabled) {
            if (cmd->name == "Mask Crop") maskReads.emplace(host);
            step("command \"" + cmd->name + "\"");
            r.result = host.doCommand(cmd->command);
            r.chosen = true;
            r.action = cmd->name;
        }
    }
    if (const MenuEntry* cmd = command()) {
        if (o.panel || o.instead) {
            r.menuName = cmd->name;
            r.enabled = cmd->enabled;
        }
    }

    if (maskReads) r.maskCroppedTo = maskReads->first();
    maskReads.reset();

    r.alerts = host.events().alerts;
    r.dialogs = host.events().dialogs;
    for (size_t i = undoBefore; i < host.undoSteps().size(); ++i)
        r.undoSteps.push_back(host.undoSteps()[i].name);
    r.resized = host.events().resizes;
    std::set<Id> cropped;
    for (const ResizeRecord& rr : host.events().resizes)
        cropped.insert(rr.item);
    for (const Item& item : host.project().items) {
        if (item.type != ItemType::Comp) continue;
        for (const Layer& l : item.comp.layers)
            if (cropped.count(l.source)) r.corrected.emplace_back(item.name, l.name);
    }
    r.leaks = host.handles().leaks();
    r.hostModel = hostModelChoices(host.model());
    for (const ProgressEvent& e : host.events().progress)
        if (e.kind == ProgressEvent::Percent) r.progress.push_back(e.value);
    r.progressUpdates = host.events().progress.percentUpdates();
    r.lastPercent = host.events().progress.lastPercent();
    r.problems = host.log().problems();
    for (const std::string& u : host.unbalancedSuites())
        r.problems.push_back("suite " + u);
    if (host.undoDepth() != 0) r.problems.push_back("an undo group was left open");
    if (scripting) reportUser(scripting->user(), o, r);
    if (!o.keepsPrefs && r.warnings.empty() &&
        (host.prefs().savesToDisk != savesAtStart ||
         host.prefs().serializeChosen() != prefsAtStart))
        r.warnings.push_back(
            "the preferences were changed, but without --prefs the changes are not kept after "
            "this run");

    r.projectChanged = !(host.project() == before);

    if (o.undo) {
        step("undo");
        Project after = host.project();
        while (host.undoSteps().size() > undoBefore)
            host.undo();
        r.undoDifference = describeDifference(before, host.project());
        r.undoRestored = r.undoDifference.empty();
        host.project() = std::move(after);  // --out keeps the project as the command left it
    }
    return r;
}

}  // namespace sim
