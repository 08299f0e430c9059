// The host call log and fault injection.
#include "CallLog.h"

namespace sim {

A_Err CallLog::begin(const char* name) {
    CallRecord r;
    r.index = static_cast<int>(count_++);
    r.name = name;
    bool fail = r.index == faults.failAt;
    if (!faults.failName.empty() && faults.failName == name &&
        !(faults.onlyOnce && nameFaultUsed_)) {
        fail = true;
        nameFaultUsed_ = true;
    }
    r.injected = fail;
    calls_.push_back(std::move(r));
    open_.push_back(static_cast<int>(calls_.size()) - 1);
    return fail ? faults.error : A_Err(0);
}

void CallLog::setArgs(std::string args) {
    if (!open_.empty()) calls_[open_.back()].args = std::move(args);
}

void CallLog::end(A_Err result) {
    if (open_.empty()) return;
    size_t at = static_cast<size_t>(open_.back());
    calls_[at].result = result;
    open_.pop_back();
    finished(at);
}

void CallLog::finished(size_t at) {
    if (onCall) onCall(calls_[at]);
    // Without recording, a finished call is dropped once no call is open around it (records
    // of open calls are still to be completed), unless the host noticed a problem in it.
    if (recording_ || !open_.empty()) return;
    std::vector<CallRecord> kept;
    for (CallRecord& r : calls_)
        if (!r.problem.empty()) kept.push_back(std::move(r));
    calls_ = std::move(kept);
}

void CallLog::problem(std::string what) {
    if (!open_.empty()) {
        calls_[open_.back()].problem = std::move(what);
        return;
    }
    CallRecord r;
    r.index = static_cast<int>(count_++);
    r.name = "(host)";
    r.problem = std::move(what);
    calls_.push_back(std::move(r));
    finished(calls_.size() - 1);
}

std::vector<std::string> CallLog::problems() const {
    std::vector<std::string> out;
    for (const CallRecord& r : calls_)
        if (!r.problem.empty()) out.push_back(r.name + ": " + r.problem);
    return out;
}

void CallLog::clear() {
    calls_.clear();
    count_ = 0;
    open_.clear();
    nameFaultUsed_ = false;
}

}  // namespace sim
