// Loading the plug-in: its menu entries, its hooks, and what a failure at start shows.
#include <algorithm>

#include "SimFixture.h"

namespace {

const char* kProject = R"({"format": "zentrim-project", "version": 1, "items": []})";

std::vector<sim::MenuEntry> lastLayerEntries(sim::Host& h, size_t n) {
    const std::vector<sim::MenuEntry>& menu = h.menus().entries[AEGP_Menu_LAYER];
    return std::vector<sim::MenuEntry>(menu.end() - std::min(n, menu.size()), menu.end());
}

int indexOfCall(const sim::CallLog& log, const std::string& name, int occurrence) {
    for (const sim::CallRecord& c : log.calls())
        if (c.name == name && occurrence-- == 0) return c.index;
    return -1;
}

TEST(EntryPoint, AddsSeparatorAndCommandAtTheBottomOfTheLayerMenu) {
    simtest::Sim sim;
    sim.load(kProject);
    ASSERT_EQ(sim.start(), A_Err_NONE);
    std::vector<sim::MenuEntry> last = lastLayerEntries(sim.host, 2);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].name, "-");
    EXPECT_EQ(last[1].name, "Zentrim");
    EXPECT_NE(last[1].command, 0);
    EXPECT_EQ(sim.host.menus().commandHooks.size(), 1u);
    EXPECT_EQ(sim.host.menus().commandHooks[0].command, AEGP_Command_ALL);
    EXPECT_EQ(sim.host.menus().commandHooks[0].priority,
              static_cast<AEGP_HookPriority>(AEGP_HP_BeforeAE));
    EXPECT_EQ(sim.host.menus().updateMenuHooks.size(), 1u);
    EXPECT_EQ(sim.host.menus().idleHooks.size(), 1u);
    EXPECT_TRUE(sim.host.events().reports.empty());
    EXPECT_TRUE(sim.host.unbalancedSuites().empty());
    EXPECT_TRUE(sim.host.handles().leaks().empty());
    EXPECT_TRUE(sim.host.log().problems().empty());
}

TEST(EntryPoint, FailedInsertionRegistersNoHookAndReportsOnce) {
    int failAt;
    {
        simtest::Sim clean;
        clean.load(kProject);
        ASSERT_EQ(clean.start(), A_Err_NONE);
        failAt = indexOfCall(clean.host.log(), "AEGP_InsertMenuCommand",
                             1);  // the command, not the separator
        ASSERT_GE(failAt, 0);
    }
    simtest::Sim sim;
    sim.load(kProject);
    sim.host.log().faults.failAt = failAt;
    sim.host.log().faults.error = 77;
    EXPECT_EQ(sim.start(), 77);
    EXPECT_TRUE(sim.host.menus().commandHooks.empty());
    EXPECT_TRUE(sim.host.menus().updateMenuHooks.empty());
    EXPECT_TRUE(sim.host.menus().idleHooks.empty());
    ASSERT_EQ(sim.host.events().reports.size(), 1u);
    EXPECT_EQ(sim.host.events().reports[0], "Zentrim: Problems encountered during twiddling.");
    EXPECT_TRUE(sim.host.unbalancedSuites().empty());
}

TEST(EntryPoint, MissingSuiteEndsTheStartWith516AndNoReport) {
    simtest::Sim sim;
    sim.load(kProject);
    sim.host.log().faults.failName = "SPBasic.AcquireSuite";
    sim.host.log().faults.error = A_Err_MISSING_SUITE;
    EXPECT_EQ(sim.start(), 516);
    EXPECT_TRUE(sim.host.events().reports.empty());
    EXPECT_TRUE(sim.host.unbalancedSuites().empty());
}

TEST(EntryPoint, IdleHookLeavesTheMaximumSleepAlone) {
    simtest::Sim sim;
    sim.load(kProject);
    ASSERT_EQ(sim.start(), A_Err_NONE);
    ASSERT_EQ(sim.host.idle(), A_Err_NONE);
    EXPECT_EQ(sim.host.menus().maxSleep, 30);
}

}  // namespace
