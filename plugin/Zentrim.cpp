// The entry point: keeps the host's basic suite and the plug-in id, adds the command at the bottom
// of the Layer menu, and registers the command, update-menu and idle hooks.
#include "Zentrim.h"

#include "Util/AEGP_SuiteHandler.h"
#include "Util/ErrorChain.h"
#include "Util/HostBoundary.h"
#include "Win/cropUtil.h"
#include "Zentrim_Globals.h"
#include "Zentrim_Strings.h"

SPBasicSuite* sP = NULL;
AEGP_PluginID S_my_id = 0;
char VERSION_NUMBER[20] = "";
AEGP_Command S_Zentrim_cmd = 0;

A_Err EntryPointFunc(struct SPBasicSuite* pica_basicP, A_long major_versionL, A_long minor_versionL,
                     AEGP_PluginID aegp_plugin_id, AEGP_GlobalRefcon* global_refconP) {
    sP = pica_basicP;
    S_my_id = aegp_plugin_id;
    return AtHostBoundary([] {
        A_Err err = A_Err_NONE;
        AEGP_SuiteHandler suites(sP);
        cropUtil::SprintOS(VERSION_NUMBER, sizeof VERSION_NUMBER, "%d.%d.%d", ZENTRIM_MAJOR_VERSION,
                           ZENTRIM_MINOR_VERSION, ZENTRIM_BUG_VERSION);

        ERR(suites.CommandSuite1()->AEGP_InsertMenuCommand(S_Zentrim_cmd, "-", AEGP_Menu_LAYER,
                                                           AEGP_MENU_INSERT_AT_BOTTOM));
        ERR(suites.CommandSuite1()->AEGP_GetUniqueCommand(&S_Zentrim_cmd));
        ERR(suites.CommandSuite1()->AEGP_InsertMenuCommand(
            S_Zentrim_cmd, GetStringPtr(StrID_Name), AEGP_Menu_LAYER, AEGP_MENU_INSERT_AT_BOTTOM));
        ERR(suites.RegisterSuite5()->AEGP_RegisterCommandHook(S_my_id, AEGP_HP_BeforeAE,
                                                              AEGP_Command_ALL, CommandHook, NULL));
        ERR(suites.RegisterSuite5()->AEGP_RegisterUpdateMenuHook(S_my_id, UpdateMenuHook, NULL));
        ERR(suites.RegisterSuite5()->AEGP_RegisterIdleHook(S_my_id, IdleHookCmd, NULL));
        if (err) {
            // The host hears of the failure once; the report's own error, or a missing utility
            // suite, must not replace it.
            (void)AtHostBoundary([&] {
                return suites.UtilitySuite5()->AEGP_ReportInfo(S_my_id,
                                                               GetStringPtr(StrID_GenericError));
            });
        }
        return err;
    });
}
