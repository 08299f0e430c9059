// Pass/fail counting for the Windows test host, printed as one closing line.
#pragma once

#include <string>

namespace wintest {

// Counts one check; a failing one is printed with what was expected.
bool check(bool ok, const std::string& what);
int passedCount();
int failedCount();

}  // namespace wintest
