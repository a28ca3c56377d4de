#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

// The reorderings as plain walks with SwapEvents (quadratic in a tick group's size).
template <typename Moves>
void GroupFirstWalk(MidiTrackData& track, Moves moves) {
  int g = 0;
  int j = 0;
  while (j < track.Count()) {
    if (track.Event(j).delta != 0) {
      g = j++;
    } else if (!moves(track.Event(j))) {
      ++j;
    } else {
      track.SwapEvents(j, g);
      j = ++g;
    }
  }
}

bool IsNonNote(const MusicEvent& event) {
  return event.kind != EventKind::NoteOn && event.kind != EventKind::NoteOff &&
         !event.IsMeta(MetaType::EndOfTrack);
}

bool IsSysEx(const MusicEvent& event) {
  return event.kind == EventKind::SysExF0 || event.kind == EventKind::SysExF7;
}

void NoteOffsBeforeNoteOnsWalk(MidiTrackData& track) {
  for (int i = 0; i < track.Count(); ++i) {
    if (track.Event(i).kind != EventKind::NoteOff) continue;
    for (int k = i - 1; k >= 0 && track.Event(k + 1).delta == 0; --k) {
      if (track.Event(k).kind == EventKind::NoteOn) {
        track.SwapEvents(i, k);
        break;
      }
    }
  }
}

// Each event carries its original slot in `gate` (unused by these kinds), so an order is the
// list of (original slot, delta) per slot.
std::vector<std::pair<int, int>> OrderOf(const MidiTrackData& track) {
  std::vector<std::pair<int, int>> order;
  for (const MusicEvent& event : track.Events()) order.emplace_back(event.gate, event.delta);
  return order;
}

std::vector<MusicEvent> RandomEvents(std::mt19937& random) {
  const std::vector<MusicEvent> kinds = {NoteOn(0, 0, 60),       NoteOff(0, 0, 60),
                                         Control(0, 1, 7, 100),  Program(0, 2, 5),
                                         SysEx(0, {0xF0, 0xF7}), Meta(0, MetaType::Marker, "m"),
                                         EndOfTrack(),           MusicEvent(0)};
  const int count = std::uniform_int_distribution<int>(1, 40)(random);
  std::vector<MusicEvent> events;
  for (int i = 0; i < count; ++i) {
    MusicEvent event = kinds[random() % kinds.size()];
    if (event.kind == EventKind::SysExF0 && random() % 2 == 0) event.kind = EventKind::SysExF7;
    event.delta = random() % 4 == 0 ? static_cast<int>(random() % 3) + 1 : 0;
    event.gate = i;
    events.push_back(std::move(event));
  }
  return events;
}

TEST(SameTickOrder, ATickOfNoteOnControlNoteOffBecomesControlNoteOffNoteOn) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::OnOffForm,
                       {NoteOn(10, 0, 60), Control(0, 0, 7, 100), NoteOff(0, 0, 62), EndOfTrack()});
  track.GroupNonNotesFirst();
  EXPECT_EQ(track.Event(0).kind, EventKind::ControlChange);
  EXPECT_EQ(track.Event(1).note, 60);
  EXPECT_EQ(track.Event(2).note, 62);
  track.GroupSysExFirst();
  track.NoteOffsBeforeNoteOns();
  EXPECT_EQ(track.Event(0).kind, EventKind::ControlChange);
  EXPECT_EQ(track.Event(1).kind, EventKind::NoteOff);
  EXPECT_EQ(track.Event(2).kind, EventKind::NoteOn);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{10, 10, 10, 10}));
}

TEST(SameTickOrder, NoteReorderingsNeedTheOnOffFormButSysExGroupingDoesNot) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {NoteOn(5, 0, 60), NoteOff(0, 0, 61), SysEx(0, {0xF0, 0xF7}), EndOfTrack()});
  track.GroupNonNotesFirst();
  track.NoteOffsBeforeNoteOns();
  EXPECT_EQ(sink.CountReported("MidiTrackDataで内部エラーが発生しました。"), 2);
  EXPECT_EQ(track.Event(0).kind, EventKind::NoteOn);
  track.GroupSysExFirst();
  EXPECT_EQ(track.Event(0).kind, EventKind::SysExF0);
  EXPECT_EQ(track.Event(0).delta, 5);
}

TEST(SameTickOrder, FastReorderingsEqualThePlainWalksOnRandomTracks) {
  using Reorder = void (*)(MidiTrackData&);
  const std::vector<std::pair<Reorder, Reorder>> reorderings = {
      {[](MidiTrackData& t) { t.GroupNonNotesFirst(); },
       [](MidiTrackData& t) { GroupFirstWalk(t, IsNonNote); }},
      {[](MidiTrackData& t) { t.GroupSysExFirst(); },
       [](MidiTrackData& t) { GroupFirstWalk(t, IsSysEx); }},
      {[](MidiTrackData& t) { t.NoteOffsBeforeNoteOns(); }, NoteOffsBeforeNoteOnsWalk},
  };
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    std::mt19937 random(seed);
    const std::vector<MusicEvent> events = RandomEvents(random);
    // Each reordering alone, and all three in turn as a format-0 song is written.
    auto chained_fast = TrackOf(context, TrackForm::OnOffForm, events);
    auto chained_plain = TrackOf(context, TrackForm::OnOffForm, events);
    for (std::size_t step = 0; step < reorderings.size(); ++step) {
      const auto [fast_reorder, plain_reorder] = reorderings[step];
      auto fast = TrackOf(context, TrackForm::OnOffForm, events);
      auto plain = TrackOf(context, TrackForm::OnOffForm, events);
      fast_reorder(fast);
      plain_reorder(plain);
      ASSERT_EQ(OrderOf(fast), OrderOf(plain)) << "seed " << seed << ", step " << step;
      fast_reorder(chained_fast);
      plain_reorder(chained_plain);
      ASSERT_EQ(OrderOf(chained_fast), OrderOf(chained_plain)) << "seed " << seed;
    }
  }
}

}  // namespace
}  // namespace quillmar
