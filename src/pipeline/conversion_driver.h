#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/synthesizer.h"
#include "edit/edit_notices.h"
#include "model/model_context.h"
#include "pipeline/output_slot.h"

namespace quillmar {

// Converts one file-list row for one output slot: loads the input, sets its title and
// copyright, applies the slot's tone, volume, drum, edit and order lists in this order,
// reports the voice count, writes the format-1 and then the format-0 file into the
// work folder and copies each into the slot's folders of the formats asked for, with the
// timeline of sounding notes and the WAV file of the song beside each when asked (a timeline
// or WAV file that cannot be made or written leaves the row incomplete, as does a Save
// snapshot that cannot be written). Every finding goes to
// the result list; nothing stops the run.
class ConversionDriver {
 public:
  // `work_folder` is a folder of the run's own, never an output folder.
  // `notices` are the edit list's once-only notices, kept for the program's life.
  ConversionDriver(ModelContext& context, EditNotices& notices, const OutputSlot& slot,
                   const FormatChoices& formats, std::string work_folder);

  // How a row went.
  struct RowResult {
    bool complete = false;                       // the row wrote every output asked of it
    std::vector<std::string> lists_with_errors;  // names of the lists that reported errors
  };

  // The four cells of a row. `output_name` becomes its base name once the input has loaded
  // (the caller stores it back into the file list). An output cell that names no file ends
  // the row with a message.
  [[nodiscard]] RowResult Convert(std::string_view input_name, std::string& output_name,
                                  std::string_view title, std::string_view copyright);

 private:
  // Copies the work file to the slot's folder of the format when the path differs from the
  // work path; a failed copy reports the general message and the target path, and gives false.
  [[nodiscard]] bool CopyTo(OutputFormat format, std::string_view output_name,
                            std::string_view work_path);

  // The synthesizer of the WAV files, made at the first row that needs it; false when it
  // could not be made (said once).
  [[nodiscard]] bool OpenSynthesizer();

  ModelContext* context_;
  EditNotices* notices_;
  const OutputSlot* slot_;
  const FormatChoices* formats_;
  std::string work_folder_;
  std::unique_ptr<Synthesizer> synthesizer_;
  bool synthesizer_failed_ = false;
};

}  // namespace quillmar
