#pragma once

#include <cstdint>
#include <string_view>

#include "lists/settings_list.h"
#include "lists/value_cell.h"
#include "model/midi_f1_data.h"
#include "model/midi_track_data.h"

namespace quillmar {

// Applies a volume list to a song: "Master" rows set the master volume, channel rows (1 to
// 16) change the volume, velocities, pan and gate times of every track of that channel.
void ApplyVolumeList(MidiF1Data& song, const SettingsList& list);

// What a numeric cell's mode and number make of `value`: the number itself, value plus or
// minus it, value times it over 100 (truncating toward zero), or value unchanged.
std::int64_t ChangedValue(std::int64_t value, ValueMode mode, int number);

// Limits a value to the MIDI data range 0 to 127.
std::int32_t ClampToMidi(std::int64_t value);

// The volume step on track `track_index` of the song, with the cell parsed anew. A track
// with volume events of its own has them changed; a track without any gets message 16 when
// another track of its channel has one, and otherwise message 2 and an inserted volume
// computed from 100.
void ApplyVolumeCell(MidiF1Data& song, int track_index, std::string_view cell);

// The velocity step on every Note of the track, with the cell parsed anew. A velocity of 0
// is changed only by a plain number.
void ApplyVelocityCell(MidiTrackData& track, std::string_view cell);

}  // namespace quillmar
