#pragma once

#include <string_view>

#include "edit/edit_notices.h"
#include "lists/settings_list.h"
#include "model/midi_f1_data.h"

namespace quillmar {

// One row of an edit list: the command word and its three argument cells. The position is
// in ticks already when the list wrote it as measure:beat:tick.
struct EditRow {
  std::string_view command;
  std::string_view target;
  std::string_view channel;
  std::string_view position;
};

// What edit rows need beyond the song and the row.
struct EditEnvironment {
  EditNotices& notices;
};

// The number of a command word (Add 1, Del 2, Copy 3, Conv 4, Split 5, Move 6, Replace 7,
// Check 8, Save 9, Limit 10, Extract 11), matched exactly; 0 for any other text.
int EditCommandNumber(std::string_view word);

// Runs the list's rows 1 to the last, top to bottom, against the song. A word that is no
// command reports message 11 and the row is skipped. A position written as
// measure:beat:tick is turned into ticks under this song's meter and division; the list
// itself is never changed, so every file of a run reads the row as written.
void ApplyEditList(MidiF1Data& song, const SettingsList& list, EditEnvironment& environment);

}  // namespace quillmar
