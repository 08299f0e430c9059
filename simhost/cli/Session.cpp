// Playing the user's sequence against the loaded plug-in, and collecting what it did.
#include "Session.h"

#include <algorithm>
#include <set>

#include "Commands.h"

namespace sim {

Session::Session(Project project, const std::string& pluginPath, bool privateCopy) {
    host.project = std::move(project);
    before = host.project;
    try {
        module = std::make_unique<PluginModule>(
            pluginPath.empty() ? PluginModule::defaultPath() : pluginPath, privateCopy);
    } catch (const std::exception& e) {
        throw BadInput(std::string("--plugin: ") + e.what());
    }
    startResult = module->start(host);
}

const MenuEntry* Session::command() const {
    auto it = host.menus.find(AEGP_Menu_LAYER);
    if (it == host.menus.end() || it->second.empty()) return nullptr;
    const MenuEntry& last = it->second.back();
    return last.name == "-" ? nullptr : &last;
}

void Session::openMenu(bool shift, bool commandKey) {
    host.updateMenus();
    host.shiftDown = false;
    host.commandDown = false;
    host.idle();
    host.shiftDown = shift;
    host.commandDown = commandKey;
    host.idle();
    host.updateMenus();
}

SessionReport Session::play(const SessionOptions& o) {
    SessionReport r;
    size_t undoBefore = host.undoSteps.size();
    host.resizes.clear();
    host.log.clear();

    if (o.panel) {
        host.updateMenus();
        host.shiftDown = o.shift;
        host.commandDown = o.command;
        const MenuEntry* cmd = command();
        host.prefs.set("Zentrim", "Panel_Run", static_cast<long>(*o.panel));
        host.prefs.set("Zentrim", "Menu_Cmd", static_cast<long>(cmd ? cmd->command : 0));
        r.result = host.idle();
        r.chosen = true;
    } else {
        openMenu(o.shift, o.command);
        const MenuEntry* cmd = command();
        if (cmd) {
            r.menuName = cmd->name;
            r.enabled = cmd->enabled;
        }
        if (cmd && cmd->enabled) {
            r.result = host.doCommand(cmd->command);
            r.chosen = true;
        }
    }
    if (const MenuEntry* cmd = command()) {
        if (o.panel) {
            r.menuName = cmd->name;
            r.enabled = cmd->enabled;
        }
    }

    r.alerts = host.alerts;
    r.dialogs = host.dialogs;
    for (size_t i = undoBefore; i < host.undoSteps.size(); ++i)
        r.undoSteps.push_back(host.undoSteps[i].name);
    r.resized = host.resizes;
    std::set<Id> cropped;
    for (const ResizeRecord& rr : host.resizes)
        cropped.insert(rr.item);
    for (const Item& item : host.project.items) {
        if (item.type != ItemType::Comp) continue;
        for (const Layer& l : item.comp.layers)
            if (cropped.count(l.source)) r.corrected.emplace_back(item.name, l.name);
    }
    r.leaks = host.handles.leaks();
    for (const ProgressEvent& e : host.progress)
        if (e.kind == ProgressEvent::Percent) r.progress.push_back(e.value);
    r.progressUpdates = host.progress.percentUpdates();
    r.lastPercent = host.progress.lastPercent();
    r.problems = host.log.problems();
    for (const std::string& u : host.unbalancedSuites())
        r.problems.push_back("suite " + u);
    if (host.undoDepth() != 0) r.problems.push_back("an undo group was left open");

    if (o.undo) {
        Project after = host.project;
        while (host.undoSteps.size() > undoBefore)
            host.undo();
        r.undoDifference = describeDifference(before, host.project);
        r.undoRestored = r.undoDifference.empty();
        host.project = std::move(after);  // --out keeps the project as the command left it
    }
    return r;
}

}  // namespace sim
