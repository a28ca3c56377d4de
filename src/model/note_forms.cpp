#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <span>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_errors.h"
#include "model/timed_events.h"

namespace quillmar {
namespace {

constexpr std::int32_t kNoteOffVelocity = 64;

std::int32_t LimitedGate(Ticks length) {
  return static_cast<std::int32_t>(std::clamp<Ticks>(
      length, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Turns every NoteOn into a Note and gives it the length up to the first later NoteOff of the
// same channel and note that no earlier NoteOn took. Scanning in time order with a queue of
// waiting NoteOns per channel and note pairs exactly as searching forward from each NoteOn
// would: a NoteOff always closes the oldest waiting NoteOn of its key.
void PairNoteOffs(std::span<MusicEvent> events) {
  const std::vector<Ticks> times = AbsoluteTimes(events);
  // The waiting NoteOns of one key form a queue linked through `next_waiting`. Keys of
  // channels 0..15 have fixed places; any other channel or note gets one on first use.
  constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  constexpr std::int64_t kCommonKeys = 16 * 128;
  struct Queue {
    std::size_t head = kNone;
    std::size_t tail = kNone;
  };
  std::vector<Queue> queues(kCommonKeys);
  std::unordered_map<std::int64_t, std::size_t> other_keys;
  std::vector<std::size_t> next_waiting(events.size(), kNone);
  auto queue_of = [&](const MusicEvent& event) -> Queue& {
    if (event.channel >= 0 && event.channel < 16 && event.note >= 0 && event.note < 128) {
      return queues[static_cast<std::size_t>(event.channel * 128 + event.note)];
    }
    const std::int64_t key =
        (static_cast<std::int64_t>(event.channel) << 32) ^ static_cast<std::uint32_t>(event.note);
    const auto [at, added] = other_keys.try_emplace(key, queues.size());
    if (added) queues.emplace_back();
    return queues[at->second];
  };
  for (std::size_t i = 0; i < events.size(); ++i) {
    MusicEvent& event = events[i];
    if (event.IsNoteOn()) {
      event.kind = EventKind::Note;
      Queue& queue = queue_of(event);
      (queue.tail == kNone ? queue.head : next_waiting[queue.tail]) = i;
      queue.tail = i;
    } else if (event.IsNoteOff()) {
      Queue& queue = queue_of(event);
      if (queue.head == kNone) continue;
      const std::size_t on = queue.head;
      queue.head = next_waiting[on];
      if (queue.head == kNone) queue.tail = kNone;
      events[on].gate = LimitedGate(times[i] - times[on]);
    }
  }
}

// A NoteOff still to be placed by ToOnOffForm.
struct PendingNoteOff {
  std::size_t slot;   // index of the event it goes before; the event count for the end
  bool zero_gate;     // placed right before its own note-on, after the others of its slot
  Ticks end;          // its absolute time
  std::size_t owner;  // index of its note
  std::int32_t channel;
  std::int32_t note;

  // Within a slot the note-offs stand in time order; at equal times the note-off of the later
  // note comes first, since each one is placed before everything already at its time.
  bool operator<(const PendingNoteOff& other) const {
    return std::tie(slot, zero_gate, end, other.owner) <
           std::tie(other.slot, other.zero_gate, other.end, owner);
  }
};

MusicEvent MakeNoteOff(const PendingNoteOff& pending) {
  MusicEvent event;
  event.kind = EventKind::NoteOff;
  event.channel = pending.channel;
  event.note = pending.note;
  event.velocity = kNoteOffVelocity;
  return event;
}

// Turns every Note into a NoteOn and lists its NoteOff. A note-off goes before the first
// event after its note whose time reaches the note's end (the events of a track are in time
// order), or to the end of the track. Note-offs that would overfill the table are refused.
std::vector<PendingNoteOff> ListNoteOffs(const ModelContext& context, std::span<MusicEvent> events,
                                         std::span<const Ticks> times) {
  // The latest time reached up to each event: the event's own time in a track without
  // negative deltas, and sorted in any track, so that the binary search is always sound.
  std::vector<Ticks> reached(times.size());
  std::partial_sum(times.begin(), times.end(), reached.begin(),
                   [](Ticks a, Ticks b) { return std::max(a, b); });
  const std::size_t room =
      events.size() < MidiTrackData::kMaxEvents ? MidiTrackData::kMaxEvents - events.size() : 0;
  std::vector<PendingNoteOff> pending;
  for (std::size_t i = 0; i < events.size(); ++i) {
    MusicEvent& event = events[i];
    if (!event.IsNote()) continue;
    event.kind = EventKind::NoteOn;
    Ticks gate = std::exchange(event.gate, 0);
    if (gate <= 0) {
      ReportTrackError(context, kTrackInternalError);
      gate = 0;
    }
    if (pending.size() == room) {
      ReportTrackError(context, kTooMuchData);
      continue;
    }
    const Ticks end = times[i] + gate;
    const std::size_t slot =
        gate == 0 ? i
                  : static_cast<std::size_t>(
                        std::lower_bound(reached.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                         reached.end(), end) -
                        reached.begin());
    pending.push_back({slot, gate == 0, end, i, event.channel, event.note});
  }
  std::sort(pending.begin(), pending.end());
  return pending;
}

}  // namespace

void MidiTrackData::ToGateTimeForm() {
  if (form_ != TrackForm::OnOffForm) {
    ReportTrackError(Context(), kTrackInternalError);
    return;
  }
  PairNoteOffs(events_);
  for (MusicEvent& event : events_) {
    if (!event.IsNote()) continue;
    if (event.gate == 0) event.kind = EventKind::Removed;
    if (event.gate < 0) ReportTrackError(Context(), kTrackInternalError);
  }
  RemoveIf([](const MusicEvent& event) { return event.IsNoteOff(); });
  PurgeRemoved();
  form_ = TrackForm::GateTimeForm;
}

void MidiTrackData::ToOnOffForm() {
  if (form_ != TrackForm::GateTimeForm) {
    ReportTrackError(Context(), kTrackInternalError);
    return;
  }
  const std::vector<Ticks> times = AbsoluteTimes(events_);
  const std::vector<PendingNoteOff> note_offs = ListNoteOffs(Context(), events_, times);

  std::vector<MusicEvent> expanded;
  std::vector<Ticks> expanded_times;
  expanded.reserve(events_.size() + note_offs.size());
  expanded_times.reserve(events_.size() + note_offs.size());
  auto next_off = note_offs.begin();
  for (std::size_t i = 0; i <= events_.size(); ++i) {
    for (; next_off != note_offs.end() && next_off->slot == i; ++next_off) {
      expanded.push_back(MakeNoteOff(*next_off));
      expanded_times.push_back(next_off->end);
    }
    if (i == events_.size()) break;
    expanded.push_back(std::move(events_[i]));
    expanded_times.push_back(times[i]);
  }

  // The first EndOfTrack moves to the end, at the time of the last event.
  const auto end_of_track = std::find_if(expanded.begin(), expanded.end(), [](const auto& e) {
    return e.IsMeta(MetaType::EndOfTrack);
  });
  if (end_of_track != expanded.end() && end_of_track + 1 != expanded.end()) {
    const auto at = end_of_track - expanded.begin();
    std::rotate(end_of_track, end_of_track + 1, expanded.end());
    std::rotate(expanded_times.begin() + at, expanded_times.begin() + at + 1, expanded_times.end());
    expanded_times.back() = expanded_times[expanded_times.size() - 2];
  }

  Ticks previous = 0;
  for (std::size_t i = 0; i < expanded.size(); ++i) {
    expanded[i].delta = AddDeltas(expanded_times[i], -previous);
    previous = expanded_times[i];
  }
  events_ = std::move(expanded);
  form_ = TrackForm::OnOffForm;
}

void MidiTrackData::PurgeRemoved() {
  // The delta of the Removed events just passed, added step by step as deleting them one at a
  // time would, so that every intermediate negative sum is reported.
  std::optional<std::int32_t> carried;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < events_.size(); ++i) {
    MusicEvent& event = events_[i];
    if (carried) {
      event.delta = AddDeltas(event.delta, *carried);
      if (event.delta < 0) ReportTrackError(Context(), kTrackInternalError);
    }
    if (event.kind == EventKind::Removed) {
      carried = event.delta;
      continue;
    }
    carried.reset();
    if (kept != i) events_[kept] = std::move(event);
    ++kept;
  }
  events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(kept), events_.end());
}

}  // namespace quillmar
