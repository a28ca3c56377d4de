#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/midi_f1_data.h"

namespace quillmar {

// How a command reads the number in its channel cell; "-" is every channel in each.
enum class ChannelRule {
  kOneBased,         // N is channel N - 1; outside 1-16 it is no track's channel
  kOneBasedOrEvery,  // as kOneBased, but N of 0 or less is every channel too (Add, Conv)
  kOneBasedDel,      // as kOneBased, but N of 256 (255, the mark of no channel) is every one
  kZeroBased,        // N is channel N (Limit)
};

// Which of the chosen tracks a command touches: all of them, or only those with a channel.
enum class TrackScope { kAny, kWithChannel };

// The tracks a channel cell chooses: every track, or those of one channel. A cell Track=N,
// the old way of naming one track, also keeps N for the commands that still accept it.
struct ChannelSelection {
  bool every = false;
  std::int32_t channel = kNoChannel;  // when not every; may be no channel 0-15 at all
  std::optional<std::string> old_track;
  std::string_view text;  // the cell as written

  static ChannelSelection Every() {
    ChannelSelection every;
    every.every = true;
    return every;
  }
  static ChannelSelection One(std::int32_t channel) {
    ChannelSelection one;
    one.channel = channel;
    return one;
  }

  // True when the cell names this one channel (not every channel).
  bool Names(std::int32_t one) const { return !every && channel == one; }
  bool Chooses(std::int32_t track_channel, TrackScope scope = TrackScope::kAny) const {
    if (scope == TrackScope::kWithChannel && track_channel == kNoChannel) return false;
    return every || track_channel == channel;
  }
};

ChannelSelection ReadChannelCell(std::string_view cell, ChannelRule rule);

// Calls `fn` with each track the selection chooses, in song order. `fn` must not add or
// remove tracks.
void ForEachTrack(MidiF1Data& song, const ChannelSelection& selection,
                  const std::function<void(MidiTrackData&)>& fn,
                  TrackScope scope = TrackScope::kAny);

}  // namespace quillmar
