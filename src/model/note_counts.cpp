#include "model/note_counts.h"

#include <bitset>
#include <cstdint>

#include "model/sounding_timeline.h"

namespace quillmar {
namespace {

constexpr std::int32_t kDrumChannel = 9;

}  // namespace

int PeakPolyphony(const MidiTrackData& track) {
  return PeakOf(SoundingTimeline(track, NoteJoining::Always));
}

int SimultaneousNotes(const MidiTrackData& track) {
  return PeakOf(SoundingTimeline(track, NoteJoining::OnePerKey));
}

int DistinctNoteCount(const MidiTrackData& track) {
  std::bitset<128> used;
  for (const MusicEvent& event : track.Events()) {
    if (event.kind == EventKind::Note && event.note >= 0 && event.note < 128) {
      used.set(static_cast<std::size_t>(event.note));
    }
  }
  return static_cast<int>(used.count());
}

int VoiceCount(const MidiF1Data& song) {
  int voices = 0;
  for (int i = 0; i < song.TrackCount(); ++i) {
    const MidiTrackData& track = song.Track(i);
    voices += track.GetChannel() == kDrumChannel ? DistinctNoteCount(track) : PeakPolyphony(track);
  }
  return voices;
}

}  // namespace quillmar
