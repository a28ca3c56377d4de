#include "model/sounding_timeline.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>
#include <unordered_set>

namespace quillmar {
namespace {

struct Sounding {
  Ticks end;
  std::int64_t key;  // channel and note number
  bool operator>(const Sounding& other) const { return end > other.end; }
};

std::int64_t NoteKey(const MusicEvent& note) {
  return (std::int64_t{note.channel} << 32) | static_cast<std::uint32_t>(note.note);
}

// Collects the changes: counts taken at an event keep the highest of their tick; a fall
// where notes end between events replaces the count of its tick, unless that tick held an
// event (only a note of gate 0 can end there after the fact).
class ChangeList {
 public:
  void Sample(Ticks tick, int notes) {
    if (!changes_.empty() && changes_.back().tick == tick) {
      changes_.back().notes = std::max(changes_.back().notes, notes);
    } else if (Current() != notes) {
      changes_.push_back({tick, notes});
    }
    sampled_tick_ = tick;
  }
  void Fall(Ticks tick, int notes) {
    if (tick == sampled_tick_) return;
    if (!changes_.empty() && changes_.back().tick == tick) {
      changes_.back().notes = notes;
    } else if (Current() != notes) {
      changes_.push_back({tick, notes});
    }
  }
  std::vector<SoundingChange> Take() { return std::move(changes_); }

 private:
  int Current() const { return changes_.empty() ? 0 : changes_.back().notes; }

  std::vector<SoundingChange> changes_;
  Ticks sampled_tick_ = -1;
};

}  // namespace

std::vector<SoundingChange> SoundingTimeline(const MidiTrackData& track, NoteJoining joining) {
  const bool one_per_key = joining == NoteJoining::OnePerKey;
  std::priority_queue<Sounding, std::vector<Sounding>, std::greater<>> sounding;
  std::unordered_set<std::int64_t> sounding_keys;
  ChangeList changes;
  auto end_notes_until = [&](Ticks time) {
    while (!sounding.empty() && sounding.top().end <= time) {
      const Sounding ended = sounding.top();
      sounding.pop();
      if (one_per_key) sounding_keys.erase(ended.key);
      // Notes ending exactly at `time` are counted by the event there.
      if (ended.end < time) changes.Fall(ended.end, static_cast<int>(sounding.size()));
    }
  };
  Ticks time = 0;
  for (const MusicEvent& event : track.Events()) {
    time += event.delta;
    end_notes_until(time);
    if (event.kind == EventKind::Note) {
      const std::int64_t key = NoteKey(event);
      if (!one_per_key || sounding_keys.insert(key).second) {
        sounding.push({time + event.gate, key});
      }
    }
    changes.Sample(time, static_cast<int>(sounding.size()));
  }
  while (!sounding.empty()) {
    const Sounding ended = sounding.top();
    sounding.pop();
    changes.Fall(ended.end, static_cast<int>(sounding.size()));
  }
  return changes.Take();
}

int PeakOf(const std::vector<SoundingChange>& timeline) {
  int peak = 0;
  for (const SoundingChange& change : timeline) peak = std::max(peak, change.notes);
  return peak;
}

}  // namespace quillmar
