// Allocation failures inside the plug-in, through the loaded module: every allocation the
// module's own code makes during a command is made to fail once, and each run must end with the
// host's out-of-memory error — no exception crossing into the host, nothing leaked, every undo
// group closed, undo restoring the project.
//
// This executable replaces the global operator new; it fails only allocations called from the
// plug-in module's code while a run is armed, so that the simulator's own allocations go on.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "CommandFixture.h"
#include "SweepScenarios.h"

namespace {

const void* g_moduleBase = nullptr;  // where the module is loaded; null: nothing armed
long g_failAt = -1;                  // the module's allocation to fail, counted from 0
long g_moduleAllocations = 0;
bool g_inside = false;

bool calledFromModule(void* returnAddress) {
    Dl_info info;
    return dladdr(returnAddress, &info) != 0 && info.dli_fbase == g_moduleBase;
}

void* allocate(std::size_t size, void* caller) {
    if (g_moduleBase && !g_inside) {
        g_inside = true;
        bool fromModule = calledFromModule(caller);
        g_inside = false;
        if (fromModule && g_moduleAllocations++ == g_failAt) throw std::bad_alloc();
    }
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size, __builtin_return_address(0));
}
void* operator new[](std::size_t size) {
    return allocate(size, __builtin_return_address(0));
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

struct Outcome {
    A_Err result = A_Err_NONE;
    long allocations = 0;
};

// One run of the scenario's command (or the panel's request) with allocation `failAt` of the
// module failing (-1: none); the session's state afterwards is checked by the caller.
Outcome play(simtest::Command& c, const simtest::Scenario& s, long failAt) {
    bool shift = s.keys.find("shift") != std::string::npos;
    bool command = s.keys.find("cmd") != std::string::npos;
    c.session->openMenu(shift, command);
    const sim::MenuEntry* entry = c.session->command();
    EXPECT_TRUE(entry && (s.panel || entry->enabled));
    if (s.panel) {
        c.host().prefs().set("Zentrim", "Panel_Run", static_cast<long>(s.panel));
        c.host().prefs().set("Zentrim", "Menu_Cmd", static_cast<long>(entry->command));
    }
    g_moduleAllocations = 0;
    g_failAt = failAt;
    g_moduleBase = nullptr;
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(c.host().menus().commandHooks.at(0).func), &info))
        g_moduleBase = info.dli_fbase;
    Outcome o;
    o.result = s.panel ? c.host().idle() : c.host().doCommand(entry->command);
    g_moduleBase = nullptr;
    o.allocations = g_moduleAllocations;
    return o;
}

std::unique_ptr<simtest::Command> prepare(const simtest::Scenario& s) {
    auto c = std::make_unique<simtest::Command>(s.project, s.answers);
    if (s.prefs) s.prefs(c->host().prefs());
    return c;
}

class AllocationFailure : public ::testing::TestWithParam<simtest::Scenario> {};

TEST_P(AllocationFailure, EveryFailedAllocationEndsTheCommandWithTheOutOfMemoryError) {
    const simtest::Scenario& s = GetParam();
    long allocations = 0;
    {
        auto clean = prepare(s);
        Outcome o = play(*clean, s, -1);
        ASSERT_EQ(o.result, A_Err_NONE) << "the clean run must succeed";
        allocations = o.allocations;
    }
    std::printf("[ alloc    ] %s: %ld allocations by the module\n", s.name.c_str(), allocations);
    for (long n = 0; n < allocations; ++n) {
        SCOPED_TRACE(s.name + ": allocation " + std::to_string(n) + " fails");
        auto c = prepare(s);
        sim::Project before = c->host().project();
        size_t steps = c->host().undoSteps().size();
        Outcome o = play(*c, s, n);
        EXPECT_EQ(o.result, A_Err_ALLOC);
        sim::Host& h = c->host();
        EXPECT_TRUE(h.handles().leaks().empty()) << h.handles().leaks().front();
        EXPECT_TRUE(h.unbalancedSuites().empty()) << h.unbalancedSuites().front();
        EXPECT_EQ(h.undoDepth(), 0) << "an undo group was left open";
        EXPECT_TRUE(h.log().problems().empty()) << h.log().problems().front();
        while (h.undoSteps().size() > steps)
            h.undo();
        EXPECT_EQ(sim::describeDifference(before, h.project()), "");
    }
}

// The command scenarios of the fault sweep (the hooks before a command allocate nothing).
std::vector<simtest::Scenario> commandScenarios() {
    std::vector<simtest::Scenario> out;
    for (const simtest::Scenario& s : simtest::sweepScenarios())
        if (s.hook == simtest::Scenario::Hook::None) out.push_back(s);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Commands, AllocationFailure, ::testing::ValuesIn(commandScenarios()),
                         [](const ::testing::TestParamInfo<simtest::Scenario>& param) {
                             std::string name;
                             for (char c : param.param.name)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return std::to_string(param.index) + "_" + name;
                         });

}  // namespace
