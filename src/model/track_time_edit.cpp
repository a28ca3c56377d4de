#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_errors.h"

namespace quillmar {
namespace {

constexpr int kSemitonesPerOctave = 12;
constexpr std::int64_t kHighestNote = 127;

bool IsInGateTimeForm(const MidiTrackData& track) {
  if (track.Form() == TrackForm::GateTimeForm) return true;
  ReportTrackError(track.Context(), kTrackInternalError);
  return false;
}

}  // namespace

bool MidiTrackData::InsertAtTime(Ticks time, MusicEvent event) {
  if (events_.size() >= kMaxEvents) {
    ReportTrackError(Context(), kTooMuchData);
    return false;
  }
  // A time before the start would give the event a negative delta.
  time = std::max<Ticks>(time, 0);
  const int last = std::max(Count() - 1, 0);
  Ticks sum = 0;
  for (int i = 0; i < last; ++i) {
    sum += Event(i).delta;
    if (sum < time) continue;
    event.delta = AddDeltas(time, -(sum - Event(i).delta));
    Event(i).delta = AddDeltas(sum, -time);
    if (!InsertAt(i, Place::Before, std::move(event))) return false;
    // Past the events already at this time, keeping the time grid of the slots.
    for (int at = i; at + 1 < Count(); ++at) {
      const MusicEvent& next = Event(at + 1);
      if (next.delta != 0 || next.IsMeta(MetaType::EndOfTrack)) break;
      SwapEvents(at, at + 1);
    }
    return true;
  }
  // Later than every event but the last: goes before the last, which keeps its time or moves
  // to `time` when it was earlier.
  event.delta = AddDeltas(time, -sum);
  if (!Empty()) Event(last).delta = std::max(AddDeltas(Event(last).delta, -event.delta), 0);
  return InsertAt(last, Place::Before, std::move(event));
}

void MidiTrackData::CutNotesAt(Ticks time) {
  if (!IsInGateTimeForm(*this)) return;
  Ticks start = 0;
  for (MusicEvent& event : events_) {
    start += event.delta;
    if (!event.IsNote() || start > time || start + event.gate <= time) continue;
    event.gate = static_cast<std::int32_t>(time - start);
    if (event.gate == 0) event.kind = EventKind::Removed;
  }
  PurgeRemoved();
}

void MidiTrackData::DeleteKindAfter(Ticks time, EventKind kind) {
  if (!IsInGateTimeForm(*this)) return;
  Ticks at = 0;
  for (MusicEvent& event : events_) {
    at += event.delta;
    if (event.kind == kind && at > time) event.kind = EventKind::Removed;
  }
  PurgeRemoved();
}

void MidiTrackData::Transpose(int octaves) {
  if (!IsInGateTimeForm(*this)) return;
  const std::int64_t shift = std::int64_t{kSemitonesPerOctave} * octaves;
  for (MusicEvent& event : events_) {
    if (!event.IsNote()) continue;
    event.note =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(event.note + shift, 0, kHighestNote));
  }
}

void MidiTrackData::ChangeChannel(std::int32_t from, std::int32_t to) {
  for (MusicEvent& event : events_) {
    if (event.channel == from) event.channel = to;
  }
}

}  // namespace quillmar
