#pragma once

#include <optional>
#include <string_view>

#include "report/report.h"

namespace quillmar {

// How the number of a numeric list cell changes a value.
enum class ValueMode {
  SetValue = 0,       // digits only: replace the value
  AddValue = 1,       // '+' or '#' with digits: add the number
  SubtractValue = 2,  // '-' followed by digits: subtract the number
  PercentValue = 3,   // digits with '%': multiply by number / 100
  KeepValue = 4,      // '-' as the last byte (normally the lone "-"): leave the value alone
};

// Longer digit runs read as this number, so that a caller's product of it with a MIDI data
// value (0 to 127) stays well inside int.
inline constexpr int kMaxValueCellNumber = 1000000;

struct ValueCell {
  int number = -1;
  std::optional<ValueMode> mode;  // none for an empty cell
};

// Reads a numeric cell of the volume, tone and drum lists. An empty cell gives number -1,
// no mode and a data-error report. Otherwise the digits anywhere in the cell make the number
// (0 without digits) and the first of '%', '+', '#', '-' sets the mode; a space is reported
// as needless, and any other character, or a second mode sign, as a data error (a
// double-byte character is one report). Reports are made on every call.
ValueCell ParseValueCell(Reporter& reporter, std::string_view cell);

}  // namespace quillmar
