#pragma once

#include <cstdint>
#include <functional>
#include <queue>
#include <unordered_set>
#include <vector>

#include "model/midi_track_data.h"

namespace quillmar {

// Whether a note joins while the same note of the same channel still sounds.
enum class NoteJoining { Always, OnePerKey };

// The notes sounding at the present moment of a walk through a song, as the simultaneous-notes
// figure counts them: a note ending exactly at a moment no longer sounds there, and with
// OnePerKey a note whose key already sounds on its channel does not join.
class SoundingNotes {
 public:
  explicit SoundingNotes(NoteJoining joining) : one_per_key_(joining == NoteJoining::OnePerKey) {}

  // Ends, earliest first, the notes that end at or before `time`, telling `ended` each one's
  // end and how many still sound after it.
  template <typename Ended>
  void EndUntil(Ticks time, Ended ended) {
    while (!sounding_.empty() && sounding_.top().end <= time) {
      const Sounding note = sounding_.top();
      sounding_.pop();
      if (one_per_key_) keys_.erase(note.key);
      ended(note.end, Count());
    }
  }
  // Whether a note of the channel and key would join.
  bool Joins(std::int32_t channel, std::int32_t key) const {
    return !one_per_key_ || !keys_.contains(KeyOf(channel, key));
  }
  // Adds a note that Joins, sounding until `end`.
  void Join(Ticks end, std::int32_t channel, std::int32_t key) {
    if (one_per_key_) keys_.insert(KeyOf(channel, key));
    sounding_.push({end, KeyOf(channel, key)});
  }
  int Count() const { return static_cast<int>(sounding_.size()); }

 private:
  struct Sounding {
    Ticks end;
    std::int64_t key;  // channel and note number
    bool operator>(const Sounding& other) const { return end > other.end; }
  };
  static std::int64_t KeyOf(std::int32_t channel, std::int32_t key) {
    return (std::int64_t{channel} << 32) | static_cast<std::uint32_t>(key);
  }

  bool one_per_key_;
  std::priority_queue<Sounding, std::vector<Sounding>, std::greater<>> sounding_;
  std::unordered_set<std::int64_t> keys_;
};

}  // namespace quillmar
