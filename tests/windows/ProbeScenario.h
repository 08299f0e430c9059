// The Zentrim Host Check in the Windows test host: the built ZentrimHostCheck.aex loaded beside
// Zentrim.aex, its command chosen from the File menu as a user would.
#pragma once

#include <string>

#include "Scenarios.h"

namespace wintest {

void runProbeScenario(Bench& bench, const std::string& probePath);

}  // namespace wintest
