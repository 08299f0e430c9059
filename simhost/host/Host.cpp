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
    if (g_current->platform().shiftDown) flags |= kCGEventFlagMaskShift;
    if (g_current->platform().commandDown) flags |= kCGEventFlagMaskCommand;
    if (g_current->platform().cancelChord && g_current->platform().cancelChord->load())
        flags |= kCGEventFlagMaskShift | kCGEventFlagMaskCommand;
    return flags;
}

void progressEvent(int kind, int value) {
    if (!g_current) return;
    ProgressEvent e{static_cast<ProgressEvent::Kind>(kind), value};
    g_current->events().progress.add(e);
    if (g_current->platform().progressListener) g_current->platform().progressListener(e);
}

A_Err unimplementedMember(void) {
    Host& h = Host::current();
    SuiteScope unknown("");  // its table's name is not known here
    h.log().begin("(unimplemented suite member)");
    h.log().problem("the plug-in called a suite member the simulator does not provide");
    h.log().end(A_Err_GENERIC);
    return A_Err_GENERIC;
}

}  // namespace

SPErr Host::acquireSuite(const char* name, int32_t version, const void** suite) {
    Host& h = Host::current();
    SuiteScope basic("SPBasic");
    A_Err injected = h.log_.begin("SPBasic.AcquireSuite");
    if (h.log_.wantsDetail())
        h.log_.setArgs(std::string(name ? name : "(null)") + " v" + std::to_string(version));
    if (suite) *suite = nullptr;
    if (injected) {
        h.log_.end(injected);
        return injected;
    }
    const void* table = name ? h.findSuite(name, version) : nullptr;
    if (!table || !suite) {
        h.log_.end(A_Err_MISSING_SUITE);
        return A_Err_MISSING_SUITE;
    }
    *suite = table;
    ++h.acquired_[std::string(name) + "/" + std::to_string(version)];
    h.log_.end(0);
    return kSPNoError;
}

SPErr Host::releaseSuite(const char* name, int32_t version) {
    Host& h = Host::current();
    SuiteScope basic("SPBasic");
    A_Err injected = h.log_.begin("SPBasic.ReleaseSuite");
    if (h.log_.wantsDetail())
        h.log_.setArgs(std::string(name ? name : "(null)") + " v" + std::to_string(version));
    if (!injected) {
        std::string key = std::string(name ? name : "") + "/" + std::to_string(version);
        if (h.acquired_[key] <= h.released_[key])
            h.log_.problem("released more often than acquired");
        ++h.released_[key];
    }
    h.log_.end(injected);
    return injected;
}

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
    menus_.entries[AEGP_Menu_LAYER].push_back({kBringLayerToFront, "Bring Layer to Front", true});
    menus_.hostCommands.push_back({kBringLayerToFront, &bringSelectedLayersToFront});
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
    for (auto& [key, count] : acquired_) {
        auto r = released_.find(key);
        int rel = r == released_.end() ? 0 : r->second;
        if (rel != count)
            out.push_back(key + ": acquired " + std::to_string(count) + ", released " +
                          std::to_string(rel));
    }
    return out;
}

void Host::startUndoGroup(const std::string& name) {
    if (undoDepth_ == 0) {
        undoBefore_ = project_;
        undoName_ = name;
    }
    ++undoDepth_;
}

void Host::endUndoGroup() {
    if (undoDepth_ == 0) {
        log_.problem("an undo group was ended that was not started");
        return;
    }
    if (--undoDepth_ == 0) {
        undoSteps_.push_back({undoName_, std::move(*undoBefore_)});
        undoBefore_.reset();
    }
}

std::optional<Project> Host::projectOutsideGroups() const {
    if (undoDepth_ > 0) return std::nullopt;
    return project_;
}

void Host::addUndoStep(const std::string& name, Project before) {
    undoSteps_.push_back({name, std::move(before)});
}

void Host::forgetUndo() {
    undoSteps_.clear();
}

bool Host::undo() {
    if (undoSteps_.empty()) return false;
    project_ = std::move(undoSteps_.back().before);
    undoSteps_.pop_back();
    return true;
}

