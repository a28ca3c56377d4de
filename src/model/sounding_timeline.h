#pragma once

#include <vector>

#include "model/midi_track_data.h"
#include "model/sounding_notes.h"

namespace quillmar {

// The number of notes sounding from `tick` on, until the next change.
struct SoundingChange {
  Ticks tick = 0;
  int notes = 0;
  bool operator==(const SoundingChange&) const = default;
};

// How many notes sound at every moment of a track in GateTimeForm, one entry per change,
// ticks rising, starting from nothing sounding. The count is taken at each event: notes that
// have ended by its time leave first (a note ending exactly where another event starts no
// longer counts there), then a Note joins. A tick holding several events shows the most the
// count reaches among them, and a note of gate 0 counts for that one tick; between events the
// count falls where notes end. The highest entry is the most notes sounding at once.
std::vector<SoundingChange> SoundingTimeline(const MidiTrackData& track,
                                             NoteJoining joining = NoteJoining::OnePerKey);

// The highest entry of SoundingTimeline, found without building it.
int PeakSounding(const MidiTrackData& track, NoteJoining joining);

// The highest count of a timeline (0 when it is empty).
int PeakOf(const std::vector<SoundingChange>& timeline);

}  // namespace quillmar
