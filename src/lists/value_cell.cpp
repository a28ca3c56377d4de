#include "lists/value_cell.h"

#include "lists/list_error.h"
#include "platform/sjis.h"

namespace quillmar {
namespace {

// The mode a sign byte selects, or none for a byte that is not a sign.
std::optional<ValueMode> SignMode(char byte, bool is_last_byte) {
  switch (byte) {
    case '%':
      return ValueMode::PercentValue;
    case '+':
    case '#':
      return ValueMode::AddValue;
    case '-':
      return is_last_byte ? ValueMode::KeepValue : ValueMode::SubtractValue;
    default:
      return std::nullopt;
  }
}

}  // namespace

ValueCell ParseValueCell(Reporter& reporter, std::string_view cell) {
  if (cell.empty()) {
    ListError(reporter, kListDataError);
    return {};
  }
  ValueCell result{0, ValueMode::SetValue};
  bool sign_seen = false;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    const char byte = cell[i];
    if (byte >= '0' && byte <= '9') {
      result.number = result.number >= kMaxValueCellNumber / 10 ? kMaxValueCellNumber
                                                                : result.number * 10 + (byte - '0');
      continue;
    }
    if (byte == ' ') {
      ListError(reporter, kListExtraSpace);
      continue;
    }
    const std::optional<ValueMode> sign = SignMode(byte, i + 1 == cell.size());
    if (sign && !sign_seen) {
      result.mode = sign;
      sign_seen = true;
      continue;
    }
    // No sign byte is a trail byte, so a double-byte character is skipped whole.
    if (IsSjisLeadByte(static_cast<unsigned char>(byte)) && i + 1 < cell.size()) ++i;
    ListError(reporter, kListDataError);
  }
  return result;
}

}  // namespace quillmar
