// The host's own commands beside the plug-in's: the command hook sees every command first, and
// the host runs its own handler only when no hook marked the command handled.
#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::scene;

// Main: Use (a precomposition), Middle, Backdrop; Use and Backdrop selected.
std::string threeLayers() {
    std::string project = scene(true, R"({"name": "Middle", "source": "Red"},)");
    const std::string backdrop = R"({"name": "Backdrop", "source": "Grey"})";
    project.replace(project.find(backdrop), backdrop.size(),
                    R"({"name": "Backdrop", "source": "Grey", "selected": true})");
    return project;
}

std::vector<std::string> layerNames(Command& c) {
    std::vector<std::string> names;
    for (const sim::Layer& l : c.item("Main").comp.layers)
        names.push_back(l.name);
    return names;
}

const std::vector<std::string> kBefore = {"Use", "Middle", "Backdrop"};
const std::vector<std::string> kFront = {"Use", "Backdrop", "Middle"};

TEST(HostCommands, TheHostsOwnCommandRunsWithThePluginLoaded) {
    Command c(threeLayers());
    const std::vector<sim::MenuEntry>& menu = c.host().menus().entries[AEGP_Menu_LAYER];
    ASSERT_GE(menu.size(), 3u);
    EXPECT_EQ(menu[menu.size() - 3].name, "Bring Layer to Front") << "the plug-in's entries follow";
    EXPECT_EQ(layerNames(c), kBefore);
    EXPECT_EQ(c.host().doCommand(sim::Host::kBringLayerToFront), A_Err_NONE);
    EXPECT_EQ(layerNames(c), kFront);
    ASSERT_EQ(c.host().undoSteps().size(), 1u);
    EXPECT_EQ(c.host().undoSteps()[0].name, "Bring Layer to Front");
    EXPECT_TRUE(c.host().events().resizes.empty())
        << "the plug-in's hook leaves other commands alone";
}

// A hook registered before the host that handles the command: the host does not run it.
A_Err handleEverything(AEGP_GlobalRefcon, AEGP_CommandRefcon, AEGP_Command, AEGP_HookPriority,
                       A_Boolean, A_Boolean* handled) {
    *handled = 1;
    return A_Err_NONE;
}
int g_seenHandled = -1;
A_Err watchHandled(AEGP_GlobalRefcon, AEGP_CommandRefcon, AEGP_Command, AEGP_HookPriority,
                   A_Boolean already, A_Boolean*) {
    g_seenHandled = already;
    return A_Err_NONE;
}

TEST(HostCommands, AHookThatHandlesTheCommandStopsTheHostsOwnHandler) {
    Command c(threeLayers());
    c.host().menus().commandHooks.push_back(
        {99, AEGP_HP_BeforeAE, sim::Host::kBringLayerToFront, &handleEverything, nullptr});
    c.host().menus().commandHooks.push_back(
        {100, AEGP_HP_BeforeAE, AEGP_Command_ALL, &watchHandled, nullptr});
    EXPECT_EQ(c.host().doCommand(sim::Host::kBringLayerToFront), A_Err_NONE);
    EXPECT_EQ(layerNames(c), kBefore);
    EXPECT_EQ(g_seenHandled, 1) << "later hooks see the command handled";
    EXPECT_TRUE(c.host().undoSteps().empty());
}

TEST(HostCommands, APanelRequestNamingAHostCommandRunsThatCommand) {
    Command c(threeLayers());
    c.host().updateMenus();
    c.host().prefs().set("Zentrim", "Panel_Run", 1L);
    c.host().prefs().set("Zentrim", "Menu_Cmd", static_cast<long>(sim::Host::kBringLayerToFront));
    EXPECT_EQ(c.host().idle(), A_Err_NONE);
    EXPECT_EQ(layerNames(c), kFront);
    EXPECT_TRUE(c.host().events().resizes.empty()) << "no crop ran";
    EXPECT_TRUE(c.host().events().alerts.empty());
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Panel_Run"));
}

}  // namespace
