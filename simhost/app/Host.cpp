// The simulated host process: basic suite, undo, menu and idle hooks, command dispatch, handles.
#include "Host.h"

#include "SimPlatform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

Host* g_current = nullptr;

void bringSelectedLayersToFront(Host& h) {
    Item* comp = h.activeComp();
    if (!comp) return;
    h.startUndoGroup("Bring Layer to Front");
    std::vector<Layer>& layers = comp->comp.layers;
    std::stable_partition(layers.begin(), layers.end(), [](const Layer& l) { return l.selected; });
    h.endUndoGroup();
}

SPErr acquireSuite(const char* name, int32_t version, const void** suite) {
    Host& h = Host::current();
    A_Err injected = h.log.begin("SPBasic.AcquireSuite");
    if (h.log.wantsDetail())
        h.log.setArgs(std::string(name ? name : "(null)") + " v" + std::to_string(version));
    if (suite) *suite = nullptr;
    if (injected) {
        h.log.end(injected);
        return injected;
    }
    const void* table = name ? h.findSuite(name, version) : nullptr;
    if (!table || !suite) {
        h.log.end(A_Err_MISSING_SUITE);
        return A_Err_MISSING_SUITE;
    }
    *suite = table;
    ++h.acquired[std::string(name) + "/" + std::to_string(version)];
    h.log.end(0);
    return kSPNoError;
}

SPErr releaseSuite(const char* name, int32_t version) {
    Host& h = Host::current();
    A_Err injected = h.log.begin("SPBasic.ReleaseSuite");
    if (h.log.wantsDetail())
        h.log.setArgs(std::string(name ? name : "(null)") + " v" + std::to_string(version));
    if (!injected) {
        std::string key = std::string(name ? name : "") + "/" + std::to_string(version);
        if (h.acquired[key] <= h.released[key]) h.log.problem("released more often than acquired");
        ++h.released[key];
    }
    h.log.end(injected);
    return injected;
}

SPBoolean isEqual(const char* a, const char* b) {
    return a && b && std::strcmp(a, b) == 0;
}

SPErr allocateBlock(size_t size, void** block) {
    *block = std::malloc(size ? size : 1);
    return *block ? kSPNoError : A_Err_ALLOC;
}
SPErr freeBlock(void* block) {
    std::free(block);
    return kSPNoError;
}
SPErr reallocateBlock(void* block, size_t size, void** out) {
    void* p = std::realloc(block, size ? size : 1);
    if (!p) return A_Err_ALLOC;
    *out = p;
    return kSPNoError;
}
SPErr undefinedCall(void) {
    return A_Err_GENERIC;
}

// The keyboard and progress display the plug-in reaches through the platform stand-ins.
CGEventFlags currentFlags(void) {
    if (!g_current) return 0;
    CGEventFlags flags = 0;
    if (g_current->shiftDown) flags |= kCGEventFlagMaskShift;
    if (g_current->commandDown) flags |= kCGEventFlagMaskCommand;
    if (g_current->cancelChord && g_current->cancelChord->load())
        flags |= kCGEventFlagMaskShift | kCGEventFlagMaskCommand;
    return flags;
}

void progressEvent(int kind, int value) {
    if (!g_current) return;
    ProgressEvent e{static_cast<ProgressEvent::Kind>(kind), value};
    g_current->progress.add(e);
    if (g_current->progressListener) g_current->progressListener(e);
}

A_Err unimplementedMember(void) {
    Host& h = Host::current();
    h.log.begin("(unimplemented suite member)");
    h.log.problem("the plug-in called a suite member the simulator does not provide");
    h.log.end(A_Err_GENERIC);
    return A_Err_GENERIC;
}

}  // namespace

void fillUnimplemented(void* table, size_t bytes) {
    using Slot = A_Err (*)(void);
    auto* slots = static_cast<Slot*>(table);
    for (size_t i = 0; i < bytes / sizeof(Slot); ++i)
        if (!slots[i]) slots[i] = &unimplementedMember;
}

Host::Host() {
    if (g_current) throw std::logic_error("only one simulated host may exist at a time");
    g_current = this;
    basic_.AcquireSuite = &acquireSuite;
    basic_.ReleaseSuite = &releaseSuite;
    basic_.IsEqual = &isEqual;
    basic_.AllocateBlock = &allocateBlock;
    basic_.FreeBlock = &freeBlock;
    basic_.ReallocateBlock = &reallocateBlock;
    basic_.Undefined = &undefinedCall;
    registerAllSuites(*this);
    ZentrimSimInstall(&currentFlags, &progressEvent);
    // The Layer menu as plug-ins find it: the host's own commands come first.
    menus[AEGP_Menu_LAYER].push_back({kBringLayerToFront, "Bring Layer to Front", true});
    hostCommands.push_back({kBringLayerToFront, &bringSelectedLayersToFront});
}

Host::~Host() {
    g_current = nullptr;
}

Host& Host::current() {
    if (!g_current) throw std::logic_error("no simulated host");
    return *g_current;
}
bool Host::exists() {
    return g_current != nullptr;
}

void Host::addSuite(const std::string& name, int version, const void* table) {
    suites_[{name, version}] = table;
}

const void* Host::findSuite(const std::string& name, int version) const {
    auto it = suites_.find({name, version});
    return it == suites_.end() ? nullptr : it->second;
}

