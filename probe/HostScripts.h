// Scripts the Host Check hands to the host's scripting engine, and the text they are built from.
#pragma once

#include <string>

#include "Probe.h"

namespace hostcheck {

// Runs a script (UTF-8). Gives the host's return code; `result` and `error` (either may be null)
// receive the texts the host handed back, empty when it handed none.
A_Err runScript(const Probe& p, const std::string& script, std::string* result, std::string* error);

// `text` as the inside of a single-quoted script string: quotes, backslashes and control
// characters escaped, so that no text can end the string or the script's line.
std::string scriptString(const std::string& text);

}  // namespace hostcheck
