// What the plug-in asked of the progress display: counts of every kind always, and the events
// themselves up to a fixed number, so that a long run's record stays the same size.
#pragma once

#include <cstddef>
#include <vector>

namespace sim {

struct ProgressEvent {
    enum Kind { Open, Percent, Close } kind;
    int value = 0;  // Percent: the percent; Open: 1 when the plug-in said it is its first run
};

class ProgressRecord {
  public:
    // Events kept: the first ones of a run (a 10,000-frame crop over a duration keeps them all).
    static constexpr size_t kMaxEvents = 10000;

    void add(const ProgressEvent& e) {
        if (e.kind == ProgressEvent::Open) ++opens_;
        if (e.kind == ProgressEvent::Close) ++closes_;
        if (e.kind == ProgressEvent::Percent) {
            ++percents_;
            lastPercent_ = e.value;
        }
        if (events_.size() < kMaxEvents) events_.push_back(e);
        last_ = e;
    }
    void clear() { *this = ProgressRecord(); }

    size_t opens() const { return opens_; }
    size_t closes() const { return closes_; }
    size_t percentUpdates() const { return percents_; }
    int lastPercent() const { return lastPercent_; }  // 0 before the first update
    size_t total() const { return opens_ + closes_ + percents_; }
    size_t dropped() const { return total() - events_.size(); }

    // The events kept, oldest first, read like a vector; back() is the newest event of all, kept
    // or not (a run that was cut short still shows how it ended).
    const std::vector<ProgressEvent>& events() const { return events_; }
    bool empty() const { return total() == 0; }
    size_t size() const { return events_.size(); }
    std::vector<ProgressEvent>::const_iterator begin() const { return events_.begin(); }
    std::vector<ProgressEvent>::const_iterator end() const { return events_.end(); }
    const ProgressEvent& front() const { return events_.front(); }
    const ProgressEvent& back() const { return last_; }

  private:
    std::vector<ProgressEvent> events_;
    ProgressEvent last_{ProgressEvent::Close, 0};
    size_t opens_ = 0, closes_ = 0, percents_ = 0;
    int lastPercent_ = 0;
};

}  // namespace sim
