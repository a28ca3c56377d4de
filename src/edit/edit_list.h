#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/edit_notices.h"
#include "edit/edit_row.h"
#include "edit/row_effects.h"
#include "lists/settings_list.h"
#include "model/midi_f1_data.h"
#include "model/output_format.h"

namespace quillmar {

// Where Save writes its snapshots of the song: for each output format whether it is checked
// and the slot's folder for it; the input file's header format and the row's output file name.
struct SnapshotPlaces {
  PerOutputFormat<bool> checked;
  PerOutputFormat<std::string> folders;
  int input_format = 1;
  std::string output_name;
};

// What edit rows need beyond the song and the row.
struct EditEnvironment {
  EditNotices& notices;
  SnapshotPlaces snapshots;
  // False once a Save row could not write one of its files: the row is then incomplete.
  bool snapshots_written = true;
  // With explain, a line after each edit- and order-list row tells what it did to the song.
  bool explain = false;
  // When set, receives what each edit- and order-list row did, in the order they ran.
  std::vector<RowEffect>* effects = nullptr;
  // While what rows did is worked out: the song's events as the last row left them, so that
  // each row takes one picture of the song. Cleared where a list starts.
  std::optional<SongEvents> song_events{};
};

// The file that a Save row (target File=name) writes for an output format: the output name in
// the folder `name` inside the slot's folder of that format.
// None when the name would leave the slot's folder or names no folder (see IsPlainName).
[[nodiscard]] std::optional<std::string> SnapshotPath(const SnapshotPlaces& places,
                                                      std::string_view name, OutputFormat format);

// The number of a command word (Add 1, Del 2, Copy 3, Conv 4, Split 5, Move 6, Replace 7,
// Check 8, Save 9, Limit 10, Extract 11), matched exactly; 0 for any other text.
int EditCommandNumber(std::string_view word);

// How the command of the number reads its channel cell; kOneBased for no command.
ChannelRule EditChannelRule(int number);

// Runs the list's rows 1 to the last, top to bottom, against the song. A word that is no
// command reports message 11 and the row is skipped. A position written as
// measure:beat:tick is turned into ticks under this song's meter and division; the list
// itself is never changed, so every file of a run reads the row as written. A row that
// reported anything is named after its lines (see ListRowWatch).
void ApplyEditList(MidiF1Data& song, const SettingsList& list, EditEnvironment& environment);

}  // namespace quillmar
