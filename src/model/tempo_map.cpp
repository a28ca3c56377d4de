#include "model/tempo_map.h"

#include <algorithm>

#include "model/music_event.h"

namespace quillmar {
namespace {

constexpr double kDefaultMicrosecondsPerQuarter = 500000.0;

// Seconds per tick at a tempo, or for a SMPTE division whatever the tempo.
double SecondsPerTick(std::int32_t division, double microseconds_per_quarter) {
  if (division & 0x8000) {
    const int frames = 256 - ((division >> 8) & 0xFF);  // the top byte is -frames per second
    const int ticks_per_frame = division & 0xFF;
    return frames > 0 && ticks_per_frame > 0 ? 1.0 / (frames * ticks_per_frame) : 0.0;
  }
  return division > 0 ? microseconds_per_quarter / 1e6 / division : 0.0;
}

}  // namespace

TempoMap::TempoMap(const MidiTrackData& track, std::int32_t division) {
  steps_.push_back({0, 0.0, SecondsPerTick(division, kDefaultMicrosecondsPerQuarter)});
  Ticks time = 0;
  for (const MusicEvent& event : track.Events()) {
    time += event.delta;
    if (!event.IsMeta(MetaType::Tempo) || event.value <= 0) continue;
    const Step& last = steps_.back();
    const Step step{time,
                    last.seconds + static_cast<double>(time - last.tick) * last.seconds_per_tick,
                    SecondsPerTick(division, event.value)};
    if (step.tick == last.tick) {
      steps_.back() = step;
    } else {
      steps_.push_back(step);
    }
  }
}

double TempoMap::Seconds(Ticks tick) const {
  const auto after = std::upper_bound(steps_.begin(), steps_.end(), tick,
                                      [](Ticks t, const Step& step) { return t < step.tick; });
  const Step& step = after == steps_.begin() ? steps_.front() : *std::prev(after);
  return step.seconds + static_cast<double>(tick - step.tick) * step.seconds_per_tick;
}

double TempoMap::TickAt(double seconds) const {
  const auto after =
      std::upper_bound(steps_.begin(), steps_.end(), seconds,
                       [](double time, const Step& step) { return time < step.seconds; });
  const Step& step = after == steps_.begin() ? steps_.front() : *std::prev(after);
  if (step.seconds_per_tick <= 0) return static_cast<double>(step.tick);
  return static_cast<double>(step.tick) + (seconds - step.seconds) / step.seconds_per_tick;
}

}  // namespace quillmar
