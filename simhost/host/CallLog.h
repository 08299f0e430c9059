// The record of the host calls the plug-in makes, and the switch that makes a chosen call fail.
// Counting is always on and costs next to nothing; the full record, and the text of each call's
// arguments, only when asked for (tests keep it, zentrim-host and the benchmarks do not).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "A.h"

namespace sim {

struct CallRecord {
    int index = 0;  // 0-based position among the calls since the log was last cleared
    // The suite the call came through ("CompSuite", "SPBasic"); "host" for a note of the host's
    // own, "" when not known (a suite member the simulator does not provide).
    const char* suite = "";
    std::string name;  // "AEGP_GetSize", "SPBasic.AcquireSuite"; "(host)" for a note of its own
    std::string args;  // key arguments, as text
    A_Err result = 0;
    bool injected = false;  // the result was forced by the fault plan
    std::string problem;    // protocol problems the host noticed (an undo end without a start, ...)
};

// Names the suite of the calls made while it lives: the entry points of each suite table (and the
// basic suite's) open one for the length of their call, and the log records its name with the call.
class SuiteScope {
  public:
    explicit SuiteScope(const char* suite) : outer_(current_) { current_ = suite; }
    ~SuiteScope() { current_ = outer_; }
    SuiteScope(const SuiteScope&) = delete;
    SuiteScope& operator=(const SuiteScope&) = delete;
    static const char* current() { return current_; }

  private:
    const char* outer_;
    inline static thread_local const char* current_ = "";
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
    static constexpr size_t kMaxProblems = 1000;  // problems kept; the rest are only counted

    // Starts a call; returns the error the fault plan forces for it (0 for none). `name` must stay
    // valid until the call ends (the suites pass string literals).
    A_Err begin(const char* name);
    void setArgs(std::string args);  // dropped unless wantsDetail()
    void end(A_Err result);
    // A problem attaches to the call in progress, or stands on its own as a "(host)" entry, which
    // takes a position among the calls like a call does. Always kept (up to kMaxProblems).
    void problem(std::string what);

    // Entries since the last clear: calls, recorded or not, and "(host)" notes. failAt counts
    // these.
    size_t callCount() const { return count_; }

    // Whether every entry is kept in calls(). On by default (tests read the record).
    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }
    // The entries kept while recording, in the order the calls began (a call made from inside
    // another one, such as a hook run by AEGP_DoCommand, comes after it).
    const std::vector<CallRecord>& calls() const { return calls_; }

    // Called with every finished entry, recorded or not: calls in the order they end (a nested call
    // before the call around it), each with its index, name, arguments, result and problem.
    std::function<void(const CallRecord&)> onCall;
    // Whether the arguments' text is wanted: recording, or an observer set.
    bool wantsDetail() const { return recording_ || static_cast<bool>(onCall); }

    // "name: problem" for each problem kept, oldest first; when more were noticed than kept, a last
    // line says how many more.
    std::vector<std::string> problems() const;
    size_t problemCount() const { return problemCount_; }

    // Forgets the entries, counts and problems (not the fault plan, recording or observer).
    void clear();

    FaultPlan faults;

  private:
    enum class Keep : uint8_t { Recorded, Pending, Counted };
    struct Open {
        const char* name;
        size_t index;  // position among the calls
        Keep keep;
        size_t slot;  // Recorded: in calls_; Pending: in pending_
    };
    void finish(CallRecord& record);
    void noteProblem(const std::string& name, const std::string& what);

    size_t count_ = 0;
    bool recording_ = true;
    std::vector<CallRecord> calls_;
    std::vector<CallRecord> pending_;  // open calls not recorded but observed
    std::vector<Open> open_;           // calls in progress, innermost last
    std::vector<std::string> problems_;
    size_t problemCount_ = 0;
    bool nameFaultUsed_ = false;
};

}  // namespace sim
