// The shell's process-wide state, shared by the entry point and the hooks.
#pragma once

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

extern SPBasicSuite* sP;            // the host's basic suite, from the entry point
extern AEGP_PluginID S_my_id;       // this plug-in's id
extern char VERSION_NUMBER[20];     // "3.2.0"
extern AEGP_Command S_Zentrim_cmd;  // the menu command the host handed out

// Which action the command stands for (all false: the standard crop). At most one is set.
extern bool cropDurationActive, maskCropActive, preferencesActive;
// Whether each crop can run on the current selection, from the latest menu update.
extern bool zentrimStandard, zentrimDuration, maskCrop;
// String index of the name shown in duration mode: "Zentrim Duration" or "Multiple layers not
// allowed".
extern A_short durationMenuNameIndex;
// True until the duration crop has run once in this host session.
extern bool registerClass;
