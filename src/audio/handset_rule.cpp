#include "audio/handset_rule.h"

#include <functional>
#include <queue>
#include <unordered_set>

namespace quillmar {

std::vector<bool> LeftOutByHandset(std::span<const HeardNote> notes, int limit) {
  struct Sounding {
    Ticks end;
    std::int64_t key;
    bool operator>(const Sounding& other) const { return end > other.end; }
  };
  std::priority_queue<Sounding, std::vector<Sounding>, std::greater<>> sounding;
  std::unordered_set<std::int64_t> sounding_keys;
  std::vector<bool> left_out(notes.size(), false);
  for (std::size_t index = 0; index < notes.size(); ++index) {
    const HeardNote& note = notes[index];
    while (!sounding.empty() && sounding.top().end <= note.start) {
      sounding_keys.erase(sounding.top().key);
      sounding.pop();
    }
    const std::int64_t key =
        (std::int64_t{note.channel} << 32) | static_cast<std::uint32_t>(note.key);
    if (sounding_keys.contains(key)) continue;
    if (static_cast<int>(sounding.size()) >= limit) {
      left_out[index] = true;
      continue;
    }
    sounding_keys.insert(key);
    sounding.push({note.end, key});
  }
  return left_out;
}

}  // namespace quillmar
