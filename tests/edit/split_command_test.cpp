// Split and Extract.

#include <gtest/gtest.h>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

constexpr char kChord[] = "指定された和音以上のトラックを分割しました。";
constexpr char kVoice[] = "指定されたボイス数を超えているので分割しました。";

// A conductor; "Piano" on channel 1 with chords stored low to high (60 64 67 at 0, then a
// control change and 62 65 69 at 480); "Drums" on channel 10 (36 and 42 at 0, 38 at 480);
// and on channel 2 a track without a name: 48 of gate 480 at 0, 72 at 240 (velocity 90),
// 60 at 480. The song's voice count is 3 + 3 + 2 = 8.
class SplitCommand : public EditTest {
 protected:
  SplitCommand() { BuildSong(); }

  void BuildSong() {
    song_ = MidiF1Data(context_);
    sink_.Clear();
    AddTrackEndingAt(960, {Tempo(0, 500000)});
    AddTrackEndingAt(
        960, {Meta(0, MetaType::SequenceName, "Piano"), Program(0, 0, 0), GateNote(0, 0, 60, 480),
              GateNote(0, 0, 64, 480), GateNote(0, 0, 67, 480), Control(480, 0, 11, 100),
              GateNote(0, 0, 62, 480), GateNote(0, 0, 65, 480), GateNote(0, 0, 69, 480)});
    AddTrackEndingAt(960, {Meta(0, MetaType::SequenceName, "Drums"), GateNote(0, 9, 36, 120),
                           GateNote(0, 9, 42, 120), GateNote(480, 9, 38, 120)});
    AddTrackEndingAt(
        960, {GateNote(0, 1, 48, 480), GateNote(240, 1, 72, 240, 90), GateNote(240, 1, 60, 480)});
  }

  // A track with one chord of the notes at tick 0.
  void AddChordTrack(std::string_view name, std::int32_t channel, std::vector<int> notes) {
    std::vector<MusicEvent> events{Meta(0, MetaType::SequenceName, name)};
    for (const int note : notes) events.push_back(GateNote(0, channel, note, 480));
    AddTrackEndingAt(480, std::move(events));
  }

  // Each track as its name and its notes ("Piano: 60@0 64@480").
  std::vector<std::string> Tracks() const {
    std::vector<std::string> tracks;
    for (int index = 0; index < song_.TrackCount(); ++index) {
      const MidiTrackData& track = song_.Track(index);
      std::string text = track.GetMetaText(MetaType::SequenceName).value_or("") + ":";
      Ticks time = 0;
      for (const MusicEvent& event : track.Events()) {
        time += event.delta;
        if (event.kind != EventKind::Note) continue;
        text += " " + std::to_string(event.note) + "@" + std::to_string(time);
      }
      tracks.push_back(text);
    }
    return tracks;
  }
};

const std::vector<std::string> kOriginal{":", "Piano: 60@0 64@0 67@0 62@480 65@480 69@480",
                                         "Drums: 36@0 42@0 38@480", ": 48@0 72@240 60@480"};

