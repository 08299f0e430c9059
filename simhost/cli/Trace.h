// zentrim-host run --trace FILE: every host call the plug-in made, one line each, as it happens.
#pragma once

#include <memory>
#include <string>

#include "AtomicFile.h"
#include "CallLog.h"

namespace sim {

// The suite the call came through, as the call log recorded it ("CompSuite" for
// "AEGP_GetCompFromItem", "SPBasic" for "SPBasic.AcquireSuite", "host" for the host's own note);
// "?" when it is not known (a suite member the simulator does not provide).
std::string suiteOfCall(const CallRecord& call);

// "12 CompSuite AEGP_GetCompFromItem(Logo) -> 0", with the error's name, "(injected)" for a fault
// the plan forced and "! <problem>" for what the host noticed.
std::string traceLine(size_t number, const CallRecord& call);

// Streams the lines into a temporary file beside the trace's path; commit() puts it in place, so
// a run that fails before its end leaves no half-written trace.
class TraceWriter {
  public:
    explicit TraceWriter(const std::string& path);
    void call(const CallRecord& call);
    void step(const std::string& name);  // "== menu update"
    void commit();

  private:
    std::unique_ptr<AtomicFileWriter> file_;
    size_t count_ = 0;
};

}  // namespace sim
