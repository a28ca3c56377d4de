#include "shell/workspace.h"

#include <algorithm>

namespace quillmar {

Workspace::Workspace(std::string start_folder) : start_folder_(std::move(start_folder)) {}

void Workspace::SaveSwitches() {
  Current().enabled = switches_;
}

void Workspace::SelectSlot(int index) {
  SaveSwitches();
  current_slot_ = std::clamp(index, 0, kSlotCount - 1);
  switches_ = Current().enabled;
}

void Workspace::LoadList(Reporter& reporter, ListKind kind, std::string_view path) {
  SettingsList list =
      SettingsList::Load(reporter, path, ColumnCountOf(kind), ',', CellLimitOf(kind));
  if (const auto index = SlotListIndex(kind)) {
    Current().lists[static_cast<std::size_t>(*index)] = std::move(list);
  } else {
    // Loading a list of the most rows it can hold reports that it holds too many.
    file_list_full_reported_ = list.RowCount() == kListRowLimit;
    midi_files_left_out_ = false;
    file_list_ = std::move(list);
  }
}

void Workspace::SetCurrentFolders(std::string_view folder) {
  Current().folders.values.fill(std::string(folder));
}

}  // namespace quillmar
