// The suite handler's failure: a suite the host cannot provide ends the current host call.
#include "AEGP_SuiteHandler.h"

void AEGP_SuiteHandler::MissingSuiteError() const {
    throw static_cast<A_Err>(kMissingSuiteError);
}
