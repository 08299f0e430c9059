// The verbs that drive the plug-in; they arrive with the command dispatch.
#include <ostream>

#include "Commands.h"

namespace sim {

int runCommand(const CliOptions&, std::ostream&) {
    throw BadInput("run: driving the plug-in's command is not available in this build yet");
}
int menuCommand(const CliOptions&, std::ostream&) {
    throw BadInput("menu: driving the plug-in's menu is not available in this build yet");
}
int demoCommand(const CliOptions&, std::ostream&) {
    throw BadInput("demo: the demo arrives with the plug-in's command dispatch");
}

}  // namespace sim
