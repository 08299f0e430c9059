// Pass/fail counting for the Windows test host.
#include "Checks.h"

#include <cstdio>

namespace wintest {

namespace {
int g_passed = 0;
int g_failed = 0;
}  // namespace

bool check(bool ok, const std::string& what) {
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAIL: %s\n", what.c_str());
        std::fflush(stdout);
    }
    return ok;
}

int passedCount() {
    return g_passed;
}
int failedCount() {
    return g_failed;
}

}  // namespace wintest
