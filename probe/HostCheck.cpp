// The entry point and the two hooks: the command goes at the bottom of the File menu, apart from
// the product's own command in the Layer menu, since it is about the host and the project as a
// whole, not about a selection, and it writes a file.
#include "HostCheck.h"

#include "AEGP_SuiteHandler.h"
#include "ErrorChain.h"
#include "HostBoundary.h"
#include "HostCheck_Texts.h"
#include "RunCheck.h"

namespace {

SPBasicSuite* g_basic = NULL;
AEGP_PluginID g_id = 0;
AEGP_Command g_command = 0;

A_Err CommandHook(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP,
                  AEGP_Command command, AEGP_HookPriority hook_priority, A_Boolean already_handledB,
                  A_Boolean* handledPB) {
    if (command != g_command || command == 0) return A_Err_NONE;
    if (handledPB) *handledPB = 1;
    return AtHostBoundary([] { return hostcheck::runHostCheck(g_basic, g_id); });
}

// The check needs nothing selected: it is there whenever a project is open.
A_Err UpdateMenuHook(AEGP_GlobalRefcon plugin_refconP, AEGP_UpdateMenuRefcon refconP,
                     AEGP_WindowType active_window) {
    return AtHostBoundary([] {
        AEGP_SuiteHandler suites(g_basic);
        return suites.CommandSuite1()->AEGP_EnableCommand(g_command);
    });
}

}  // namespace

A_Err EntryPointFunc(struct SPBasicSuite* pica_basicP, A_long major_versionL, A_long minor_versionL,
                     AEGP_PluginID aegp_plugin_id, AEGP_GlobalRefcon* global_refconP) {
    g_basic = pica_basicP;
    g_id = aegp_plugin_id;
    return AtHostBoundary([] {
        A_Err err = A_Err_NONE;
        AEGP_SuiteHandler suites(g_basic);
        AEGP_CommandSuite1* commands = suites.CommandSuite1();
        AEGP_RegisterSuite5* hooks = suites.RegisterSuite5();
        ERR(commands->AEGP_InsertMenuCommand(0, "-", AEGP_Menu_FILE, AEGP_MENU_INSERT_AT_BOTTOM));
        ERR(commands->AEGP_GetUniqueCommand(&g_command));
        ERR(commands->AEGP_InsertMenuCommand(g_command, hostcheck::kName, AEGP_Menu_FILE,
                                             AEGP_MENU_INSERT_AT_BOTTOM));
        ERR(hooks->AEGP_RegisterCommandHook(g_id, AEGP_HP_BeforeAE, g_command, CommandHook, NULL));
        ERR(hooks->AEGP_RegisterUpdateMenuHook(g_id, UpdateMenuHook, NULL));
        if (err) {
            // The host hears of the failure once; the report's own error must not replace it.
            (void)AtHostBoundary([&] {
                return suites.UtilitySuite5()->AEGP_ReportInfo(
                    g_id, "Zentrim Host Check: the command could not be added to the File menu.");
            });
        }
        return err;
    });
}
