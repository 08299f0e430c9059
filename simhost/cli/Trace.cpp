// The trace file: one line per host call, with the suite the call log recorded for it.
#include "Trace.h"

namespace sim {

namespace {

std::string errorName(A_Err err) {
    switch (err) {
        case A_Err_NONE:
            return "ok";
        case A_Err_GENERIC:
            return "A_Err_GENERIC";
        case A_Err_STRUCT:
            return "A_Err_STRUCT";
        case A_Err_PARAMETER:
            return "A_Err_PARAMETER";
        case A_Err_ALLOC:
            return "A_Err_ALLOC";
        case A_Err_MISSING_SUITE:
            return "A_Err_MISSING_SUITE";
        default:
            return "";
    }
}

}  // namespace

std::string suiteOfCall(const CallRecord& call) {
    return *call.suite ? call.suite : "?";
}

std::string traceLine(size_t number, const CallRecord& call) {
    std::string function = call.name;
    if (function.rfind("SPBasic.", 0) == 0) function = function.substr(8);
    std::string line = std::to_string(number) + " " + suiteOfCall(call) + " " + function + "(" +
                       call.args + ") -> " + std::to_string(call.result);
    std::string name = errorName(call.result);
    if (!name.empty()) line += " " + name;
    if (call.injected) line += " (injected)";
    if (!call.problem.empty()) line += " ! " + call.problem;
    return line;
}

TraceWriter::TraceWriter(const std::string& path)
    : file_(std::make_unique<AtomicFileWriter>(path)) {
    std::fputs(
        "# zentrim-host trace: every host call the plug-in made, one line each when it returns "
        "(a call made\n# inside another, such as the command hook's calls under AEGP_DoCommand, "
        "comes before it):\n# number, suite, function(key arguments) -> result\n",
        file_->file());
}

void TraceWriter::call(const CallRecord& call) {
    std::string line = traceLine(++count_, call) + "\n";
    std::fputs(line.c_str(), file_->file());
}

void TraceWriter::step(const std::string& name) {
    std::string line = "== " + name + "\n";
    std::fputs(line.c_str(), file_->file());
}

void TraceWriter::commit() {
    file_->commit();
}

}  // namespace sim
