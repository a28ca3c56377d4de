#pragma once

#include <cstdint>
#include <vector>

#include "model/midi_track_data.h"

namespace quillmar {

// Turns ticks into seconds along the tempo changes of a track (a merged format-0 track sees
// them all). Before the first tempo the song runs at 120 quarters a minute; a division with
// its top bit set counts SMPTE frames and subframes instead of quarters.
class TempoMap {
 public:
  TempoMap(const MidiTrackData& track, std::int32_t division);
  double Seconds(Ticks tick) const;
  // The inverse: the tick (with its fraction) at a time in seconds from the start.
  double TickAt(double seconds) const;

 private:
  struct Step {
    Ticks tick;
    double seconds;
    double seconds_per_tick;
  };
  std::vector<Step> steps_;  // ticks rising; the first at tick 0
};

}  // namespace quillmar