std::vector<std::string> Host::unbalancedSuites() const {
    std::vector<std::string> out;
    for (auto& [key, count] : acquired) {
        auto r = released.find(key);
        int rel = r == released.end() ? 0 : r->second;
        if (rel != count)
            out.push_back(key + ": acquired " + std::to_string(count) + ", released " +
                          std::to_string(rel));
    }
    return out;
}

void Host::startUndoGroup(const std::string& name) {
    if (undoDepth_ == 0) {
        undoBefore_ = project;
        undoName_ = name;
    }
    ++undoDepth_;
}

void Host::endUndoGroup() {
    if (undoDepth_ == 0) {
        log.problem("an undo group was ended that was not started");
        return;
    }
    if (--undoDepth_ == 0) {
        undoSteps.push_back({undoName_, std::move(*undoBefore_)});
        undoBefore_.reset();
    }
}

bool Host::undo() {
    if (undoSteps.empty()) return false;
    project = std::move(undoSteps.back().before);
    undoSteps.pop_back();
    return true;
}

A_Err Host::updateMenus() {
    A_Err first = 0;
    for (auto& [func, refcon] : updateMenuHooks) {
        A_Err err = A_Err_GENERIC;
        try {
            err = func(nullptr, refcon, AEGP_WindType_COMP);
        } catch (...) {
            log.problem("an exception left the update-menu hook");
        }
        if (!first) first = err;
    }
    return first;
}

A_Err Host::idle() {
    A_Err first = 0;
    for (auto& [func, refcon] : idleHooks) {
        A_long sleep = 30;
        A_Err err = A_Err_GENERIC;
        try {
            err = func(nullptr, refcon, &sleep);
        } catch (...) {
            log.problem("an exception left the idle hook");
        }
        maxSleep = sleep;
        if (!first) first = err;
    }
    return first;
}

// Hooks are called with AEGP_HP_BeforeAE whatever priority they registered with, as the host
// does; each sees whether an earlier one handled the command.
A_Err Host::doCommand(AEGP_Command command) {
    A_Err first = 0;
    A_Boolean handled = 0;
    std::vector<CommandHookEntry> hooks = commandHooks;  // a hook may register others
    for (const CommandHookEntry& hook : hooks) {
        if (hook.command != AEGP_Command_ALL && hook.command != command) continue;
        A_Err err = A_Err_GENERIC;
        try {
            err = hook.func(nullptr, hook.refcon, command, AEGP_HP_BeforeAE, handled, &handled);
        } catch (...) {
            log.problem("an exception left the command hook");
        }
        if (!first) first = err;
    }
    if (!handled) {
        if (const HostCommand* own = hostCommand(command)) own->run(*this);
    }
    return first;
}

const HostCommand* Host::hostCommand(AEGP_Command command) const {
    for (const HostCommand& c : hostCommands)
        if (c.command == command) return &c;
    return nullptr;
}

const MenuEntry* Host::menuEntry(AEGP_Command command) const {
    for (auto& [id, entries] : menus)
        for (const MenuEntry& e : entries)
            if (e.command == command && command != 0) return &e;
    return nullptr;
}

AEGP_ProjectH Host::projectHandle() {
    return handles.object(HandleKind::Project, 0)->handle<AEGP_ProjectH>();
}
AEGP_ItemH Host::itemHandle(Id id) {
    return handles.object(HandleKind::Item, id)->handle<AEGP_ItemH>();
}
AEGP_CompH Host::compHandle(Id itemId) {
    return handles.object(HandleKind::Comp, itemId)->handle<AEGP_CompH>();
}
AEGP_LayerH Host::layerHandle(Id layerId) {
    return handles.object(HandleKind::Layer, layerId)->handle<AEGP_LayerH>();
}

HandleRecord* Host::record(const void* h, HandleKind kind, const char* what) {
    HandleRecord* r = handles.find(h, kind);
    if (!r) {
        std::string why = !h                 ? "null"
                          : handles.known(h) ? "released or of another kind"
                                             : "not a handle of this host";
        throw HostError(A_Err_PARAMETER, std::string(what) + " handle is " + why);
    }
    return r;
}

Item& Host::itemOf(AEGP_ItemH h) {
    Item* item = project.findItem(record(h, HandleKind::Item, "item")->id);
    if (!item) throw HostError(A_Err_PARAMETER, "the item no longer exists");
    return *item;
}

Item& Host::compItemOf(AEGP_CompH h) {
    Item* item = project.findItem(record(h, HandleKind::Comp, "composition")->id);
    if (!item || item->type != ItemType::Comp)
        throw HostError(A_Err_PARAMETER, "the composition no longer exists");
    return *item;
}

Layer& Host::layerOf(AEGP_LayerH h, Item** comp) {
    Id id = record(h, HandleKind::Layer, "layer")->id;
    int index = 0;
    Item* c = project.findLayerComp(id, &index);
    if (!c) throw HostError(A_Err_PARAMETER, "the layer no longer exists");
    if (comp) *comp = c;
    return c->comp.layers[index];
}

Item* Host::activeComp() {
    Item* item = project.findItem(project.activeItem);
    return item && item->type == ItemType::Comp ? item : nullptr;
}

Layer* Host::activeLayer(Item** comp) {
    Item* c = activeComp();
    if (!c) return nullptr;
    Layer* found = nullptr;
    for (Layer& l : c->comp.layers) {
        if (!l.selected) continue;
        if (found) return nullptr;  // several selected: no active layer
        found = &l;
    }
    if (found && comp) *comp = c;
    return found;
}

}  // namespace sim
