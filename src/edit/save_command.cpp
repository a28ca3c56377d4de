#include <optional>
#include <string>

#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "lists/general_error.h"
#include "lists/path_helpers.h"
#include "lists/text_helpers.h"
#include "lists/whole_file.h"
#include "platform/files.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

// Makes the snapshot folder when it is missing and writes the file complete or not at all;
// a folder or file that cannot be written is reported with its path, and gives false.
[[nodiscard]] bool WriteSnapshot(Reporter& reporter, const std::string& path,
                                 const std::string& bytes) {
  const std::string folder = DirectoryOf(path);
  if (!IsFolder(folder) && MakeFolderTree(folder)) {
    ReportGeneralError(reporter, kFileNotOpened);
    ReportDetail(reporter, folder);
    return false;
  }
  return WriteWholeFile(reporter, path, bytes);
}

}  // namespace

std::optional<std::string> SnapshotPath(const SnapshotPlaces& places, std::string_view name,
                                        OutputFormat format) {
  if (!IsPlainName(name)) return std::nullopt;
  const std::string folder = JoinPath(places.folders[format], name);
  return JoinPath(folder, places.output_name);
}

void RunSave(const EditRow& row, MidiF1Data& song, EditEnvironment& environment) {
  const auto [key, name] = SplitKeyValue(row.target.text);
  const SnapshotPlaces& places = environment.snapshots;
  if (key != "File" || !SnapshotPath(places, name, OutputFormat::SameAsOriginal)) {
    ReportMessage(song.Context().Reports(), kEditListError);
    return;
  }
  // Copies in both formats, ready to write; the song being edited stays as it is. The
  // format-0 copy is made as the conversion makes its own at the end.
  MidiF1Data format1(song);
  MidiF0Data format0 = MidiF1Data(song).TakeAsFormat0(song.KeepsSequenceNamesInFormat0());
  format1.ToOnOffForm();
  format0.ToOnOffForm();
  if (!format1.Encode() || !format0.Encode()) {
    environment.snapshots_written = false;
    return;
  }
  // In this order: "Same as original" (in the input's format), format 1, format 0.
  for (const OutputFormat format :
       {OutputFormat::SameAsOriginal, OutputFormat::Format1, OutputFormat::Format0}) {
    if (!places.checked[format]) continue;
    const OutputFormat written =
        format == OutputFormat::SameAsOriginal ? OutputFormatOfHeader(places.input_format) : format;
    const std::string& bytes = written == OutputFormat::Format1 ? format1.Image() : format0.Image();
    if (!WriteSnapshot(song.Context().Reports(), *SnapshotPath(places, name, format), bytes)) {
      environment.snapshots_written = false;
    }
  }
}

}  // namespace quillmar
