// The host call log and fault injection.
#include "CallLog.h"

namespace sim {

A_Err CallLog::begin(const char* name) {
    CallRecord r;
    r.index = static_cast<int>(calls_.size());
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
    calls_[open_.back()].result = result;
    open_.pop_back();
}

void CallLog::problem(std::string what) {
    if (!open_.empty()) {
        calls_[open_.back()].problem = std::move(what);
        return;
    }
    CallRecord r;
    r.index = static_cast<int>(calls_.size());
    r.name = "(host)";
    r.problem = std::move(what);
    calls_.push_back(std::move(r));
}

std::vector<std::string> CallLog::problems() const {
    std::vector<std::string> out;
    for (const CallRecord& r : calls_)
        if (!r.problem.empty()) out.push_back(r.name + ": " + r.problem);
    return out;
}

void CallLog::clear() {
    calls_.clear();
    open_.clear();
    nameFaultUsed_ = false;
}

}  // namespace sim
