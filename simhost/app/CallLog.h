// The record of every host call the plug-in makes, and the switch that makes a chosen call fail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "A.h"

namespace sim {

struct CallRecord {
    int index = 0;     // 0-based position among the calls since the log was last cleared
    std::string name;  // "AEGP_GetSize", "SPBasic.AcquireSuite"
    std::string args;  // key arguments, as text
    A_Err result = 0;
    bool injected = false;  // the result was forced by the fault plan
    std::string problem;    // protocol problems the host noticed (an undo end without a start, ...)
};

// Which call fails: the N-th call counted from the last clear, and/or every call of one name.
struct FaultPlan {
    int failAt = -1;
    std::string failName;
    A_Err error = A_Err_GENERIC;
    bool onlyOnce = true;  // with failName: only the first call of that name fails
};

class CallLog {
  public:
    // Starts a record; returns the error the fault plan forces for this call (0 for none).
    A_Err begin(const char* name);
    void setArgs(std::string args);
    void end(A_Err result);
    void problem(std::string what);  // attaches to the call in progress, or stands on its own

    const std::vector<CallRecord>& calls() const { return calls_; }
    std::vector<std::string> problems() const;
    void clear();

    // Called with every call when it has finished, whether it is recorded or not (a trace).
    std::function<void(const CallRecord&)> onCall;
    // Whether finished calls are kept in calls(); problems are kept either way. On by default.
    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }
    // Calls begun since the last clear, recorded or not.
    size_t callCount() const { return count_; }
    // Whether anyone reads a call's arguments (the record or the observer).
    bool wantsDetail() const { return recording_ || static_cast<bool>(onCall); }

    FaultPlan faults;

  private:
    void finished(size_t at);

    std::vector<CallRecord> calls_;
    bool recording_ = true;
    size_t count_ = 0;
    std::vector<int> open_;  // calls in progress; a hook run from a call nests inside it
    bool nameFaultUsed_ = false;
};

}  // namespace sim
