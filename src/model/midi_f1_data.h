#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "model/midi_data_buffer.h"
#include "model/midi_f0_data.h"
#include "model/midi_track_data.h"
#include "model/model_context.h"

namespace quillmar {

// The working form of every song: a division and up to 33 tracks, all in the song's form.
class MidiF1Data : public MidiDataBuffer {
 public:
  static constexpr int kMaxTracks = 33;

  // An empty song without tracks in `form`.
  explicit MidiF1Data(ModelContext& context, TrackForm form = TrackForm::GateTimeForm);
  // Reads the bytes of a format-1 file and takes GateTimeForm; bytes that fail the header
  // check give no tracks.
  MidiF1Data(ModelContext& context, const MidiSource& source);
  // Splits a format-0 song in GateTimeForm into 16 channel tracks.
  explicit MidiF1Data(const MidiF0Data& song);
  // Copies every track (the tracks must be in GateTimeForm).
  MidiF1Data(const MidiF1Data& song);
  MidiF1Data& operator=(const MidiF1Data&) = delete;
  MidiF1Data(MidiF1Data&&) noexcept = default;
  MidiF1Data& operator=(MidiF1Data&&) noexcept = default;

  ModelContext& Context() const { return *context_; }
  TrackForm Form() const { return form_; }
  std::int32_t Division() const { return division_; }
  void SetDivision(std::int32_t division) { division_ = division; }
  int TrackCount() const { return static_cast<int>(tracks_.size()); }
  const MidiTrackData& Track(int index) const { return tracks_[static_cast<std::size_t>(index)]; }
  MidiTrackData& Track(int index) { return tracks_[static_cast<std::size_t>(index)]; }

  // --- Track list (a song never holds more than kMaxTracks: beyond it F1InternalError is
  // reported and nothing changes) ---------------------------------------------------------
  [[nodiscard]] bool AppendTrack(MidiTrackData track);
  [[nodiscard]] bool InsertTrack(MidiTrackData track, int index);
  void ReplaceTrack(int index, MidiTrackData track);
  void DeleteTrack(int index);
  // Deletes every track that holds only an EndOfTrack; when all of them do, the first stays.
  void DeleteEmptyTracks();

  // --- Forms and writing -------------------------------------------------------------------
  void ToGateTimeForm();  // requires OnOffForm
  void ToOnOffForm();     // requires GateTimeForm
  // Encodes the whole format-1 file into Image(); requires OnOffForm.
  [[nodiscard]] bool Encode();
  // The song as a format-0 song: every track merged into one by time, events of one tick in
  // track order, one EndOfTrack at the end. Without keep_names the channel tracks' first
  // SequenceName is left out. Takes the tracks' events; requires GateTimeForm.
  MidiF0Data TakeAsFormat0(bool keep_names);
  // Whether the format-0 form keeps the tracks' names: the song holds exactly one
  // SequenceName and its first track holds more than meta events.
  bool KeepsSequenceNamesInFormat0() const;

  // --- Song-level lookups (none when no track holds one) -------------------------------------
  std::optional<std::int32_t> GetVolume(std::int32_t channel) const;
  std::optional<std::int32_t> GetProgram(std::int32_t channel) const;
  // The master volume; a second track holding one reports MultipleMasterVolumes.
  std::optional<std::int32_t> GetMasterVolume() const;
  std::optional<std::int32_t> FindTempo() const;
  int CountMeta(std::int32_t meta_type) const;

  // --- Song-wide operations -----------------------------------------------------------------
  // The tick of the given number of whole bars, then beats (quarter notes), then ticks from
  // the start, under the time signatures of track 0.
  Ticks BarToTicks(std::int32_t bars, std::int32_t beats, std::int32_t ticks) const;
  // The time of the first marker (cue point) of the text in any track; none without one.
  std::optional<Ticks> FindMarker(std::string_view text) const;
  std::optional<Ticks> FindCuePoint(std::string_view text) const;
  // Lowest and highest note of the channel's tracks; (127, 0) without notes.
  std::pair<std::int32_t, std::int32_t> GetNoteRange(std::int32_t channel) const;
  // Splits every track of the channel into the notes whose property (1 note, 2 gate,
  // 3 velocity) is at least the threshold and the others.
  void SplitTrack(std::int32_t channel, std::int32_t threshold, std::int32_t property);
  void CutNotesAt(Ticks time);
  void DeleteKindAfter(Ticks time, EventKind kind);
  void ChangeMetaType(std::int32_t from, std::int32_t to);

 private:
  [[nodiscard]] bool ParseHeader(int& track_count);

  ModelContext* context_;
  std::int32_t division_ = 0;
  TrackForm form_;
  std::vector<MidiTrackData> tracks_;
};

}  // namespace quillmar
