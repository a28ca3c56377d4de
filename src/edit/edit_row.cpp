#include "edit/edit_row.h"

#include <algorithm>
#include <array>

#include "edit/edit_list.h"

namespace quillmar {
namespace {

// The cell with measure:beat:tick (one-based measure and beat; missing parts 0) turned into
// the decimal tick of this song.
std::string PositionInTicks(const MidiF1Data& song, std::string_view cell) {
  if (cell.find(':') == std::string_view::npos) return std::string(cell);
  std::array<int, 3> parts{};
  std::size_t start = 0;
  for (int& part : parts) {
    if (start > cell.size()) break;
    const std::size_t end = std::min(cell.find(':', start), cell.size());
    part = LeadingInteger(cell.substr(start, end - start));
    start = end + 1;
  }
  return std::to_string(song.BarToTicks(ZeroBased(parts[0]), ZeroBased(parts[1]), parts[2]));
}

RowPosition ReadPosition(const MidiF1Data& song, std::string_view cell) {
  RowPosition position;
  position.text = PositionInTicks(song, cell);
  position.number = LeadingInteger(position.text);
  if (position.text == "-") {
    position.form = RowPosition::Form::kNone;
  } else if (position.text == "End") {
    position.form = RowPosition::Form::kEnd;
  } else if (IsAllDigits(position.text)) {
    position.form = RowPosition::Form::kTick;
  } else {
    position.form = RowPosition::Form::kKeyword;
  }
  return position;
}

}  // namespace

EditRow ParseEditRow(const MidiF1Data& song, const EditCells& cells) {
  KeyOpValue parts = SplitKeyOpValue(cells.target);
  const std::int32_t number = LeadingInteger(parts.value);
  const int command = EditCommandNumber(cells.command);
  return {command,
          {cells.target, std::move(parts), number},
          ReadChannelCell(cells.channel, EditChannelRule(command)),
          ReadPosition(song, cells.position)};
}

}  // namespace quillmar
