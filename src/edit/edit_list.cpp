#include "edit/edit_list.h"

#include <array>

#include "edit/edit_commands.h"
#include "edit/list_row_watch.h"
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
  ChannelRule channel_rule;
};

// In the order of their numbers, from 1.
constexpr std::array<Command, 11> kCommands{{
    {"Add", RunAdd, ChannelRule::kOneBasedOrEvery},
    {"Del", RunDel, ChannelRule::kOneBasedDel},
    {"Copy", RunCopy, ChannelRule::kOneBased},
    {"Conv", RunConv, ChannelRule::kOneBasedOrEvery},
    {"Split", RunSplit, ChannelRule::kOneBased},
    {"Move", RunMove, ChannelRule::kOneBased},
    {"Replace", RunReplace, ChannelRule::kOneBased},
    {"Check", RunCheck, ChannelRule::kOneBased},
    {"Save", RunSave, ChannelRule::kOneBased},
    {"Limit", RunLimit, ChannelRule::kZeroBased},
    {"Extract", RunExtract, ChannelRule::kOneBased},
}};

}  // namespace

int EditCommandNumber(std::string_view word) {
  for (std::size_t index = 0; index < kCommands.size(); ++index) {
    if (kCommands[index].word == word) return static_cast<int>(index) + 1;
  }
  return 0;
}

ChannelRule EditChannelRule(int number) {
  if (number < 1 || number > static_cast<int>(kCommands.size())) return ChannelRule::kOneBased;
  return kCommands[static_cast<std::size_t>(number - 1)].channel_rule;
}

void ApplyEditList(MidiF1Data& song, const SettingsList& list, EditEnvironment& environment) {
  environment.song_events.reset();  // the lists before may have changed the song
  for (int row = 1; row < list.RowCount(); ++row) {
    ListRowWatch watch(song, environment, list, row);
    const EditRow edit_row =
        ParseEditRow(song, {list.Cell(row, kCommandColumn), list.Cell(row, kTargetColumn),
                            list.Cell(row, kChannelColumn), list.Cell(row, kPositionColumn)});
    if (edit_row.command == 0) {
      ReportMessage(song.Context().Reports(), kEditListError);
    } else {
      kCommands[static_cast<std::size_t>(edit_row.command - 1)].run(edit_row, song, environment);
    }
    watch.Finish(song, environment);
  }
}

}  // namespace quillmar
