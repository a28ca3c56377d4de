// Speed of the event record: events are values in contiguous tables, so copying and
// shifting a track of the largest legal size must stay cheap.
#include <benchmark/benchmark.h>

#include <vector>

#include "model/music_event.h"

namespace quillmar {
namespace {

std::vector<MusicEvent> MakeTrack(int count) {
  std::vector<MusicEvent> events;
  events.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    MusicEvent event(i % 7);
    event.kind = EventKind::NoteOn;
    event.note = i % 128;
    event.velocity = 100;
    event.channel = i % 16;
    event.data = "\x90\x3C\x64";
    events.push_back(std::move(event));
  }
  return events;
}

void BM_CopyTrack(benchmark::State& state) {
  const auto events = MakeTrack(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto copy = events;
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CopyTrack)->Arg(20000)->Arg(80000)->Complexity(benchmark::oN);

}  // namespace
}  // namespace quillmar
