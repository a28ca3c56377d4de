#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/midi_f1_data.h"
#include "model/sounding_timeline.h"
#include "model/tempo_map.h"

namespace quillmar {

// One note as a rectangle of the piano roll: from its start to its end tick (start plus
// gate), at its note number.
struct PreviewNote {
  Ticks start = 0;
  Ticks end = 0;
  int note = 0;
  int velocity = 0;
  int channel = 0;  // 0-15; 9 is the drum channel
  int track = 0;    // index into SongPreview::tracks
};

// A track of the song as the track list shows it.
struct PreviewTrack {
  std::string name;            // the first SequenceName text (Shift_JIS), empty when it has none
  std::optional<int> channel;  // 0-15; none for a track without channel messages
  int notes = 0;
  int voices = 0;  // its share of the voice count
};

// The start of a measure, counted from 1.
struct MeasureLine {
  Ticks tick = 0;
  int number = 1;
};

// A span of ticks [from, to).
using TickSpan = std::pair<Ticks, Ticks>;

// What the preview shows of a song: the notes of every track, the measure lines from the
// song's meters, the track list with each track's share of the voice count, and the timeline
// of sounding notes with its peaks. Made from the format-1 song and the merged format-0
// track that a conversion writes, so its two figures are the result list's.
class SongPreview {
 public:
  // `song` in GateTimeForm; `merged` the format-0 track in GateTimeForm.
  SongPreview(const MidiF1Data& song, const MidiTrackData& merged);

  std::int32_t Division() const { return division_; }
  // The last tick of the song: its last event or the end of its last note.
  Ticks Length() const { return length_; }
  const std::vector<PreviewTrack>& Tracks() const { return tracks_; }
  // Every note, by start tick.
  const std::vector<PreviewNote>& Notes() const { return notes_; }
  // The notes that sound within [from, to) (a note of gate 0 at `from` counts), by start.
  // Found by a binary search, for painting a part of a long song.
  std::span<const PreviewNote> NotesBetween(Ticks from, Ticks to) const;
  // Every measure start up to Length().
  const std::vector<MeasureLine>& Measures() const { return measures_; }
  // The number of notes sounding at every moment, as the simultaneous-notes figure counts.
  const std::vector<SoundingChange>& Timeline() const { return timeline_; }
  // The result list's "同時発音数" figure: the timeline's highest value.
  int SimultaneousNotes() const { return simultaneous_notes_; }
  // The result list's "ボイス数" figure: the tracks' voices summed.
  int VoiceCount() const { return voice_count_; }
  // Where the timeline stands above `limit`, as spans (the last one may end at Length()).
  std::vector<TickSpan> SpansAbove(int limit) const;
  // Where the timeline reaches its peak (none when no note sounds).
  std::vector<TickSpan> Peaks() const;
  // The time of a tick, in seconds from the start.
  double Seconds(Ticks tick) const { return tempo_.Seconds(tick); }
  // The tick (with its fraction) at a time in seconds, as a player's position.
  double TickAt(double seconds) const { return tempo_.TickAt(seconds); }

 private:
  std::int32_t division_;
  Ticks length_ = 0;
  Ticks longest_note_ = 0;
  std::vector<PreviewTrack> tracks_;
  std::vector<PreviewNote> notes_;
  std::vector<MeasureLine> measures_;
  std::vector<SoundingChange> timeline_;
  int simultaneous_notes_ = 0;
  int voice_count_ = 0;
  TempoMap tempo_;
};

}  // namespace quillmar
