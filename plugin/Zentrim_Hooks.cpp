// The hooks the entry point registers. The command hook claims nothing yet; the update-menu and
// idle hooks have nothing to do.
#include "Zentrim.h"
#include "Zentrim_Globals.h"

A_Err CommandHook(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP,
                  AEGP_Command command, AEGP_HookPriority hook_priority, A_Boolean already_handledB,
                  A_Boolean* handledPB) {
    return A_Err_NONE;
}

A_Err UpdateMenuHook(AEGP_GlobalRefcon plugin_refconP, AEGP_UpdateMenuRefcon refconP,
                     AEGP_WindowType active_window) {
    return A_Err_NONE;
}

A_Err IdleHookCmd(AEGP_GlobalRefcon plugin_refconP, AEGP_IdleRefcon refconP, A_long* max_sleepPL) {
    return A_Err_NONE;
}
