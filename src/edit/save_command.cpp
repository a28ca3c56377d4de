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

constexpr int kSameAsOriginal = 0;
constexpr int kFormat0 = 1;
constexpr int kFormat1 = 2;

// Makes the snapshot folder when it is missing and writes the file complete or not at all;
// a folder or file that cannot be written is reported with its path, and gives false.
bool WriteSnapshot(Reporter& reporter, const std::string& path, const std::string& bytes) {
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
                                        int format) {
  if (!IsPlainName(name)) return std::nullopt;
  const std::string folder = JoinPath(places.folders[static_cast<std::size_t>(format)], name);
  return JoinPath(folder, places.output_name);
}

void RunSave(const EditRow& row, MidiF1Data& song, EditEnvironment& environment) {
  const auto [key, name] = SplitKeyValue(row.target.text);
  const SnapshotPlaces& places = environment.snapshots;
  if (key != "File" || !SnapshotPath(places, name, kSameAsOriginal)) {
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
  const int same_format = places.input_format == 1 ? kFormat1 : kFormat0;
  // In this order: "Same as original", format 1, format 0.
  for (const auto& [format, image_format] :
       {std::pair{kSameAsOriginal, same_format}, {kFormat1, kFormat1}, {kFormat0, kFormat0}}) {
    if (!places.checked[static_cast<std::size_t>(format)]) continue;
    const std::string& bytes = image_format == kFormat1 ? format1.Image() : format0.Image();
    if (!WriteSnapshot(song.Context().Reports(), *SnapshotPath(places, name, format), bytes)) {
      environment.snapshots_written = false;
    }
  }
}

}  // namespace quillmar
