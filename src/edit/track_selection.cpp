#include "edit/track_selection.h"

#include "lists/text_helpers.h"
#include "platform/sjis.h"

namespace quillmar {

bool HasConductorTrack(const MidiF1Data& song) {
  return song.TrackCount() > 0 && song.Track(0).IsMetaOnly();
}

std::optional<int> TrackIndexOf(const MidiF1Data& song, int number) {
  const int index = HasConductorTrack(song) ? number : ZeroBased(number);
  if (number <= 0 || index >= song.TrackCount()) return std::nullopt;
  return index;
}

std::string TrackName(const MidiTrackData& track) {
  return track.GetMetaText(MetaType::SequenceName).value_or(std::string());
}

bool NameEndsWith(const MidiTrackData& track, std::string_view text) {
  // The suffix must start a character: a trail byte is no "A" or "\\".
  const std::string name = TrackName(track);
  return name.ends_with(text) && IsCharacterStart(name, name.size() - text.size());
}

bool NameContains(const MidiTrackData& track, std::string_view text) {
  return ContainsText(TrackName(track), text);
}

int SysExTargetTrack(const MidiF1Data& song) {
  return HasConductorTrack(song) && song.TrackCount() > 1 ? 1 : 0;
}

void InsertAtPosition(MidiTrackData& track, Ticks position, MusicEvent event) {
  // A full track has reported TooMuchData; the row goes on without the event.
  static_cast<void>(position == 0
                        ? track.InsertAt(0, MidiTrackData::Place::Before, std::move(event))
                        : track.InsertAtTime(position, std::move(event)));
}

}  // namespace quillmar
