#pragma once

#include <cstdint>

#include "model/midi_data_buffer.h"
#include "model/midi_track_data.h"
#include "model/model_context.h"

namespace quillmar {

// A song as a format-0 file: a division and one track, always in the song's form.
class MidiF0Data : public MidiDataBuffer {
 public:
  // An empty song whose track is empty, both in `form`.
  explicit MidiF0Data(ModelContext& context, TrackForm form = TrackForm::GateTimeForm);
  // Reads the bytes of a format-0 file and takes GateTimeForm. When the header check fails
  // (its message is reported) or there are no bytes, Loaded() is false.
  MidiF0Data(ModelContext& context, const MidiSource& source);

  bool Loaded() const { return loaded_; }
  ModelContext& Context() const { return track_.Context(); }
  TrackForm Form() const { return form_; }
  std::int32_t Division() const { return division_; }
  void SetDivision(std::int32_t division) { division_ = division; }
  const MidiTrackData& Track() const { return track_; }
  MidiTrackData& Track() { return track_; }

  void ToGateTimeForm();  // requires OnOffForm
  void ToOnOffForm();     // requires GateTimeForm
  // Writes the header, applies the three same-tick reorderings, encodes the track and takes
  // EncodedForm. Requires OnOffForm.
  [[nodiscard]] bool Encode();

 private:
  [[nodiscard]] bool ParseHeader();

  std::int32_t division_ = 0;
  TrackForm form_;
  MidiTrackData track_;
  bool loaded_ = false;
};

}  // namespace quillmar
