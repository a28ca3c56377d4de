#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>

#include "edit/edit_commands.h"
#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

using namespace std::string_view_literals;

MusicEvent Bend(std::int32_t delta, std::int32_t value, std::int32_t channel = 0) {
  MusicEvent event = ChannelEvent(EventKind::PitchBend, delta, channel);
  event.value = value;
  return event;
}

class ReplaceCommand : public EditTest {
 protected:
  // A cue point, the markers LOOP and STOP, the loop messages (the start with a byte after
  // its F7).
  void BuildSong() {
    song_ = MidiF1Data(context_);
    sink_.Clear();
    AddTrackEndingAt(960, {Meta(0, MetaType::CuePoint, "Q0F"), Meta(240, MetaType::Marker, "LOOP"),
                           SysEx(0, {0xF0, 9, 0x59, 0x7F, 0x48, 0x4D, 2, 0x0D, 0, 0, 0xF7, 0x33}),
                           Meta(240, MetaType::Marker, "STOP"),
                           SysEx(0, {0xF0, 9, 0x59, 0x7F, 0x48, 0x4D, 2, 0x0D, 0, 1, 0xF7})});
  }

  // A row with bytes that a list file in UTF-8 cannot hold.
  void RunRow(std::string_view target, std::string_view position) {
    EditEnvironment environment{notices_, {}};
    RunReplace(ParseEditRow(song_, {"Replace", target, "-", position}), song_, environment);
  }
};

TEST_F(ReplaceCommand, ChangesMetaTextsAndSystemExclusiveMessages) {
  BuildSong();
  const std::vector<std::string> original = Events(0);
  const std::string loop_start = "240 SysEx F0 09 59 7F 48 4D 02 0D 00 00 F7";
  const std::vector<std::pair<const char*, std::map<std::size_t, std::string>>> changes = {
      {"Replace,Marker,-,CuePoint", {{0, "0 Meta6 Q0F"}}},
      {"Replace,CuePoint=Q1,-,Marker=STOP", {{3, "480 Meta7 Q1"}}},
      {"Replace,LoopSysExStart,-,Marker=LOOP", {{1, loop_start}}},
      {"Replace,Marker=LOOP,-,LoopSysExStart", {{2, "240 Meta6 LOOP"}}},
      {"Replace,Text=x,-,Marker=GO", {}},
  };
  for (const auto& [row, changed] : changes) {
    SCOPED_TRACE(row);
    BuildSong();
    Edit({row});
    std::vector<std::string> expected = original;
    for (const auto& [at, event] : changed) expected[at] = event;
    EXPECT_EQ(Events(0), expected);
    EXPECT_EQ(Reported(), std::vector<std::string>{});
  }
  // Types without a text are refused, as an unknown key is after its report.
  BuildSong();
  Edit({"Replace,Tempo,-,Marker", "Replace,Marker,-,Tempo", "Replace,MasterVolume=1,-,Marker=STOP",
        "Replace,Foo=1,-,Marker=LOOP"});
  EXPECT_EQ(Events(0), original);
  EXPECT_EQ(Reported(), (std::vector<std::string>{kEditError, kEditError, kEditError,
                                                  "編集リストか順序リストに誤りがあります。",
                                                  "   問題のある指定  Foo", kEditError}));
}

TEST_F(ReplaceCommand, SystemExclusiveValueRunsThroughItsFirstF7) {
  BuildSong();
  RunRow("SysExF0=\xF0\x07\x7F\x7F\x04\x01\x00\x64\xF7\x55"sv, "Marker=LOOP");
  EXPECT_EQ(Events(0)[1], "240 SysEx F0 07 7F 7F 04 01 00 64 F7");
  EXPECT_EQ(song_.Track(0).Event(1).type, SysExClass::MasterVolume);
  RunRow("Marker=MV", "SysExF0=\xF0\x07\x7F\x7F\x04\x01\x00\x64\xF7"sv);
  EXPECT_EQ(Events(0)[1], "240 Meta6 MV");
  const std::vector<std::string> before = Events(0);
  RunRow("SysExF0=\xF0\x01\x02", "Marker=STOP");  // no end: refused
  EXPECT_EQ(Events(0), before);
  EXPECT_EQ(Reported(), std::vector<std::string>{kEditError});
}

