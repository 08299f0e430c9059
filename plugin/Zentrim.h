// The plug-in's shell: the entry point the host calls once, and the hooks it registers.
#pragma once

#include "AEConfig.h"
#include "AE_GeneralPlug.h"
#include "SPBasic.h"
#include "entry.h"

#define ZENTRIM_MAJOR_VERSION 3
#define ZENTRIM_MINOR_VERSION 2
#define ZENTRIM_BUG_VERSION 0

extern "C" {
DllExport A_Err EntryPointFunc(struct SPBasicSuite* pica_basicP, A_long major_versionL,
                               A_long minor_versionL, AEGP_PluginID aegp_plugin_id,
                               AEGP_GlobalRefcon* global_refconP);
}

A_Err CommandHook(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP,
                  AEGP_Command command, AEGP_HookPriority hook_priority, A_Boolean already_handledB,
                  A_Boolean* handledPB);
A_Err UpdateMenuHook(AEGP_GlobalRefcon plugin_refconP, AEGP_UpdateMenuRefcon refconP,
                     AEGP_WindowType active_window);
A_Err IdleHookCmd(AEGP_GlobalRefcon plugin_refconP, AEGP_IdleRefcon refconP, A_long* max_sleepPL);
