#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/midi_data_buffer.h"
#include "model/model_context.h"
#include "model/music_event.h"

namespace quillmar {

enum class TrackForm : std::int32_t {
  None = -1,         // a new empty track whose form the caller has not set
  EncodedForm = 0,   // the chunk bytes are current (while reading, after encoding)
  OnOffForm = 1,     // notes are NoteOn/NoteOff pairs (as in a file)
  GateTimeForm = 2,  // notes are single Note events with gate times (the editing form)
};

// Absolute positions in ticks (sums of deltas) are 64-bit so that no sum can overflow.
using Ticks = std::int64_t;

// One track of a song: an ordered table of events, in time order, that (as a sound track)
// ends with exactly one EndOfTrack. Every operation that needs a particular form checks it
// and reports TrackInternalError without changing anything when the track is in another.
class MidiTrackData : public MidiDataBuffer {
 public:
  static constexpr std::size_t kMaxEvents = 131072;

  enum class Place { Before, After };

  // An empty track in the given form.
  explicit MidiTrackData(ModelContext& context, TrackForm form = TrackForm::None);

  // Reads the MTrk chunk that starts at `offset` of a file image. Re-arms the once-only
  // warnings. Size() is the chunk's size with its header afterwards, or 0 when the chunk was
  // missing or ran past the image (the track is then empty, in EncodedForm).
  MidiTrackData(ModelContext& context, std::string_view file_image, std::size_t offset);

  // Copies a track in GateTimeForm; a source in another form reports TrackInternalError and
  // gives an empty track. The copy is in GateTimeForm either way.
  MidiTrackData(const MidiTrackData& source);
  MidiTrackData& operator=(const MidiTrackData&) = delete;
  MidiTrackData(MidiTrackData&&) noexcept = default;
  MidiTrackData& operator=(MidiTrackData&&) noexcept = default;
  ~MidiTrackData() = default;

  ModelContext& Context() const { return *context_; }
  TrackForm Form() const { return form_; }
  void SetForm(TrackForm form) { form_ = form; }
  int Count() const { return static_cast<int>(events_.size()); }
  bool Empty() const { return events_.empty(); }
  const MusicEvent& Event(int index) const { return events_[static_cast<std::size_t>(index)]; }
  MusicEvent& Event(int index) { return events_[static_cast<std::size_t>(index)]; }
  // The events, for reading and for changing fields; the table's structure changes only
  // through the operations below.
  std::span<const MusicEvent> Events() const { return events_; }
  std::span<MusicEvent> Events() { return events_; }

  // --- Note forms -------------------------------------------------------------------------

  // Pairs NoteOn/NoteOff events into Note events with gate times (first in, first out per
  // channel and note); drops unpaired note-offs and notes of length 0. OnOffForm required.
  void ToGateTimeForm();
  // Expands every Note into a NoteOn and a NoteOff (velocity 64) and moves the first
  // EndOfTrack to the end. GateTimeForm required.
  void ToOnOffForm();
  // Removes every Removed event, adding its delta to the event after it.
  void PurgeRemoved();

  // --- Queries ----------------------------------------------------------------------------

  // Channel of the first Note, NoteOn, ControlChange, ProgramChange or PitchBend; kNoChannel
  // when there is none (a conductor track).
  std::int32_t GetChannel() const;
  bool IsMetaOnly() const;
  bool HasOnlyEndOfTrack() const;
  // Index of the first event whose kind and type equal the given ones (compared by their low
  // eight bits; type -1 matches any); none when there is none.
  std::optional<int> FindEvent(std::int32_t kind, std::int32_t type) const;
  int CountMeta(std::int32_t meta_type) const;
  std::optional<std::int32_t> FindTempo() const;
  // Time of the first meta event of the type whose text equals `text`; none when none.
  std::optional<Ticks> FindMetaTextTime(std::int32_t meta_type, std::string_view text) const;

  // --- Structure --------------------------------------------------------------------------

