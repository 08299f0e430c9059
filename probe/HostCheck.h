// The Zentrim Host Check: a general plug-in of its own, beside Zentrim, with one command at the
// bottom of the File menu that checks how this host behaves where its documentation is silent.
#pragma once

#include "AEConfig.h"
#include "AE_GeneralPlug.h"
#include "SPBasic.h"
#include "entry.h"

extern "C" {
DllExport A_Err EntryPointFunc(struct SPBasicSuite* pica_basicP, A_long major_versionL,
                               A_long minor_versionL, AEGP_PluginID aegp_plugin_id,
                               AEGP_GlobalRefcon* global_refconP);
}
