#pragma once

#include "lists/settings_list.h"
#include "model/midi_f1_data.h"

namespace quillmar {

// Applies a tone list to a song: each row changes the volume, velocities, octave, bank select
// and program of every melodic track that plays the row's program. Rows see the programs
// that earlier rows substituted.
void ApplyToneList(MidiF1Data& song, const SettingsList& list);

}  // namespace quillmar
