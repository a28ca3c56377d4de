#pragma once

#include <string_view>

#include "model/midi_track_data.h"

namespace quillmar {

// The order list's step on one track, for the event kind code, sub code (-1: any) and value text
// (empty: any) of the row. In each tick group the matching events move to the front in
// their order; a group's first event, when it carries the delta, is only tested once a later
// event has moved in front of it, so a matching one then follows the first moved.
void MoveMatchingEventsFirst(MidiTrackData& track, int kind, int sub, std::string_view value_text);

}  // namespace quillmar
