#pragma once

#include <memory>
#include <optional>

#include "model/midi_f0_data.h"
#include "model/midi_f1_data.h"
#include "model/model_context.h"

namespace quillmar {

// Turns the bytes of one input file into a song in GateTimeForm, whatever its format, and at
// the end of a conversion builds the format-0 song for output.
class MidiFileLoader {
 public:
  // The source holds the file as read whole (ReadWholeFile, TakeWholeImage): the loader itself
  // neither cuts it nor reports its size.
  MidiFileLoader(ModelContext& context, const MidiSource& source);

  // False when the bytes could not be converted (the reason has been reported).
  bool Loaded() const { return loaded_; }
  // The format of the file's header, 0 or 1; none for any other.
  std::optional<int> InputFormat() const { return input_format_; }
  // The song; null when the load failed or after ToFormat0.
  MidiF1Data* Song() { return song_.get(); }
  // The format-0 song; null before ToFormat0.
  MidiF0Data* Format0Song() { return format0_song_.get(); }

  // Merges the song into a format-0 song, dropping the first SequenceName of every channel
  // track (ToFormat0) or keeping them (ToFormat0KeepNames); the song is released.
  void ToFormat0();
  void ToFormat0KeepNames();
  // The merge a conversion's output takes: keeping the names when the song
  // KeepsSequenceNamesInFormat0, dropping them otherwise.
  void ToOutputFormat0();

 private:
  void BuildFormat0(bool keep_names);

  ModelContext* context_;
  bool loaded_ = false;
  std::optional<int> input_format_;
  std::unique_ptr<MidiF1Data> song_;
  std::unique_ptr<MidiF0Data> format0_song_;
};

}  // namespace quillmar
