#pragma once

#include "edit/edit_list.h"
#include "lists/settings_list.h"
#include "model/midi_f1_data.h"

namespace quillmar {

// Puts the events that the order list's rows name first among the events of their tick,
// row 1's before row 2's and so on; other events keep their order, and no event changes its
// tick. Each row's keyword cell is read once; an unknown keyword is reported and matches
// nothing. A row that reported anything is named after its lines, and the environment's
// explain and effects see each row as the edit list's rows.
void ApplyOrderList(MidiF1Data& song, const SettingsList& list, EditEnvironment& environment);

}  // namespace quillmar
