#pragma once

#include <vector>

#include "model/music_event.h"

namespace quillmar {

// Merges event sequences (each in time order, deltas relative to its own previous event)
// into one by absolute time, in one pass over all events. At equal times the events of the
// sequence with the lower index come first; each sequence keeps its own order. The deltas of
// the result are relative to the merged sequence.
std::vector<MusicEvent> MergeByTime(std::vector<std::vector<MusicEvent>> sequences);

}  // namespace quillmar