TEST_F(ReplaceCommand, TurnsPitchBendsIntoNotes) {
  struct Case {
    const char* channel;
    std::vector<MusicEvent> events;
    std::vector<std::string> expected;  // the track ends at 960
    std::vector<std::string> lines = {};
  };
  const Case cases[] = {
      {"-",  // a bend inside a note continues it a step higher
       {GateNote(0, 0, 60, 480), Bend(0, 64), Bend(240, 96)},
       {"0 Note0 60/240/100", "240 Note0 62/240/81", "960 End"}},
      {"1",
       {GateNote(0, 0, 60, 480), Bend(240, 96)},
       {"0 Note0 60/240/100", "240 Note0 62/240/81", "960 End"},
       {kEditError}},
      {"-",  // note numbers stay inside 0-127
       {Bend(0, 127), GateNote(0, 0, 125, 240), Bend(240, 0), GateNote(0, 0, 126, 480),
        Bend(240, 127)},
       {"0 Note0 127/240/81", "240 Note0 116/240/100", "480 Note0 127/240/90", "960 End"}},
      {"-",  // notes inside a converted one are left; modulation, repeats, silent notes go
       {GateNote(0, 0, 60, 480), Control(0, 0, 1, 64), Bend(120, 127), GateNote(60, 0, 64, 120),
        Bend(60, 120), GateNote(0, 0, 67, 0), Control(0, 0, 7, 100), GateNote(240, 0, 60, 240)},
       {"0 Note0 60/120/100", "120 Note0 63/360/72", "180 Note0 64/120/100", "240 CC0 7=100",
        "480 Note0 70/240/100", "960 End"}},
      {"-",  // two bends on one tick leave a converted note without length
       {GateNote(0, 0, 60, 480), Bend(240, 96), Bend(0, 112)},
       {"0 Note0 60/240/100", "240 Note0 63/240/72", "960 End"},
       {kError}},
      {"-",  // a broken delta cuts the note below 0
       {GateNote(0, 0, 60, 100), Bend(-50, 96)},
       {"-50 Note0 62/150/81", "960 End"},
       {"Generalでエラーが発生しました。", "MidiTrackDataで内部エラーが発生しました。"}},
      {"-",
       {GateNote(0, 9, 36, 480), Bend(240, 96, 9), Control(0, 9, 1, 5)},
       {"0 Note9 36/480/100", "240 PB9 0/96", "240 CC9 1=5", "960 End"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected[0]);
    song_ = MidiF1Data(context_);
    AddTrackEndingAt(960, c.events);
    sink_.Clear();
    Edit({std::string("Replace,Note,") + c.channel + ",PitchBend"});
    EXPECT_EQ(Events(0), c.expected);
    EXPECT_EQ(Reported(), c.lines);
  }
}

// The conversion written out plainly: silent notes are looked for again before every
// event, and each deletion carries its delta forward at once.
std::vector<MusicEvent> PlainConversion(std::vector<MusicEvent> events) {
  auto erase_from = [&events](std::size_t from, auto remove) {
    for (std::size_t i = events.size(); i-- > from;) {
      if (!remove(events[i])) continue;
      if (i + 1 < events.size()) events[i + 1].delta += events[i].delta;
      events.erase(events.begin() + static_cast<std::ptrdiff_t>(i));
    }
  };
  auto silent = [](const MusicEvent& e) { return e.kind == EventKind::Note && e.gate == 0; };
  auto bend = [](const MusicEvent& e) { return e.kind == EventKind::PitchBend; };
  auto move = [](MusicEvent& e, int d, int v, int semitones) {
    e.note = std::clamp(d + semitones, 0, 127);
    int r = v;
    for (int n = std::abs(e.note - d); n > 0; --n) r = r * 9 / 10;
    e.velocity = r < v / 2 ? v : r;
  };
  int step = 0;
  for (MusicEvent& e : events) {
    if (e.kind == EventKind::ControlChange && e.type == 1) e.kind = EventKind::Removed;
    if (!bend(e)) continue;
    if ((e.value - 64) / 16 == step) e.kind = EventKind::Removed;
    step = (e.value - 64) / 16;
  }
  erase_from(0, [](const MusicEvent& e) { return e.kind == EventKind::Removed; });
  int c = 64;
  for (std::size_t j = 0;;) {
    erase_from(j, silent);
    if (j >= events.size()) break;
    if (bend(events[j])) c = events[j].value;
    if (events[j].kind != EventKind::Note) {
      ++j;
      continue;
    }
    const int d = events[j].note, v = events[j].velocity;
    move(events[j], d, v, (c - 64) / 6);
    std::size_t k = j + 1, before = j;
    for (int g = events[j].gate; k < events.size() && (g -= events[k].delta) > 0; ++k) {
      if (!bend(events[k])) continue;
      c = events[k].value;
      events[k].kind = EventKind::Note;
      events[k].gate = g;
      move(events[k], d, v, (c - 64) / 16);
      events[before].gate -= g;
      if (events[before].gate < (before == j ? 0 : 1)) events[before].gate = 0;
      before = k;
    }
    j = k;
  }
  erase_from(0, silent);
  erase_from(0, bend);
  return events;
}

TEST_F(ReplaceCommand, PitchBendWalkEqualsThePlainOneOnRandomTracks) {
  std::mt19937 random(7);
  auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 200; ++round) {
    std::vector<MusicEvent> events;
    for (int i = 0; i < 150; ++i) {
      const int delta = below(3) == 0 ? 0 : below(120);
      const int pick = below(8);
      if (pick < 3) {
        const int gate = below(5) == 0 ? 0 : below(600);
        events.push_back(GateNote(delta, 0, below(128), gate, 1 + below(127)));
      } else {
        events.push_back(pick < 6 ? Bend(delta, below(128)) : Control(delta, 0, pick - 5, 64));
      }
    }
    events.push_back(EndOfTrack(below(600)));
    song_ = MidiF1Data(context_);
    EXPECT_TRUE(song_.AppendTrack(TrackOf(context_, TrackForm::GateTimeForm, events)));
    Edit({"Replace,Note,-,PitchBend"});
    std::vector<std::string> expected;
    Ticks time = 0;
    for (const MusicEvent& e : PlainConversion(events)) {
      expected.push_back(Describe(e, time += e.delta));
    }
    ASSERT_EQ(Events(0), expected) << round;
  }
}

}  // namespace
}  // namespace quillmar::testing
