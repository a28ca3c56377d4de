#include "model/sounding_timeline.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quillmar {
namespace {

// Collects the changes. The counts taken at the events of one tick stand there as their
// highest; from the next tick the count after the tick's last event stands. A note of gate 0
// is taken at its tick and ends after the fact: it falls one tick later. A fall where notes
// end between events stands at its tick. An entry equal to the one before is none.
class ChangeList {
 public:
  void Sample(Ticks tick, int notes) {
    if (!pending_ || tick != sampled_tick_) {
      Commit();
      sampled_tick_ = tick;
      highest_ = notes;
      pending_ = true;
    }
    highest_ = std::max(highest_, notes);
    last_ = notes;
  }
  void Fall(Ticks tick, int notes) {
    Commit();
    Push(tick == sampled_tick_ ? tick + 1 : tick, notes);
  }
  std::vector<SoundingChange> Take() {
    Commit();
    return std::move(changes_);
  }

 private:
  void Commit() {
    if (!pending_) return;
    pending_ = false;
    Push(sampled_tick_, highest_);
    if (last_ < highest_) Push(sampled_tick_ + 1, last_);
  }
  void Push(Ticks tick, int notes) {
    if (!changes_.empty() && changes_.back().tick == tick) changes_.pop_back();
    const int current = changes_.empty() ? 0 : changes_.back().notes;
    if (notes != current) changes_.push_back({tick, notes});
  }

  std::vector<SoundingChange> changes_;
  Ticks sampled_tick_ = -1;
  int highest_ = 0;  // the most counted at the sampled tick
  int last_ = 0;     // the count after its last event so far
  bool pending_ = false;
};

// The most counted at any event: the timeline's peak, without the timeline.
class PeakOnly {
 public:
  void Sample(Ticks, int notes) { peak_ = std::max(peak_, notes); }
  void Fall(Ticks, int) {}
  int Peak() const { return peak_; }

 private:
  int peak_ = 0;
};

// Walks the track keeping the notes that still sound, ordered by their end times, and tells
// `changes` each count taken at an event and each fall between events.
template <typename Changes>
void WalkSounding(const MidiTrackData& track, NoteJoining joining, Changes& changes) {
  SoundingNotes sounding(joining);
  Ticks time = 0;
  for (const MusicEvent& event : track.Events()) {
    time += event.delta;
    sounding.EndUntil(time, [&](Ticks end, int count) {
      // Notes ending exactly at `time` are counted by the event there.
      if (end < time) changes.Fall(end, count);
    });
    if (event.IsNote() && sounding.Joins(event.channel, event.note)) {
      sounding.Join(time + event.gate, event.channel, event.note);
    }
    changes.Sample(time, sounding.Count());
  }
  sounding.EndUntil(std::numeric_limits<Ticks>::max(),
                    [&](Ticks end, int count) { changes.Fall(end, count); });
}

}  // namespace

std::vector<SoundingChange> SoundingTimeline(const MidiTrackData& track, NoteJoining joining) {
  ChangeList changes;
  WalkSounding(track, joining, changes);
  return changes.Take();
}

int PeakSounding(const MidiTrackData& track, NoteJoining joining) {
  PeakOnly peak;
  WalkSounding(track, joining, peak);
  return peak.Peak();
}

int PeakOf(const std::vector<SoundingChange>& timeline) {
  int peak = 0;
  for (const SoundingChange& change : timeline) peak = std::max(peak, change.notes);
  return peak;
}

}  // namespace quillmar
