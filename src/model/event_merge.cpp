#include "model/event_merge.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

#include "model/midi_track_data.h"

namespace quillmar {

std::vector<MusicEvent> MergeByTime(std::vector<std::vector<MusicEvent>> sequences) {
  // The next event of each sequence, by (absolute time, sequence index).
  using Head = std::pair<Ticks, std::size_t>;
  std::priority_queue<Head, std::vector<Head>, std::greater<>> heads;
  std::vector<std::size_t> next(sequences.size(), 0);
  std::size_t total = 0;
  for (std::size_t s = 0; s < sequences.size(); ++s) {
    total += sequences[s].size();
    if (!sequences[s].empty()) heads.emplace(sequences[s][0].delta, s);
  }
  std::vector<MusicEvent> merged;
  merged.reserve(total);
  Ticks last_time = 0;
  while (!heads.empty()) {
    const auto [time, s] = heads.top();
    heads.pop();
    std::vector<MusicEvent>& sequence = sequences[s];
    MusicEvent& event = sequence[next[s]++];
    event.delta = AddDeltas(time - last_time, 0);
    last_time = time;
    merged.push_back(std::move(event));
    if (next[s] < sequence.size()) heads.emplace(time + sequence[next[s]].delta, s);
  }
  return merged;
}

}  // namespace quillmar
