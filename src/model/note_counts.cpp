#include "model/note_counts.h"

#include <bitset>
#include <cstdint>

#include "model/sounding_timeline.h"

namespace quillmar {
int PeakPolyphony(const MidiTrackData& track) {
  return PeakSounding(track, NoteJoining::Always);
}

int SimultaneousNotes(const MidiTrackData& track) {
  return PeakSounding(track, NoteJoining::OnePerKey);
}

int DistinctNoteCount(const MidiTrackData& track) {
  std::bitset<128> used;
  for (const MusicEvent& event : track.Events()) {
    if (event.IsNote() && event.note >= 0 && event.note < 128) {
      used.set(static_cast<std::size_t>(event.note));
    }
  }
  return static_cast<int>(used.count());
}

int TrackVoices(const MidiTrackData& track) {
  return track.GetChannel() == kDrumChannel ? DistinctNoteCount(track) : PeakPolyphony(track);
}

int VoiceCount(const MidiF1Data& song) {
  int voices = 0;
  for (int i = 0; i < song.TrackCount(); ++i) voices += TrackVoices(song.Track(i));
  return voices;
}

}  // namespace quillmar
