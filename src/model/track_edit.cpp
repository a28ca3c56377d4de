#include "model/midi_track_data.h"

#include <utility>

#include "model/model_errors.h"

namespace quillmar {

bool MidiTrackData::Append(MusicEvent event) {
  if (events_.size() >= kMaxEvents) {
    ReportTrackError(Context(), kTooMuchData);
    return false;
  }
  events_.push_back(std::move(event));
  return true;
}

void MidiTrackData::AppendEndOfTrack(std::int32_t delta) {
  if (!events_.empty() && events_.back().IsMeta(MetaType::EndOfTrack)) return;
  // A full track has reported TooMuchData and stays without its end.
  static_cast<void>(Append(MakeEndOfTrack(delta)));
}

bool MidiTrackData::InsertAt(int index, Place place, MusicEvent event) {
  const int slot = place == Place::Before ? index : index + 1;
  if (slot < 0 || slot > Count()) {
    ReportTrackError(Context(), kTrackInternalError);
    return false;
  }
  if (events_.size() >= kMaxEvents) {
    ReportTrackError(Context(), kTooMuchData);
    return false;
  }
  events_.insert(events_.begin() + slot, std::move(event));
  return true;
}

void MidiTrackData::DeleteAt(int index) {
  if (index < 0 || index >= Count()) {
    ReportTrackError(Context(), kTrackInternalError);
    return;
  }
  const auto at = static_cast<std::size_t>(index);
  if (at + 1 < events_.size()) {
    events_[at + 1].delta = AddDeltas(events_[at + 1].delta, events_[at].delta);
  }
  events_.erase(events_.begin() + index);
}

std::vector<MusicEvent> MidiTrackData::TakeEvents() {
  return std::exchange(events_, {});
}

void MidiTrackData::SetEvents(std::vector<MusicEvent> events) {
  if (events.size() > kMaxEvents) {
    ReportTrackError(Context(), kTooMuchData);
    std::int64_t dropped = 0;
    for (std::size_t i = kMaxEvents - 1; i + 1 < events.size(); ++i) dropped += events[i].delta;
    events.back().delta = AddDeltas(events.back().delta, dropped);
    std::swap(events[kMaxEvents - 1], events.back());
    events.erase(events.begin() + static_cast<std::ptrdiff_t>(kMaxEvents), events.end());
  }
  events_ = std::move(events);
}

void MidiTrackData::RemoveInnerEndOfTrack() {
  if (events_.empty()) return;
  const MusicEvent* last = &events_.back();
  RemoveIf([last](const MusicEvent& event) {
    return &event != last && event.IsMeta(MetaType::EndOfTrack);
  });
}

void MidiTrackData::SwapEvents(int a, int b) {
  if (a == b) return;
  MusicEvent& first = Event(a);
  MusicEvent& second = Event(b);
  std::swap(first.delta, second.delta);
  swap(first, second);
}

}  // namespace quillmar
