#include "pipeline/output_slot.h"

#include <algorithm>

#include "lists/path_helpers.h"

namespace quillmar {

std::optional<std::string> OutputFileName(std::string_view cell) {
  std::string name = BaseName(cell);
  if (!IsPlainName(name)) return std::nullopt;
  return name;
}

bool OutputSlot::HasEnabledList() const {
  return std::any_of(enabled.begin(), enabled.end(), [](bool on) { return on; });
}

const SettingsList* OutputSlot::ActiveList(ListKind kind) const {
  const auto index = SlotListIndex(kind);
  if (!index || !enabled[static_cast<std::size_t>(*index)]) return nullptr;
  const auto& list = lists[static_cast<std::size_t>(*index)];
  return list ? &*list : nullptr;
}

}  // namespace quillmar
