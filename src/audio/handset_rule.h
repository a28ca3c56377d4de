#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/midi_track_data.h"

namespace quillmar {

// A note as a handset hears it: when it starts and ends, and which key of which channel.
struct HeardNote {
  Ticks start = 0;
  Ticks end = 0;
  std::int32_t channel = 0;
  std::int32_t key = 0;

  bool operator==(const HeardNote&) const = default;
};

// Which notes a handset that sounds at most `limit` notes at once leaves out: a note that
// starts while `limit` played notes sound is not played, and so never counts. Notes are
// counted as the simultaneous-notes figure counts them: a note ending where another starts no
// longer sounds there, and a note whose key already sounds on its channel adds nothing (it is
// played). `notes` are in the order they start (ties in the song's order); the result has one
// flag for each, true for a note left out.
std::vector<bool> LeftOutByHandset(std::span<const HeardNote> notes, int limit);

}  // namespace quillmar
