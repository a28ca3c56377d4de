#include "pipeline/order_list.h"
#include "edit/tick_group_order.h"

#include <gtest/gtest.h>

#include <random>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

// The walk as first written: move each matching event to the insertion point, one at a time.
void MoveMatchingFirstStepByStep(MidiTrackData& track, int kind, int sub) {
  auto matches = [&](const MusicEvent& e) {
    return static_cast<int>(e.kind) == kind && (sub == -1 || e.type == sub);
  };
  std::vector<MusicEvent> events = track.TakeEvents();
  for (std::size_t j = 0, p = 0; j < events.size();) {
    if (events[j].delta != 0) {
      p = j++;
    } else if (matches(events[j])) {
      const std::int32_t delta_at_p = events[p].delta;
      MusicEvent moved = std::move(events[j]);
      events.erase(events.begin() + static_cast<std::ptrdiff_t>(j));
      if (j != p) events[p].delta = 0;  // the event that stood at p follows the moved one
      moved.delta = delta_at_p;
      events.insert(events.begin() + static_cast<std::ptrdiff_t>(p), std::move(moved));
      j = ++p;
    } else {
      ++j;
    }
  }
  track.SetEvents(std::move(events));
}

class OrderList : public EditTest {
 protected:
  std::vector<std::string> Ordered(std::initializer_list<std::string_view> rows) {
    EditEnvironment environment{notices_, {}};
    ApplyOrderList(song_, List(ListKind::Order, rows), environment);
    return Events(0);
  }
};

TEST_F(OrderList, NamedEventsComeFirstInTheirTickRowOneFirst) {
  struct Case {
    const char* what;
    std::vector<MusicEvent> events;
    std::initializer_list<std::string_view> rows;
    std::vector<std::string> ordered;
  };
  const Case cases[] = {
      {"rows in priority order",
       {GateNote(120, 0, 60, 10), Control(0, 0, 7, 100), Program(0, 0, 5)},
       {"1,ProgramChange", "2,ChanelVolume"},
       {"120 PC0 5", "120 CC0 7=100", "120 Note0 60/10/100", "130 End"}},
      {"a matching first event follows the first one moved",
       {Program(120, 0, 1), Control(0, 0, 7, 1), Program(0, 0, 2)},
       {"1,ProgramChange"},
       {"120 PC0 2", "120 PC0 1", "120 CC0 7=1", "120 End"}},
      {"the track's first group starts at event 0 even with delta 0",
       {Program(0, 0, 1), Control(0, 0, 7, 1), Program(0, 0, 2)},
       {"1,ProgramChange"},
       {"0 PC0 1", "0 PC0 2", "0 CC0 7=1", "0 End"}},
      {"a value text must occur in the data",
       {GateNote(0, 0, 60, 10), Meta(0, MetaType::Marker, "B"), Meta(0, MetaType::Marker, "A")},
       {"1,Marker=A"},
       {"0 Meta6 A", "0 Note0 60/10/100", "0 Meta6 B", "10 End"}},
      {"extreme numbers are text a value must hold; an empty value names every event",
       {GateNote(0, 0, 60, 10), Program(0, 0, 1), Control(0, 0, 7, 1)},
       {"1,ProgramChange=-2147483648", "2,ChanelVolume=2147483647", "3,Pan=9223372036854775808",
        "4,ControlChange=-9223372036854775808", "5,Tempo=1e308", "6,ProgramChange=１２",
        "7,ProgramChange="},
       {"0 PC0 1", "0 Note0 60/10/100", "0 CC0 7=1", "10 End"}},
      {"only the header, or unknown keywords, change nothing",
       {GateNote(0, 0, 60, 10), Program(0, 0, 1)},
       {"1,Foo"},
       {"0 Note0 60/10/100", "0 PC0 1", "10 End"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    song_ = MidiF1Data(context_);
    std::vector<MusicEvent> events = c.events;
    Ticks end = 0;
    for (const MusicEvent& e : events) end += e.delta + (e.kind == EventKind::Note ? e.gate : 0);
    AddTrackEndingAt(end, std::move(events));
    EXPECT_EQ(Ordered(c.rows), c.ordered);
  }
}

// The one-pass reordering gives what the step-by-step walk gives, on random tracks.
TEST_F(OrderList, OnePassEqualsTheStepByStepWalk) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<MusicEvent> events;
    for (int i = 0, count = static_cast<int>(random() % 40); i < count; ++i) {
      const std::int32_t delta = random() % 3 == 0 ? static_cast<std::int32_t>(random() % 5) : 0;
      events.push_back(random() % 2 ? Program(delta, 0, i % 128) : Control(delta, 0, 7, i % 128));
    }
    events.push_back(EndOfTrack(0));
    MidiTrackData fast = TrackOf(context_, TrackForm::GateTimeForm, events);
    MidiTrackData slow = TrackOf(context_, TrackForm::GateTimeForm, events);
    MoveMatchingEventsFirst(fast, 192, -1, "");
    MoveMatchingFirstStepByStep(slow, 192, -1);
    ASSERT_EQ(fast.Count(), slow.Count());
    for (int i = 0; i < fast.Count(); ++i) {
      ASSERT_EQ(Describe(fast.Event(i), fast.Event(i).delta),
                Describe(slow.Event(i), slow.Event(i).delta))
          << round << " " << i << " of " << fast.Count();
    }
  }
}

}  // namespace
}  // namespace quillmar::testing