  // Puts the event into the next slot; a full table reports TooMuchData and changes nothing.
  [[nodiscard]] bool Append(MusicEvent event);
  // Appends an EndOfTrack with the delta unless the last event already is one.
  void AppendEndOfTrack(std::int32_t delta = 0);
  // Inserts into slot `index` (Before) or `index` + 1 (After) without changing the other
  // deltas. A full table reports TooMuchData, a slot outside the table TrackInternalError;
  // both change nothing.
  [[nodiscard]] bool InsertAt(int index, Place place, MusicEvent event);
  // Inserts the event at the absolute time, after the events already there but never after
  // the last event's EndOfTrack; every other event keeps its time (a last event earlier
  // than `time` moves to it). A full table reports TooMuchData and changes nothing.
  [[nodiscard]] bool InsertAtTime(Ticks time, MusicEvent event);
  // Removes the event, adding its delta to the next one.
  void DeleteAt(int index);
  // Takes all events out of the track, leaving it empty.
  std::vector<MusicEvent> TakeEvents();
  // Replaces all events. Beyond kMaxEvents reports TooMuchData and keeps the first ones and
  // the last one (normally the EndOfTrack), which keeps its time.
  void SetEvents(std::vector<MusicEvent> events);
  // Removes every EndOfTrack that is not in the last slot (deltas carried forward).
  void RemoveInnerEndOfTrack();
  // Exchanges the events of two slots; each slot keeps its delta.
  void SwapEvents(int a, int b);

  // --- Note-range edits (GateTimeForm) -----------------------------------------------------

  // Shortens every note sounding past `time` that starts at or before it to end at `time`
  // (a note starting exactly there is removed).
  void CutNotesAt(Ticks time);
  // Removes every event of the kind later than `time`.
  void DeleteKindAfter(Ticks time, EventKind kind);
  // Moves every note by 12 * octaves, limited to 0..127.
  void Transpose(int octaves);
  // Gives every event of channel `from` the channel `to` (any form).
  void ChangeChannel(std::int32_t from, std::int32_t to);

  // --- Writing ----------------------------------------------------------------------------

  // Encodes the events as an MTrk chunk into Image() and takes EncodedForm. Requires
  // OnOffForm and a final EndOfTrack.
  [[nodiscard]] bool Encode();
  // The three same-tick reorderings applied before a format-0 track is encoded.
  void GroupNonNotesFirst();
  void GroupSysExFirst();
  void NoteOffsBeforeNoteOns();

  // --- Controllers, programs, master volume ------------------------------------------------

  // Value of the last control change 7 (10); none when there is none. A second one reports
  // the once-only MultipleVolumes (MultiplePans).
  std::optional<std::int32_t> GetVolume() const;
  std::optional<std::int32_t> GetPan() const;
  // The first non-zero program, 0 when all are 0, none without program changes.
  std::optional<std::int32_t> GetProgram() const;
  void SetController(std::int32_t controller, std::int32_t value);
  void AddToController(std::int32_t controller, std::int32_t amount);
  void ScaleController(std::int32_t controller, std::int32_t percent);
  void SetProgram(std::int32_t value);
  void InsertControlChange(std::int32_t channel, std::int32_t controller, std::int32_t value);
  // Master-volume messages proper (never the rhythm-part message).
  std::optional<std::int32_t> GetMasterVolume() const;
  bool SetMasterVolume(std::int32_t value);
  void InsertMasterVolume(std::int32_t value);
  void DeleteMasterVolume();

  // --- Meta texts --------------------------------------------------------------------------

  std::optional<std::string> GetMetaText(std::int32_t meta_type) const;
  bool SetMetaText(std::int32_t meta_type, std::string_view text);
  bool SetAllMetaText(std::int32_t meta_type, std::string_view text);
  void InsertMeta(std::int32_t meta_type, std::string_view text);
  void AddMetaText(std::int32_t meta_type, std::string_view text);
  bool DeleteMeta(std::int32_t meta_type);
  void DeleteMetaExceptNameAndEnd();
  void ChangeMetaType(std::int32_t from, std::int32_t to);

 private:
  void ReadChunk(std::string_view file_image, std::size_t offset);
  // Removes every event for which `remove` is true, carrying deltas forward, in one pass.
  template <typename Predicate>
  void RemoveIf(Predicate remove);

  ModelContext* context_;
  TrackForm form_ = TrackForm::None;
  std::vector<MusicEvent> events_;
};

// Adds two deltas, limited to the int32 range.
std::int32_t AddDeltas(std::int64_t a, std::int64_t b);

// A new meta event with delta 0 and the text as its data.
MusicEvent MakeMetaText(std::int32_t meta_type, std::string_view text);

// A new EndOfTrack event with the delta (data 0xFF 0x2F 0x00).
MusicEvent MakeEndOfTrack(std::int32_t delta);

template <typename Predicate>
void MidiTrackData::RemoveIf(Predicate remove) {
  std::int64_t carried = 0;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < events_.size(); ++i) {
    if (remove(static_cast<const MusicEvent&>(events_[i]))) {
      carried += events_[i].delta;
      continue;
    }
    events_[i].delta = AddDeltas(events_[i].delta, carried);
    carried = 0;
    if (kept != i) events_[kept] = std::move(events_[i]);
    ++kept;
  }
  events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(kept), events_.end());
}

}  // namespace quillmar
