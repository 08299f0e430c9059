// The sample project the demo crops: a logo drawn off-centre in a precomposition that a main
// composition uses.
#pragma once

#include <string>

namespace sim {

// Project file text of the sample (no footage needed).
std::string demoProjectText();

}  // namespace sim
