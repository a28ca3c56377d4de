#pragma once

#include <string>
#include <string_view>

#include "report/report.h"

namespace quillmar {

// Kind codes of the event keywords: the event kinds they denote, plus the qualifiers and
// the unknown key.
namespace KindCode {
inline constexpr int kUnknown = 0;
inline constexpr int kQualifier = -1;  // Top, Track, Chanel, Beat, File, PitchBendSensitivity
inline constexpr int kNote = 16;
inline constexpr int kControlChange = 176;
inline constexpr int kProgramChange = 192;
inline constexpr int kPitchBend = 224;
inline constexpr int kSysExF0 = 240;
inline constexpr int kSysExF7 = 247;
inline constexpr int kMeta = 255;
}  // namespace KindCode

// A target cell of an edit list row or a cell of an order list, read as an event keyword:
// Key, Key=Value or Key=Value=More.
struct EventKeyword {
  int kind = KindCode::kUnknown;
  int sub = -1;            // meta type, controller number or system exclusive class; -1: any
  int number = 0;          // the leading integer of the value up to a second '='
  std::string value_text;  // the text after the first '='
  std::string key;         // the text before the first '='
  // The keyword has been reported and refused (a ControlChange other than 55): the command
  // does nothing further.
  bool refused = false;
};

// Reads a cell. A key outside the table reports message 12 and a detail line naming it,
// and gives kind kUnknown; ControlChange with a number other than 55 reports message 17 and
// is refused. The loop messages' value text is their system exclusive image.
EventKeyword ParseEventKeyword(Reporter& reporter, std::string_view cell);

}  // namespace quillmar
