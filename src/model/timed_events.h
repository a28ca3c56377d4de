#pragma once

#include <cstddef>
#include <iterator>
#include <span>
#include <vector>

#include "model/midi_track_data.h"

namespace quillmar {

// An event with its absolute time: the sum of the deltas up to and including its own.
template <typename Event>
struct Timed {
  Ticks time;
  Event& event;
};

// The events in order with their absolute times, for
// `for (auto [time, event] : TimedEvents(track.Events()))`. An event's time is taken when the
// walk reaches it, so the body may change that event's delta (and later events keep the
// times they had).
template <typename Event>
class TimedEvents {
 public:
  explicit TimedEvents(std::span<Event> events) : events_(events) {}

  class Iterator {
   public:
    explicit Iterator(std::span<Event> events)
        : events_(events), time_(events.empty() ? 0 : events.front().delta) {}
    Timed<Event> operator*() const { return {time_, events_[index_]}; }
    Iterator& operator++() {
      if (++index_ < events_.size()) time_ += events_[index_].delta;
      return *this;
    }
    bool operator==(std::default_sentinel_t) const { return index_ >= events_.size(); }

   private:
    std::span<Event> events_;
    std::size_t index_ = 0;
    Ticks time_;
  };

  Iterator begin() const { return Iterator(events_); }
  std::default_sentinel_t end() const { return {}; }

 private:
  std::span<Event> events_;
};

template <typename Event>
TimedEvents(std::span<Event>) -> TimedEvents<Event>;

// The absolute time of each event.
inline std::vector<Ticks> AbsoluteTimes(std::span<const MusicEvent> events) {
  std::vector<Ticks> times;
  times.reserve(events.size());
  for (const auto [time, event] : TimedEvents(events)) times.push_back(time);
  return times;
}

}  // namespace quillmar
