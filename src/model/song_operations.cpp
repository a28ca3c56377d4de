#include <algorithm>

#include "model/midi_f1_data.h"
#include "model/model_errors.h"
#include "model/note_counts.h"

namespace quillmar {

Ticks MidiF1Data::BarToTicks(std::int32_t bars, std::int32_t beats, std::int32_t ticks) const {
  // Bars are counted along the time signatures of track 0; after its last event the last
  // meter goes on. A signature takes effect for the bar that begins at or after it.
  std::int64_t quarters_per_bar = 4;
  std::int64_t bars_counted = 0;
  std::int64_t quarters_counted = 0;
  Ticks bar_start = 0;
  // Counts the whole bars that have begun by `time`, up to the bars asked for.
  auto count_bars_until = [&](Ticks time) {
    const std::int64_t bar_length = static_cast<std::int64_t>(division_) * quarters_per_bar;
    const std::int64_t wanted = bars - bars_counted;
    if (wanted <= 0) return;
    const std::int64_t passed =
        bar_length <= 0 ? wanted : std::min(wanted, (time - bar_start) / bar_length);
    if (passed <= 0) return;
    bars_counted += passed;
    quarters_counted += passed * quarters_per_bar;
    bar_start += passed * std::max<std::int64_t>(bar_length, 0);
  };
  if (!tracks_.empty()) {
    Ticks time = 0;
    for (const MusicEvent& event : tracks_[0].Events()) {
      time += event.delta;
      count_bars_until(time);
      if (bars_counted >= bars) break;
      if (!event.IsMeta(MetaType::TimeSign)) continue;
      const int numerator = event.DataByte(0);
      switch (event.DataByte(1)) {
        case 2:
          quarters_per_bar = numerator;
          break;
        case 3:
          quarters_per_bar = numerator / 2;
          break;
        default:
          ReportF1Error(Context(), kUnsupportedTimeSign);
          break;
      }
    }
  }
  if (bars_counted < bars) {
    quarters_counted += (bars - bars_counted) * quarters_per_bar;
  }
  return (beats + quarters_counted) * division_ + ticks;
}

std::optional<Ticks> MidiF1Data::FindMarker(std::string_view text) const {
  for (const MidiTrackData& track : tracks_) {
    if (const std::optional<Ticks> time = track.FindMetaTextTime(MetaType::Marker, text)) {
      return time;
    }
  }
  return std::nullopt;
}

std::optional<Ticks> MidiF1Data::FindCuePoint(std::string_view text) const {
  for (const MidiTrackData& track : tracks_) {
    if (const std::optional<Ticks> time = track.FindMetaTextTime(MetaType::CuePoint, text)) {
      return time;
    }
  }
  return std::nullopt;
}

std::pair<std::int32_t, std::int32_t> MidiF1Data::GetNoteRange(std::int32_t channel) const {
  std::int32_t low = 127;
  std::int32_t high = 0;
  for (const MidiTrackData& track : tracks_) {
    if (track.GetChannel() != channel) continue;
    for (const MusicEvent& event : track.Events()) {
      if (!event.IsNote()) continue;
      low = std::min(low, event.note);
      high = std::max(high, event.note);
    }
  }
  return {low, high};
}

void MidiF1Data::SplitTrack(std::int32_t channel, std::int32_t threshold, std::int32_t property) {
  const auto splits = std::count_if(tracks_.begin(), tracks_.end(), [&](const MidiTrackData& t) {
    return t.GetChannel() == channel;
  });
  if (TrackCount() + splits > kMaxTracks) {
    ReportF1Error(Context(), kF1InternalError);
    return;
  }
  auto property_of = [property](const MusicEvent& note) -> std::optional<std::int32_t> {
    switch (property) {
      case 1:
        return note.note;
      case 2:
        return note.gate;
      case 3:
        return note.velocity;
      default:
        return std::nullopt;
    }
  };
  for (int index = 0; index < TrackCount(); ++index) {
    MidiTrackData& track = tracks_[static_cast<std::size_t>(index)];
    if (track.GetChannel() != channel) continue;
    // `at_least` keeps the notes at or above the threshold, `below` the others.
    MidiTrackData at_least(track);
    MidiTrackData below(track);
    for (int i = 0; i < track.Count(); ++i) {
      if (!track.Event(i).IsNote()) continue;
      const auto value = property_of(track.Event(i));
      if (!value) continue;
      (*value >= threshold ? below : at_least).Event(i).kind = EventKind::Removed;
    }
    at_least.PurgeRemoved();
    below.PurgeRemoved();
    track = std::move(at_least);
    tracks_.insert(tracks_.begin() + index + 1, std::move(below));
    ++index;  // the lower half is not split again
  }
}

void MidiF1Data::CutNotesAt(Ticks time) {
  for (MidiTrackData& track : tracks_) track.CutNotesAt(time);
}

void MidiF1Data::DeleteKindAfter(Ticks time, EventKind kind) {
  for (MidiTrackData& track : tracks_) track.DeleteKindAfter(time, kind);
}

void MidiF1Data::ChangeMetaType(std::int32_t from, std::int32_t to) {
  for (MidiTrackData& track : tracks_) track.ChangeMetaType(from, to);
}

}  // namespace quillmar
