#include "shell/file_list_building.h"

#include <cerrno>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "lists/general_error.h"
#include "lists/list_error.h"
#include "lists/path_helpers.h"
#include "lists/settings_list.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

std::string TempFileListHeader() {
  return Sjis("番号,入力ファイル名,出力ファイル名,タイトル,著作権情報") + "\r\n";
}

// A comma inside a cell is written as two backslashes, which the list reader turns back
// into a comma. A comma byte is never part of a double-byte character.
std::string EscapeCell(std::string_view text) {
  std::string cell;
  cell.reserve(text.size());
  for (const char byte : text) {
    if (byte == ',') {
      cell.append("\\\\");
    } else {
      cell.push_back(byte);
    }
  }
  return cell;
}

// The file-list row of a MIDI file: no number, its path, its name, no title, no copyright.
std::string TempFileListRow(std::string_view midi_path) {
  return "-," + EscapeCell(midi_path) + "," + EscapeCell(BaseName(midi_path)) + ",-,-\r\n";
}

// A line break would end the row inside the path; no cell can hold one.
bool FitsInRow(std::string_view midi_path) {
  return midi_path.find_first_of("\r\n") == std::string_view::npos;
}

// True when a row of the list, its header included, names the MIDI file as input.
bool IsListed(const SettingsList& list, std::string_view midi_path) {
  for (int row = 0; row < list.RowCount(); ++row) {
    if (list.Cell(row, kInputColumn) == midi_path) return true;
  }
  return false;
}

// The loaded temporary file list's bytes with the row added; none when the list cannot take
// it: it holds the most rows a list can, or its bytes would pass what a list reads. A last
// line without its line end gets one first, so the row stays a row of its own.
std::optional<std::string> WithRowAdded(const SettingsList& list, std::string_view row) {
  std::string bytes = list.Data();
  if (!bytes.empty() && bytes.back() != '\n') bytes.append("\r\n");
  bytes.append(row);
  if (list.RowCount() >= kListRowLimit || bytes.size() > kListFileByteLimit) return std::nullopt;
  return bytes;
}

// Adds the MIDI file to the temporary file list of its folder (or of the workspace's own
// folder for it): to the one loaded as the file list, or else to a new one that replaces any
// file of that name. The list is built from the loaded list, not from what the file holds
// now, and written and read back under the folder's lock, so that the list loaded is always
// the one written here. When it cannot be written, the folder is named, and the list is
// still read back as the file list.
void AddMidiFile(Reporter& reporter, Workspace& workspace, std::string_view midi_path,
                 std::string_view midi_folder) {
  const std::string folder = workspace.TempFileListFolder().empty()
                                 ? std::string(midi_folder)
                                 : workspace.TempFileListFolder();
  const std::string list_path = JoinPath(folder, kTempFileListName);
  const std::string row = TempFileListRow(midi_path);
  const auto& file_list = workspace.FileList();
  std::string bytes = TempFileListHeader() + row;
  if (file_list && file_list->Path() == list_path) {
    if (IsListed(*file_list, midi_path)) {
      ReportMessage(reporter, kMidiAlreadyListed);
      return;
    }
    std::optional<std::string> added = WithRowAdded(*file_list, row);
    if (!added) {
      if (!workspace.FileListFullReported()) ListError(reporter, kListTooManyRows);
      workspace.SetFileListFullReported();
      workspace.SetMidiFilesLeftOut();
      return;
    }
    bytes = *std::move(added);
  }
  const FolderLock lock(folder);
  if (!WriteFileReplacing(list_path, bytes)) {
    if (errno == EACCES || errno == EPERM || errno == EROFS) {
      ReportText(reporter, Sjis("このフォルダには書き込めないため、ファイルリスト ") +
                               std::string(kTempFileListName) + Sjis(" を作れませんでした。"));
      ReportDetail(reporter, folder);
    } else {
      ReportGeneralError(reporter, kFileNotOpened);
      ReportDetail(reporter, list_path);
    }
  }
  workspace.LoadList(reporter, ListKind::FileList, list_path);
}

// Loads a list file as the kind that the first byte of its name tells; a slot list also
// switches its kind on.
void AddListFile(Reporter& reporter, Workspace& workspace, std::string_view path) {
  const std::optional<ListKind> kind = ListKindOfFileName(BaseName(path));
  if (!kind) {
    ReportMessage(reporter, kUnknownListKind);
    return;
  }
  if (const std::optional<int> index = SlotListIndex(*kind)) workspace.SetSwitch(*index, true);
  workspace.LoadList(reporter, *kind, path);
}

// Shows the path line and the refusal, and moves the output folders as any taken file does.
void RefuseFile(Reporter& reporter, Workspace& workspace, std::string_view shown_path) {
  AppendResultLine(reporter, shown_path);
  ShowMessageBox(reporter, UnusableFileText());
  workspace.SetCurrentFolders(DirectoryOf(shown_path));
}

}  // namespace

std::optional<std::string> TakeNativePath(Reporter& reporter, std::string_view native_path) {
  const std::string absolute = AbsoluteNativePath(native_path);
  std::optional<std::string> path = SjisPath(absolute);
  if (!path) {
    AppendResultLine(reporter, Utf8ToSjisReplacing(absolute));
    ShowMessageBox(reporter, UnusableFileText());
  }
  return path;
}

void AddDroppedPath(Reporter& reporter, Workspace& workspace, std::string_view path) {
  if (IsFile(path)) {
    AddListOrMidiFile(reporter, workspace, path);
    return;
  }
  // A folder, or a path that names nothing and so lists nothing. Names that Shift_JIS cannot
  // hold, or that hold a backslash, are shown with '?' in place of what does not fit and
  // refused.
  for (const std::string_view extension : {".csv", ".mid"}) {
    std::vector<std::string> unrepresentable;
    for (const std::string& name : ListFolder(path, extension, &unrepresentable)) {
      AddListOrMidiFile(reporter, workspace, JoinPath(path, name));
    }
    for (const std::string& native_name : unrepresentable) {
      RefuseFile(reporter, workspace, JoinPath(path, Utf8ToSjisReplacing(native_name)));
    }
  }
}

void AddListOrMidiFile(Reporter& reporter, Workspace& workspace, std::string_view path) {
  const std::string extension = ExtensionOf(path);
  const bool is_list = extension == "csv";
  const bool is_midi = extension == "mid" && FitsInRow(path);
  if (!is_list && !is_midi) {
    RefuseFile(reporter, workspace, path);
    return;
  }
  AppendResultLine(reporter, path);
  const std::string folder = DirectoryOf(path);
  if (is_list) {
    AddListFile(reporter, workspace, path);
  } else {
    AddMidiFile(reporter, workspace, path, folder);
  }
  workspace.SetCurrentFolders(folder);
}

}  // namespace quillmar
