#pragma once

#include "lists/settings_list.h"
#include "model/midi_f1_data.h"

namespace quillmar {

// Applies a drum list to a song: each row changes the velocity of one drum note, or replaces
// it by another note, in every track of the drum channel. Rows see the notes that earlier
// rows substituted.
void ApplyDrumList(MidiF1Data& song, const SettingsList& list);

}  // namespace quillmar