A_Err Host::updateMenus() {
    A_Err first = 0;
    for (auto& [func, refcon] : menus_.updateMenuHooks) {
        A_Err err = A_Err_GENERIC;
        try {
            err = func(nullptr, refcon, AEGP_WindType_COMP);
        } catch (...) {
            log_.problem("an exception left the update-menu hook");
        }
        if (!first) first = err;
    }
    return first;
}

A_Err Host::idle() {
    A_Err first = 0;
    for (auto& [func, refcon] : menus_.idleHooks) {
        A_long sleep = 30;
        A_Err err = A_Err_GENERIC;
        try {
            err = func(nullptr, refcon, &sleep);
        } catch (...) {
            log_.problem("an exception left the idle hook");
        }
        menus_.maxSleep = sleep;
        if (!first) first = err;
    }
    return first;
}

// Hooks are called with AEGP_HP_BeforeAE whatever priority they registered with, as the host
// does; each sees whether an earlier one handled the command.
A_Err Host::doCommand(AEGP_Command command) {
    A_Err first = 0;
    A_Boolean handled = 0;
    std::vector<CommandHookEntry> hooks = menus_.commandHooks;  // a hook may register others
    for (const CommandHookEntry& hook : hooks) {
        if (hook.command != AEGP_Command_ALL && hook.command != command) continue;
        A_Err err = A_Err_GENERIC;
        try {
            err = hook.func(nullptr, hook.refcon, command, AEGP_HP_BeforeAE, handled, &handled);
        } catch (...) {
            log_.problem("an exception left the command hook");
        }
        if (!first) first = err;
    }
    if (!handled) {
        if (const HostCommand* own = hostCommand(command)) own->run(*this);
    }
    return first;
}

const HostCommand* Host::hostCommand(AEGP_Command command) const {
    for (const HostCommand& c : menus_.hostCommands)
        if (c.command == command) return &c;
    return nullptr;
}

const MenuEntry* Host::menuEntry(AEGP_Command command) const {
    for (auto& [id, entries] : menus_.entries)
        for (const MenuEntry& e : entries)
            if (e.command == command && command != 0) return &e;
    return nullptr;
}

AEGP_ProjectH Host::projectHandle() {
    return handles_.object(HandleKind::Project, 0)->handle<AEGP_ProjectH>();
}
AEGP_ItemH Host::itemHandle(Id id) {
    return handles_.object(HandleKind::Item, id)->handle<AEGP_ItemH>();
}
AEGP_CompH Host::compHandle(Id itemId) {
    return handles_.object(HandleKind::Comp, itemId)->handle<AEGP_CompH>();
}
AEGP_LayerH Host::layerHandle(Id layerId) {
    return handles_.object(HandleKind::Layer, layerId)->handle<AEGP_LayerH>();
}

HandleRecord* Host::record(const void* h, HandleKind kind, const char* what) {
    HandleRecord* r = handles_.find(h, kind);
    if (!r) {
        std::string why = !h                  ? "null"
                          : handles_.known(h) ? "released or of another kind"
                                              : "not a handle of this host";
        throw HostError(A_Err_PARAMETER, std::string(what) + " handle is " + why);
    }
    return r;
}

Item& Host::itemOf(AEGP_ItemH h) {
    Item* item = project_.findItem(record(h, HandleKind::Item, "item")->id);
    if (!item) throw HostError(A_Err_PARAMETER, "the item no longer exists");
    return *item;
}

Item& Host::compItemOf(AEGP_CompH h) {
    Item* item = project_.findItem(record(h, HandleKind::Comp, "composition")->id);
    if (!item || item->type != ItemType::Comp)
        throw HostError(A_Err_PARAMETER, "the composition no longer exists");
    return *item;
}

Layer& Host::layerOf(AEGP_LayerH h, Item** comp) {
    Id id = record(h, HandleKind::Layer, "layer")->id;
    int index = 0;
    Item* c = project_.findLayerComp(id, &index);
    if (!c) throw HostError(A_Err_PARAMETER, "the layer no longer exists");
    if (comp) *comp = c;
    return c->comp.layers[index];
}

Item* Host::activeComp() {
    Item* item = project_.findItem(project_.activeItem);
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
