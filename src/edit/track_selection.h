#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/midi_f1_data.h"

namespace quillmar {

// The ways edit rows name tracks and places in them.

// One track of a song, or none.
using MaybeTrack = std::optional<std::reference_wrapper<MidiTrackData>>;

// True when the song's first track holds only meta events (or none): a conductor track.
bool HasConductorTrack(const MidiF1Data& song);

// The index that Track=N names: N - 1, or N when there is a conductor track, so that
// Track=1 is the first track that is no conductor track. None when that is no track of the
// song (N of 0 or less, or beyond the last track).
[[nodiscard]] std::optional<int> TrackIndexOf(const MidiF1Data& song, int number);

// The text of the track's first SequenceName event; empty without one.
std::string TrackName(const MidiTrackData& track);
bool NameEndsWith(const MidiTrackData& track, std::string_view text);
bool NameContains(const MidiTrackData& track, std::string_view text);

// The track that takes system exclusive messages: the first, or the second when the first
// is a conductor track and there is a second.
int SysExTargetTrack(const MidiF1Data& song);

// Inserts at the tick: at 0 in front of every event, elsewhere after the events at or
// before the tick (never after the End of Track).
void InsertAtPosition(MidiTrackData& track, Ticks position, MusicEvent event);

}  // namespace quillmar
