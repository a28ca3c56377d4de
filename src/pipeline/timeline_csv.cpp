#include "pipeline/timeline_csv.h"

#include <cstdio>

namespace quillmar {

std::string TimelineCsv(const std::vector<SoundingChange>& timeline, const TempoMap& tempo) {
  std::string csv = "tick,seconds,notes\n";
  auto append = [&](const SoundingChange& change) {
    char line[96];
    const int size =
        std::snprintf(line, sizeof line, "%lld,%.6f,%d\n", static_cast<long long>(change.tick),
                      tempo.Seconds(change.tick), change.notes);
    csv.append(line, static_cast<std::size_t>(size));
  };
  if (timeline.empty() || timeline.front().tick > 0) append({0, 0});
  for (const SoundingChange& change : timeline) append(change);
  return csv;
}

}  // namespace quillmar
