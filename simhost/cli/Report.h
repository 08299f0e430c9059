// What a session did, as text for a person or JSON for a program (zentrim-host run --json).
#pragma once

#include <iosfwd>
#include <string>

#include "Session.h"

namespace sim {

std::string reportJson(const SessionReport& report);
void printReport(const SessionReport& report, std::ostream& out);

}  // namespace sim
