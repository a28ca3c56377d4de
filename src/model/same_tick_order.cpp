#include "model/midi_track_data.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "model/model_errors.h"

namespace quillmar {
namespace {

// Reorders the events of every tick group (a slot with a non-zero delta, or slot 0, and the
// zero-delta slots after it) so that the events `stays` rejects come first. The order is the
// one of a walk that scans the group, swaps each rejected event into the group's next front
// slot and rescans from the slot after it. The events that walk has passed over behave like a
// queue that rotates by one on every swap: its head moves to the slot just emptied at its
// back. The group's first event is passed over unchecked; the first rotation brings it to the
// back, where the rescan checks it and, if rejected, moves it to the front after all. Each
// group is therefore arranged in one pass; slots keep their deltas.
template <typename Stays>
class GroupArranger {
 public:
  explicit GroupArranger(Stays stays) : stays_(stays) {}

  void Arrange(std::span<MusicEvent> events) {
    std::size_t start = 0;
    while (start < events.size()) {
      std::size_t end = start + 1;
      while (end < events.size() && events[end].delta == 0) ++end;
      ArrangeGroup(events.subspan(start, end - start));
      start = end;
    }
  }

 private:
  void ArrangeGroup(std::span<MusicEvent> group) {
    moved_.clear();
    queue_.clear();
    std::size_t head = 0;
    auto rotate = [&] { queue_.push_back(queue_[head++]); };
    // A first event with a non-zero delta is passed over without a check.
    bool first_unchecked = group[0].delta != 0;
    if (first_unchecked) queue_.push_back(0);
    for (std::size_t j = first_unchecked ? 1 : 0; j < group.size(); ++j) {
      if (stays_(group[j])) {
        queue_.push_back(j);
        continue;
      }
      // A rejected event goes to the front; the queue's head moves to its back.
      moved_.push_back(j);
      if (head == queue_.size()) continue;
      rotate();
      // The first rotation brings the unchecked first event to the back, where it is checked.
      if (!first_unchecked) continue;
      first_unchecked = false;
      if (stays_(group[queue_.back()])) continue;
      moved_.push_back(queue_.back());
      queue_.pop_back();
      if (head < queue_.size()) rotate();
    }
    if (moved_.empty()) return;

    // Slot k receives the event of slot order[k]: the moved events, then the queue. The
    // permutation is applied cycle by cycle in place (a done slot gets order[k] = k); each slot
    // keeps its delta.
    const std::int32_t group_delta = group[0].delta;
    std::vector<std::size_t>& order = moved_;
    order.insert(order.end(), queue_.begin() + static_cast<std::ptrdiff_t>(head), queue_.end());
    for (std::size_t start = 0; start < order.size(); ++start) {
      if (order[start] == start) continue;
      MusicEvent held = std::move(group[start]);
      std::size_t slot = start;
      while (order[slot] != start) {
        const std::size_t from = order[slot];
        group[slot] = std::move(group[from]);
        order[slot] = slot;
        slot = from;
      }
      group[slot] = std::move(held);
      order[slot] = slot;
    }
    for (std::size_t slot = 0; slot < group.size(); ++slot) {
      group[slot].delta = slot == 0 ? group_delta : 0;
    }
  }

  Stays stays_;
  std::vector<std::size_t> moved_;
  std::vector<std::size_t> queue_;
};

}  // namespace

void MidiTrackData::GroupNonNotesFirst() {
  if (form_ != TrackForm::OnOffForm) {
    ReportTrackError(Context(), kTrackInternalError);
    return;
  }
  GroupArranger([](const MusicEvent& event) {
    return event.IsNoteOn() || event.IsNoteOff() || event.IsMeta(MetaType::EndOfTrack);
  }).Arrange(events_);
}

void MidiTrackData::GroupSysExFirst() {
  GroupArranger([](const MusicEvent& event) {
    return event.kind != EventKind::SysExF0 && event.kind != EventKind::SysExF7;
  }).Arrange(events_);
}

// Within a tick group each note-off is exchanged with the nearest note-on before it. The
// slots of the group that hold note-ons are kept on a stack: the top is that nearest one, and
// after the exchange the note-off's slot holds the note-on instead.
void MidiTrackData::NoteOffsBeforeNoteOns() {
  if (form_ != TrackForm::OnOffForm) {
    ReportTrackError(Context(), kTrackInternalError);
    return;
  }
  std::vector<int> note_on_slots;
  for (int i = 0; i < Count(); ++i) {
    const MusicEvent& event = Event(i);
    if (event.delta != 0) note_on_slots.clear();
    if (event.IsNoteOn()) {
      note_on_slots.push_back(i);
    } else if (event.IsNoteOff() && !note_on_slots.empty()) {
      SwapEvents(i, note_on_slots.back());
      note_on_slots.back() = i;
    }
  }
}

}  // namespace quillmar
