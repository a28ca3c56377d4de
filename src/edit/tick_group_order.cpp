#include "edit/tick_group_order.h"

#include <string>
#include <vector>

#include "lists/text_helpers.h"

namespace quillmar {
namespace {

// Reorders one tick group, events[first, end), as described for MoveMatchingEventsFirst,
// appending it to `out`.
void OrderGroup(std::vector<MusicEvent>& events, std::size_t first, std::size_t end,
                const std::vector<bool>& matches, std::vector<MusicEvent>& out) {
  const std::int32_t delta = events[first].delta;
  const bool first_untested = delta != 0;
  std::vector<std::size_t> moved;
  std::vector<std::size_t> kept;
  for (std::size_t i = first_untested ? first + 1 : first; i < end; ++i) {
    (matches[i] ? moved : kept).push_back(i);
  }
  if (first_untested) {
    // Tested only when something moved in front of it: then, matching, it follows the first.
    if (!moved.empty() && matches[first]) {
      moved.insert(moved.begin() + 1, first);
    } else {
      kept.insert(kept.begin(), first);
    }
  }
  const std::size_t start = out.size();
  for (const std::size_t i : moved) out.push_back(std::move(events[i]));
  for (const std::size_t i : kept) out.push_back(std::move(events[i]));
  for (std::size_t i = start; i < out.size(); ++i) out[i].delta = i == start ? delta : 0;
}

}  // namespace

void MoveMatchingEventsFirst(MidiTrackData& track, int kind, int sub, std::string_view value_text) {
  std::vector<MusicEvent> events = track.TakeEvents();
  std::vector<bool> matches(events.size());
  bool any = false;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const MusicEvent& event = events[i];
    matches[i] = static_cast<int>(event.kind) == kind && (sub == -1 || event.type == sub) &&
                 (value_text.empty() || ContainsText(event.data, value_text));
    any = any || matches[i];
  }
  if (!any) {
    track.SetEvents(std::move(events));
    return;
  }
  std::vector<MusicEvent> ordered;
  ordered.reserve(events.size());
  for (std::size_t first = 0; first < events.size();) {
    std::size_t end = first + 1;
    while (end < events.size() && events[end].delta == 0) ++end;
    OrderGroup(events, first, end, matches, ordered);
    first = end;
  }
  track.SetEvents(std::move(ordered));
}

}  // namespace quillmar
