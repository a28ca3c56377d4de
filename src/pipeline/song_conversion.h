#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/synthesizer.h"
#include "edit/edit_list.h"
#include "edit/edit_notices.h"
#include "model/midi_data_buffer.h"
#include "model/midi_f1_data.h"
#include "model/model_context.h"
#include "pipeline/output_slot.h"

namespace quillmar {

// The title and copyright cells of a file-list row (Shift_JIS); "-" keeps the song's text.
struct TextCells {
  std::string_view title;
  std::string_view copyright;
};

// What one song's conversion applies: the row's cells (none: the song keeps its texts) and
// the lists of a slot (none: no lists), with the edit list's environment.
struct SongConversion {
  ModelContext& context;
  EditNotices& notices;
  const OutputSlot* slot = nullptr;
  std::optional<TextCells> cells{};
  // Where the edit list's Save rows write; with no format checked they write nothing. The
  // input format is filled in once the song has loaded.
  SnapshotPlaces snapshots{};
  // Whether the result carries the format-0 song's timeline as CSV text.
  bool make_timeline = false;
  // With explain, a line after each edit- and order-list row tells what it did; when set,
  // `effects` receives what each of those rows did.
  bool explain = false;
  std::vector<RowEffect>* effects = nullptr;
  // When set, the result carries the format-0 song rendered on it as a WAV file, as a handset
  // with `wav_limit` simultaneous notes plays it when that is set.
  Synthesizer* wav_synthesizer = nullptr;
  std::optional<int> wav_limit{};
  // When set, shown the format-1 song as read back from its file and the merged format-0
  // track, both in GateTimeForm, before the format-0 file is encoded (for a preview).
  std::function<void(const MidiF1Data& song, const MidiTrackData& merged)> show{};
};

// Takes one written file of the conversion: its format (format 1, then format 0), the input's
// header format (0 or 1) and the bytes. False ends the conversion there.
using ConvertedFileTaker =
    std::function<bool(OutputFormat format, int input_format, std::string_view bytes)>;

// How far a conversion went.
struct SongConversionResult {
  bool loaded = false;            // the input was read (so its output name is final)
  bool finished = false;          // both files were made and taken
  bool snapshots_written = true;  // every file of the edit list's Save rows was written
  std::vector<std::string> lists_with_errors;  // names of the lists that reported list errors
  std::string timeline_csv;                    // with make_timeline, once the format-0 song is made
  std::string wav;                             // with wav_synthesizer, likewise
};

// Converts one song as a file-list row does, without touching a file of its own: loads the
// source (the input file as ReadWholeFile read it), sets the title and copyright, applies the
// tone, volume, drum, edit and order lists in this order, reports the voice count, encodes the
// format-1 file and hands it over, reads it back and merges it into the format-0 file, reports
// the simultaneous notes, encodes that and hands it over. Every finding goes to the reports.
SongConversionResult ConvertSong(SongConversion conversion, const MidiSource& source,
                                 const ConvertedFileTaker& take);

}  // namespace quillmar
