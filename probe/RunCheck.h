// The Host Check's command: every check inside one undo step, everything made removed again, and
// the report written where the user finds it.
#pragma once

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

namespace hostcheck {

// Runs the command. Returns the host's error when the checks could not start or the report could
// not be handed to the host; a check the host refuses is an outcome, reported, not an error.
A_Err runHostCheck(SPBasicSuite* basic, AEGP_PluginID id);

}  // namespace hostcheck
