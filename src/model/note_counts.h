#pragma once

#include "model/midi_f1_data.h"
#include "model/midi_track_data.h"

namespace quillmar {

// Counts over tracks in GateTimeForm, exact for any number of sounding notes.

// The most notes sounding at once (a note ending exactly when the next event starts no
// longer counts).
int PeakPolyphony(const MidiTrackData& track);
// How many of the note numbers 0..127 the track's notes use.
int DistinctNoteCount(const MidiTrackData& track);
// A track's voices: DistinctNoteCount for the drum channel (9), PeakPolyphony otherwise.
int TrackVoices(const MidiTrackData& track);
// TrackVoices summed over the song's tracks.
int VoiceCount(const MidiF1Data& song);
// Like PeakPolyphony, but a note does not count while the same note of the same channel is
// still sounding.
int SimultaneousNotes(const MidiTrackData& track);

}  // namespace quillmar