TEST_F(SplitCommand, SplitsAndExtractsAsItsRowSays) {
  struct Case {
    const char* row;
    std::vector<std::string> tracks;
    std::vector<std::string> lines;
  };
  const std::string drums = kOriginal[2], unnamed = kOriginal[3];
  const std::string piano_top = "Piano Top: 67@0 69@480";
  const Case cases[] = {
      {"Split,Note=Top,-,Voice>1",
       {":", piano_top, "Piano Second Top: 64@0 65@480", "Piano Second Second: 60@0 62@480", drums,
        "Untitled Top: 48@0 60@480", "Untitled Second: 72@240"},
       {kChord, kChord, kChord}},
      {"Split,Note=Top,10,Voice>1", kOriginal, {}},
      {"Split,Note=Top,2,Voice>1",
       {":", kOriginal[1], drums, "Untitled Top: 48@0 60@480", "Untitled Second: 72@240"},
       {kChord}},
      {"Split,Note=Top,-,Voice>2",
       {":", piano_top, "Piano Second: 64@0 60@0 65@480 62@480", drums, unnamed},
       {kChord}},
      {"Split,Voice>7,-,Voice>1",
       {":", piano_top, "Piano Second: 64@0 65@480", "Piano Third: 60@0 62@480", drums,
        "Untitled Top: 48@0 60@480", "Untitled Second: 72@240"},
       {kVoice, kChord, kChord, kChord}},
      {"Split,Voice>8,-,Voice>1", kOriginal, {}},
      {"Split,Voice<3,-,Voice>1", kOriginal, {}},
      {"Split,Voice>7,-,-", kOriginal, {kVoice, kError}},
      {"Split,NoteNumber,2,60", {":", kOriginal[1], drums, ": 72@240 60@480", ": 48@0"}, {}},
      {"Split,GateTime,2,480", {":", kOriginal[1], drums, ": 48@0 60@480", ": 72@240"}, {}},
      {"Split,Velocity,2,100", {":", kOriginal[1], drums, ": 48@0 60@480", ": 72@240"}, {}},
      {"Split,NoteNumber,-,62",
       {":", "Piano: 64@0 67@0 62@480 65@480 69@480", "Piano: 60@0", "Drums:", drums, ": 72@240",
        ": 48@0 60@480"},
       {}},
      {"Extract,Note=36,10,-", {":", kOriginal[1], "Drums: 36@0", unnamed}, {}},
      {"Extract,Note=60,-,-", {":", "Piano: 60@0", "Drums:", ": 60@480"}, {}},
      {"Extract,Note=Top,2,-", {":", kOriginal[1], drums, ": 48@0 60@480"}, {}},
      {"Extract,Note=Top,-,-",
       {":", "Piano: 67@0 69@480", "Drums: 42@0 38@480", ": 48@0 60@480"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BuildSong();
    Edit({c.row});
    EXPECT_EQ(Tracks(), c.tracks);
    EXPECT_EQ(Reported(), c.lines);
    EXPECT_TRUE(sink_.Messages().empty());
  }
}

// Missing or malformed Voice qualifiers, unknown keys, and Extract without a note number.
TEST_F(SplitCommand, RefusedRowsReportMessage0AndChangeNothing) {
  for (const char* row :
       {"Split,Voice>x,-,Voice>1", "Split,Note=Top,-,-", "Split,Note=Top,-,Voice>",
        "Split,Note=Top,-,Voice=1", "Split,Note=60,-,Voice>1", "Split,Chord,-,Voice>1",
        "Extract,Velocity=Top,-,-", "Extract,Note,-,-", "Extract,Note=128,-,-"}) {
    SCOPED_TRACE(row);
    BuildSong();
    Edit({row});
    EXPECT_EQ(Tracks(), kOriginal);
    EXPECT_EQ(Reported(), std::vector<std::string>{kError});
  }
}

// The top part holds its notes and a new name; the rest keeps every other event, renamed.
TEST_F(SplitCommand, PartsKeepTheirEventsAtTheirTicks) {
  struct Part {
    const char* row;
    int track;
    std::vector<std::string> events;
  };
  const Part parts[] = {
      {"Split,Note=Top,-,Voice>1",
       1,
       {"0 Note0 67/480/100", "0 Meta3 Piano Top", "480 Note0 69/480/100", "960 End"}},
      {"Split,Note=Top,-,Voice>1",
       3,
       {"0 Note0 60/480/100", "0 Meta3 Piano Second Second", "0 PC0 0", "480 Note0 62/480/100",
        "480 CC0 11=100", "960 End"}},
      {"Extract,Note=Top,1,-",
       1,
       {"0 Note0 67/480/100", "0 Meta3 Piano", "0 PC0 0", "480 Note0 69/480/100", "480 CC0 11=100",
        "960 End"}},
  };
  for (const Part& part : parts) {
    SCOPED_TRACE(part.row);
    BuildSong();
    Edit({part.row});
    EXPECT_EQ(Events(part.track), part.events);
  }
}

TEST_F(SplitCommand, OldTopTargetOnlyShowsItsNotice) {
  Edit({"Split,Top,-,Voice>1", "Split,Top,-,Voice>1"});
  EXPECT_EQ(Tracks(), kOriginal);
  EXPECT_TRUE(Reported().empty());
  const std::string notice =
      "Splitの書式が変更になりました。Topではなく、Note=Topと記述してください。";
  EXPECT_EQ(sink_.Messages(), (std::vector<std::string>{notice, notice}));
}

// Out of part names: the seventh part keeps the rest, and the row ends there.
TEST_F(SplitCommand, VoiceSplitStopsAtTheSeventhPartName) {
  song_ = MidiF1Data(context_);
  AddChordTrack("Pad", 0, {60, 61, 62, 63, 64, 65, 66, 67});
  AddChordTrack("Keys", 1, {60, 64});
  Edit({"Split,Voice>1,-,Voice>1"});
  EXPECT_EQ(Tracks(),
            (std::vector<std::string>{"Pad Top: 67@0", "Pad Second: 66@0", "Pad Third: 65@0",
                                      "Pad Fourth: 64@0", "Pad Fifth: 63@0", "Pad Sixth: 62@0",
                                      "Pad Seventh: 61@0 60@0", "Keys: 60@0 64@0"}));
  EXPECT_EQ(Reported(), (std::vector<std::string>{kVoice, kChord, kChord, kChord, kChord, kChord,
                                                  kChord, kError}));
}

// A song never grows beyond 33 tracks: the threshold split refuses, the chord split keeps
// the parts it made.
TEST_F(SplitCommand, SplitsStopAtTheTrackLimitLosingNothing) {
  song_ = MidiF1Data(context_);
  AddChordTrack("Piano", 0, {60, 64, 67});
  for (int filler = 0; filler < 31; ++filler) AddChordTrack("Filler", 1, {50});
  std::vector<std::string> expected = Tracks();
  Edit({"Split,NoteNumber,-,60", "Split,Note=Top,-,Voice>1"});
  expected[0] = "Piano Top: 67@0";
  expected.insert(expected.begin() + 1, "Piano Second: 64@0 60@0");
  EXPECT_EQ(Tracks(), expected);
  EXPECT_EQ(Reported(), (std::vector<std::string>{kError, kChord, kError}));
}

}  // namespace
}  // namespace quillmar::testing
