#include "model/midi_track_data.h"

#include <algorithm>

namespace quillmar {

std::int32_t MidiTrackData::GetChannel() const {
  for (const MusicEvent& event : events_) {
    switch (event.kind) {
      case EventKind::Note:
      case EventKind::NoteOn:
      case EventKind::ControlChange:
      case EventKind::ProgramChange:
      case EventKind::PitchBend:
        return event.channel;
      default:
        break;
    }
  }
  return kNoChannel;
}

bool MidiTrackData::IsMetaOnly() const {
  return std::all_of(events_.begin(), events_.end(),
                     [](const MusicEvent& event) { return event.kind == EventKind::Meta; });
}

bool MidiTrackData::HasOnlyEndOfTrack() const {
  return events_.size() == 1 && events_[0].IsMeta(MetaType::EndOfTrack);
}

std::optional<int> MidiTrackData::FindEvent(std::int32_t kind, std::int32_t type) const {
  for (std::size_t i = 0; i < events_.size(); ++i) {
    const MusicEvent& event = events_[i];
    if ((static_cast<std::int32_t>(event.kind) & 0xFF) == (kind & 0xFF) &&
        (type == -1 || (event.type & 0xFF) == (type & 0xFF))) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

int MidiTrackData::CountMeta(std::int32_t meta_type) const {
  return static_cast<int>(std::count_if(events_.begin(), events_.end(),
                                        [&](const MusicEvent& e) { return e.IsMeta(meta_type); }));
}

std::optional<std::int32_t> MidiTrackData::FindTempo() const {
  for (const MusicEvent& event : events_) {
    if (event.IsMeta(MetaType::Tempo)) return event.value;
  }
  return std::nullopt;
}

std::optional<Ticks> MidiTrackData::FindMetaTextTime(std::int32_t meta_type,
                                                     std::string_view text) const {
  Ticks time = 0;
  for (const MusicEvent& event : events_) {
    time += event.delta;
    if (event.IsMeta(meta_type) && event.data == text) return time;
  }
  return std::nullopt;
}

}  // namespace quillmar
