#pragma once

#include "lists/settings_list.h"
#include "model/midi_f1_data.h"

namespace quillmar {

// Puts the events that the order list's rows name first among the events of their tick,
// row 1's before row 2's and so on; other events keep their order, and no event changes its
// tick. Each row's keyword cell is read once; an unknown keyword is reported and matches
// nothing.
void ApplyOrderList(MidiF1Data& song, const SettingsList& list);

// One row's step on one track, for the event kind code, sub code (-1: any) and value text
// (empty: any) of the row. In each tick group the matching events move to the front in
// their order; a group's first event, when it carries the delta, is only tested once a later
// event has moved in front of it, so a matching one then follows the first moved.
void MoveMatchingEventsFirst(MidiTrackData& track, int kind, int sub, std::string_view value_text);

}  // namespace quillmar
