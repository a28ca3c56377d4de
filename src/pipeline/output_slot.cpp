#include "pipeline/output_slot.h"

#include <algorithm>

#include "lists/path_helpers.h"

namespace quillmar {
namespace {

// The member that holds the choice of a format.
bool FormatChoices::*ChoiceOf(OutputFormat format) {
  static constexpr PerOutputFormat<bool FormatChoices::*> kChoices = {
      {&FormatChoices::same_as_original, &FormatChoices::format0, &FormatChoices::format1}};
  return kChoices[format];
}

}  // namespace

std::optional<std::string> OutputFileName(std::string_view cell) {
  std::string name = BaseName(cell);
  if (!IsPlainName(name)) return std::nullopt;
  return name;
}

bool& FormatChoices::Checked(OutputFormat format) {
  return this->*ChoiceOf(format);
}

bool FormatChoices::Checked(OutputFormat format) const {
  return this->*ChoiceOf(format);
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
