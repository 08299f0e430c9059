// The shell's process-wide state, shared by the entry point and the hooks.
#pragma once

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

extern SPBasicSuite* sP;            // the host's basic suite, from the entry point
extern AEGP_PluginID S_my_id;       // this plug-in's id
extern char VERSION_NUMBER[20];     // "3.2.0"
extern AEGP_Command S_Zentrim_cmd;  // the menu command the host handed out
