// What may follow a failed host call: the rules by which a fault sweep judges a plug-in's error
// chain, kept beside the call log whose records they judge.
#pragma once

#include <string>

namespace sim {

// Calls a plug-in still makes after a failure, by design: giving back what it holds (suites,
// stream values, streams, masks, render options, memory handles, collections, frames) and closing
// the undo group it opened.
bool givesBackOrCloses(const std::string& call);

// Whether a call (by its log name) acquires or releases a suite through the basic suite.
bool isSuiteAcquisition(const std::string& call);
bool isSuiteRelease(const std::string& call);

}  // namespace sim
