#include "shell/output_check.h"

#include <functional>
#include <set>
#include <string_view>
#include <utility>

#include "edit/edit_list.h"
#include "lists/path_helpers.h"
#include "lists/text_helpers.h"
#include "pipeline/beside_files.h"
#include "platform/file_identity.h"

namespace quillmar {
namespace {

// A set of files, found by resolved path or by inode.
class FileSet {
 public:
  bool Contains(const FileIdentity& file) const {
    return paths_.count(file.resolved) != 0 || (file.inode && inodes_.count(*file.inode) != 0);
  }
  void Add(const FileIdentity& file) {
    paths_.insert(file.resolved);
    if (file.inode) inodes_.insert(*file.inode);
  }

 private:
  std::set<std::string> paths_;
  std::set<std::pair<dev_t, ino_t>> inodes_;
};

// Every file the run reads: the rows' inputs and the lists loaded anywhere.
FileSet FilesRead(const Workspace& workspace) {
  FileSet files;
  const SettingsList& file_list = *workspace.FileList();
  files.Add(IdentityOf(file_list.Path()));
  for (int row = 1; row < file_list.RowCount(); ++row) {
    files.Add(IdentityOf(file_list.Cell(row, kInputColumn)));
  }
  for (int index = 0; index < kSlotCount; ++index) {
    for (const auto& list : workspace.Slot(index).lists) {
      if (list) files.Add(IdentityOf(list->Path()));
    }
  }
  return files;
}

// The names of the snapshot folders that the slot's edit list saves into (Save File=name),
// once for every Save row: two rows of one name write one file twice.
std::vector<std::string> SnapshotNames(const OutputSlot& slot) {
  std::vector<std::string> names;
  const SettingsList* edits = slot.ActiveList(ListKind::Edit);
  for (int row = 1; edits != nullptr && row < edits->RowCount(); ++row) {
    if (edits->Cell(row, 0) != "Save") continue;
    const auto [key, name] = SplitKeyValue(edits->Cell(row, 1));
    if (key == "File") names.push_back(name);
  }
  return names;
}

// The checked formats.
std::vector<OutputFormat> CheckedFormats(const FormatChoices& formats) {
  std::vector<OutputFormat> checked;
  for (const OutputFormat format : kOutputFormats) {
    if (formats.Checked(format)) checked.push_back(format);
  }
  return checked;
}

// Calls `visit` with every file the run writes, once per write, until it gives true: for
// every slot the run converts, every row and every checked format, the output, its timeline,
// its WAV file and the snapshots of the edit list's Save rows.
void ForEachOutput(const Workspace& workspace,
                   const std::function<bool(const std::string&)>& visit) {
  const SettingsList& file_list = *workspace.FileList();
  const std::vector<OutputFormat> formats = CheckedFormats(workspace.Formats());
  for (int index = 0; index < kSlotCount; ++index) {
    const OutputSlot& slot = workspace.Slot(index);
    if (!workspace.Converts(index)) continue;
    SnapshotPlaces places;
    places.folders = slot.folders;
    const std::vector<std::string> snapshots = SnapshotNames(slot);
    for (int row = 1; row < file_list.RowCount(); ++row) {
      const std::optional<std::string> name = OutputFileName(file_list.Cell(row, kOutputColumn));
      if (!name) continue;  // the row ends with its message and writes nothing
      places.output_name = *name;
      for (const OutputFormat format : formats) {
        if (visit(JoinPath(slot.folders[format], *name))) return;
        if (workspace.Formats().timelines &&
            visit(JoinPath(slot.folders[format], TimelineFileName(*name)))) {
          return;
        }
        if (workspace.Formats().wav_soundfont &&
            visit(JoinPath(slot.folders[format], WavFileName(*name)))) {
          return;
        }
        for (const std::string& snapshot : snapshots) {
          const auto path = SnapshotPath(places, snapshot, format);
          if (path && visit(*path)) return;
        }
      }
    }
  }
}

}  // namespace

OutputConflicts FindOutputConflicts(const Workspace& workspace) {
  OutputConflicts conflicts;
  if (!workspace.FileList()) return conflicts;
  const FileSet read = FilesRead(workspace);
  FileSet written;
  ForEachOutput(workspace, [&](const std::string& target) {
    const FileIdentity file = IdentityOf(target);
    if (!conflicts.overwritten_input && read.Contains(file)) conflicts.overwritten_input = target;
    if (!conflicts.written_twice && written.Contains(file)) conflicts.written_twice = target;
    written.Add(file);
    return conflicts.overwritten_input && conflicts.written_twice;
  });
  return conflicts;
}

bool RunReadsOrWrites(const Workspace& workspace, std::string_view path) {
  if (!workspace.FileList()) return false;
  const FileIdentity file = IdentityOf(path);
  if (FilesRead(workspace).Contains(file)) return true;
  bool written = false;
  ForEachOutput(workspace, [&](const std::string& target) {
    written = SameFile(IdentityOf(target), file);
    return written;
  });
  return written;
}

}  // namespace quillmar
