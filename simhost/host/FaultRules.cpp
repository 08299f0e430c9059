// The calls that may follow a failed host call.
#include "FaultRules.h"

#include <set>

namespace sim {

bool givesBackOrCloses(const std::string& call) {
    static const std::set<std::string> names = {"SPBasic.ReleaseSuite", "AEGP_DisposeStreamValue",
                                                "AEGP_DisposeStream",   "AEGP_DisposeMask",
                                                "AEGP_Dispose",         "AEGP_FreeMemHandle",
                                                "AEGP_UnlockMemHandle", "AEGP_DisposeCollection",
                                                "AEGP_CheckinFrame",    "AEGP_EndUndoGroup"};
    return names.count(call) > 0;
}

bool isSuiteAcquisition(const std::string& call) {
    return call == "SPBasic.AcquireSuite";
}

bool isSuiteRelease(const std::string& call) {
    return call == "SPBasic.ReleaseSuite";
}

}  // namespace sim
