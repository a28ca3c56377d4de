#include "model/note_counts.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <functional>
#include <queue>
#include <unordered_set>
#include <vector>

namespace quillmar {
namespace {

constexpr std::int32_t kDrumChannel = 9;

struct Sounding {
  Ticks end;
  std::int64_t key;  // channel and note number
  bool operator>(const Sounding& other) const { return end > other.end; }
};

std::int64_t NoteKey(const MusicEvent& note) {
  return (std::int64_t{note.channel} << 32) | static_cast<std::uint32_t>(note.note);
}

// Walks the track keeping the notes that still sound, ordered by their end times. At each
// event every note that has ended by its time is dropped first, then a Note joins, then the
// count is taken; so a note ending exactly at the next event no longer counts, and a note of
// gate 0 counts at its own event. With one_per_key a Note does not join while the same note
// of the same channel still sounds.
int PeakSounding(const MidiTrackData& track, bool one_per_key) {
  std::priority_queue<Sounding, std::vector<Sounding>, std::greater<>> sounding;
  std::unordered_set<std::int64_t> sounding_keys;
  std::size_t peak = 0;
  Ticks time = 0;
  for (const MusicEvent& event : track.Events()) {
    time += event.delta;
    while (!sounding.empty() && sounding.top().end <= time) {
      if (one_per_key) sounding_keys.erase(sounding.top().key);
      sounding.pop();
    }
    if (event.kind == EventKind::Note) {
      const std::int64_t key = NoteKey(event);
      if (!one_per_key || sounding_keys.insert(key).second) {
        sounding.push({time + event.gate, key});
      }
    }
    peak = std::max(peak, sounding.size());
  }
  return static_cast<int>(peak);
}

}  // namespace

int PeakPolyphony(const MidiTrackData& track) {
  return PeakSounding(track, false);
}

int SimultaneousNotes(const MidiTrackData& track) {
  return PeakSounding(track, true);
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
