#include "edit/edit_list.h"

#include <array>
#include <string>

#include "edit/edit_commands.h"
#include "lists/text_helpers.h"
#include "report/message_catalogue.h"

namespace quillmar {
namespace {

constexpr int kCommandColumn = 0;
constexpr int kTargetColumn = 1;
constexpr int kChannelColumn = 2;
constexpr int kPositionColumn = 3;

using EditHandler = void (*)(const EditRow&, MidiF1Data&, EditEnvironment&);

struct Command {
  std::string_view word;
  EditHandler run;
};

// In the order of their numbers, from 1.
constexpr std::array<Command, 11> kCommands{{
    {"Add", RunAdd},
    {"Del", RunDel},
    {"Copy", RunCopy},
    {"Conv", RunConv},
    {"Split", RunSplit},
    {"Move", RunMove},
    {"Replace", RunReplace},
    {"Check", RunCheck},
    {"Save", RunSave},
    {"Limit", RunLimit},
    {"Extract", RunExtract},
}};

// The position cell with measure:beat:tick (one-based measure and beat; missing parts 0)
// turned into the decimal tick of this song.
std::string PositionInTicks(const MidiF1Data& song, const std::string& cell) {
  if (cell.find(':') == std::string::npos) return cell;
  std::array<int, 3> parts{};
  std::size_t start = 0;
  for (int& part : parts) {
    if (start > cell.size()) break;
    const std::size_t end = std::min(cell.find(':', start), cell.size());
    part = LeadingInteger(std::string_view(cell).substr(start, end - start));
    start = end + 1;
  }
  return std::to_string(song.BarToTicks(ZeroBased(parts[0]), ZeroBased(parts[1]), parts[2]));
}

}  // namespace

int EditCommandNumber(std::string_view word) {
  for (std::size_t index = 0; index < kCommands.size(); ++index) {
    if (kCommands[index].word == word) return static_cast<int>(index) + 1;
  }
  return 0;
}

void ApplyEditList(MidiF1Data& song, const SettingsList& list, EditEnvironment& environment) {
  for (int row = 1; row < list.RowCount(); ++row) {
    const std::string position = PositionInTicks(song, list.Cell(row, kPositionColumn));
    const int number = EditCommandNumber(list.Cell(row, kCommandColumn));
    if (number == 0) {
      ReportMessage(song.Context().Reports(), kEditListError);
      continue;
    }
    const EditRow edit_row{list.Cell(row, kCommandColumn), list.Cell(row, kTargetColumn),
                           list.Cell(row, kChannelColumn), position};
    kCommands[static_cast<std::size_t>(number - 1)].run(edit_row, song, environment);
  }
}

}  // namespace quillmar
