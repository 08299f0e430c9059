// The host call log: counts, the optional record and observer, problems, and fault injection.
#include "CallLog.h"

#include <cstring>
#include <utility>

namespace sim {

A_Err CallLog::begin(const char* name) {
    const size_t index = count_++;
    bool fail = faults.failAt >= 0 && index == static_cast<size_t>(faults.failAt);
    if (!faults.failName.empty() && !(faults.onlyOnce && nameFaultUsed_) &&
        std::strcmp(faults.failName.c_str(), name) == 0) {
        fail = true;
        nameFaultUsed_ = true;
    }
    Open open{name, index, Keep::Counted, 0};
    if (recording_ || onCall) {
        CallRecord r;
        r.index = static_cast<int>(index);
        r.name = name;
        r.suite = SuiteScope::current();
        r.injected = fail;
        if (recording_) {
            open.keep = Keep::Recorded;
            open.slot = calls_.size();
            calls_.push_back(std::move(r));
        } else {
            open.keep = Keep::Pending;
            open.slot = pending_.size();
            pending_.push_back(std::move(r));
        }
    }
    open_.push_back(open);
    return fail ? faults.error : A_Err(0);
}

void CallLog::setArgs(std::string args) {
    if (open_.empty()) return;
    const Open& o = open_.back();
    if (o.keep == Keep::Recorded)
        calls_[o.slot].args = std::move(args);
    else if (o.keep == Keep::Pending)
        pending_[o.slot].args = std::move(args);
}

void CallLog::finish(CallRecord& record) {
    if (onCall) onCall(record);
}

void CallLog::end(A_Err result) {
    if (open_.empty()) return;
    const Open o = open_.back();
    open_.pop_back();
    if (o.keep == Keep::Recorded) {
        calls_[o.slot].result = result;
        finish(calls_[o.slot]);
    } else if (o.keep == Keep::Pending) {
        CallRecord r = std::move(pending_[o.slot]);
        pending_.pop_back();  // the innermost open call is the last pending one
        r.result = result;
        finish(r);
    }
}

void CallLog::noteProblem(const std::string& name, const std::string& what) {
    if (problemCount_++ < kMaxProblems) problems_.push_back(name + ": " + what);
}

void CallLog::problem(std::string what) {
    if (!open_.empty()) {
        const Open& o = open_.back();
        noteProblem(o.name, what);
        if (o.keep == Keep::Recorded)
            calls_[o.slot].problem = std::move(what);
        else if (o.keep == Keep::Pending)
            pending_[o.slot].problem = std::move(what);
        return;
    }
    CallRecord r;
    r.index = static_cast<int>(count_++);
    r.name = "(host)";
    r.suite = "host";
    noteProblem(r.name, what);
    r.problem = std::move(what);
    if (recording_) {
        calls_.push_back(std::move(r));
        finish(calls_.back());
    } else {
        finish(r);
    }
}

std::vector<std::string> CallLog::problems() const {
    std::vector<std::string> out = problems_;
    if (problemCount_ > problems_.size())
        out.push_back("(host): " + std::to_string(problemCount_ - problems_.size()) +
                      " more problems were noticed and not kept");
    return out;
}

void CallLog::clear() {
    calls_.clear();
    pending_.clear();
    open_.clear();
    problems_.clear();
    problemCount_ = 0;
    count_ = 0;
    nameFaultUsed_ = false;
}

}  // namespace sim
