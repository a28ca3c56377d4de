#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/song_sound.h"
#include "edit/row_effects.h"
#include "pipeline/output_slot.h"
#include "preview/song_preview.h"

namespace quillmar {

// The title and copyright cells of a file-list row (Shift_JIS); "-" keeps the song's text.
struct PreviewCells {
  std::string title;
  std::string copyright;
};

// What a preview run found: the song as the run would write it, and the lines the run would
// add to the result list for it.
struct PreviewResult {
  std::unique_ptr<SongPreview> song;       // null when the file could not be converted
  std::vector<std::string> lines;          // Shift_JIS; message boxes appear as lines too
  std::vector<RowEffect> effects;          // what each edit- and order-list row did, as they ran
  std::shared_ptr<const SongSound> sound;  // the song as a synthesizer plays it, with the song
};

// Converts one MIDI file (a Shift_JIS path) as a run converts a row, entirely in memory: with
// the lists of `slot`, or with no lists when it is null. With `cells` the row's title and
// copyright are applied; without, the song keeps its own. Nothing is written and no folder is
// made (an edit list's Save rows write nothing), the program's once-only notices are not used
// up, and the reports go into the result instead of the result list. Safe from any thread,
// also while a run is in progress; the slot must not change meanwhile.
PreviewResult RunPreview(std::string_view sjis_input_path, const OutputSlot* slot,
                         const std::optional<PreviewCells>& cells);

}  // namespace quillmar
