#include "edit/edit_list.h"

#include <gtest/gtest.h>

#include <limits>

#include "edit/channel_selection.h"
#include "edit/edit_fixture.h"
#include "edit/track_selection.h"

namespace quillmar::testing {
namespace {

TEST(EditCommandNumber, ElevenWordsMatchedExactly) {
  const char* words[] = {"Add",     "Del",   "Copy", "Conv",  "Split",  "Move",
                         "Replace", "Check", "Save", "Limit", "Extract"};
  for (int number = 1; number <= 11; ++number) {
    EXPECT_EQ(EditCommandNumber(words[number - 1]), number);
  }
  for (const char* other : {"add", "Add ", " Add", "", "ADD", "Adds"}) {
    EXPECT_EQ(EditCommandNumber(other), 0) << other;
  }
}

// Each command's reading of its channel cell: "-" is every channel in every rule; numbers
// differ as the commands' rules say.
TEST(ChannelCell, EachRuleReadsNumbersAsItsCommandsDo) {
  using Rule = ChannelRule;
  struct Case {
    const char* cell;
    Rule rule;
    bool every;
    std::int32_t channel;  // when not every
  };
  for (const Case& c :
       std::initializer_list<Case>{{"-", Rule::kOneBased, true, 0},
                                   {"-", Rule::kZeroBased, true, 0},
                                   {"1", Rule::kOneBased, false, 0},
                                   {"16", Rule::kOneBased, false, 15},
                                   {"0", Rule::kOneBased, false, -1},
                                   {"0", Rule::kOneBasedOrEvery, true, 0},
                                   {"-5", Rule::kOneBasedOrEvery, true, 0},
                                   {"256", Rule::kOneBased, false, 255},
                                   {"256", Rule::kOneBasedDel, true, 0},
                                   {"0", Rule::kZeroBased, false, 0},
                                   {"9", Rule::kZeroBased, false, 9},
                                   {"-2147483648", Rule::kOneBased, false, INT32_MIN}}) {
    const ChannelSelection selection = ReadChannelCell(c.cell, c.rule);
    EXPECT_EQ(selection.every, c.every) << c.cell << " " << static_cast<int>(c.rule);
    if (!c.every) {
      EXPECT_EQ(selection.channel, c.channel) << c.cell;
    }
  }
  EXPECT_EQ(ReadChannelCell("Track=3", Rule::kOneBasedOrEvery).old_track, "3");
}

TEST_F(EditTest, UnknownWordsAreReportedAndTheHeadingNeverRuns) {
  AddTrackEndingAt(960, {GateNote(0, 0, 60, 480)});
  // The heading row of the list reads "項目": this list's first row is a data row.
  Edit({"add,PitchBend=0,-,0", "Add ,PitchBend=0,-,0", "Del,Note=61,-,-"});
  EXPECT_EQ(Reported(), (std::vector<std::string>{"編集リストに誤りがあります。",
                                                  "編集リストに誤りがあります。"}));
  EXPECT_EQ(Events(0), (std::vector<std::string>{"0 Note0 60/480/100", "960 End"}));
  sink_.Clear();
  const SettingsList list = List(ListKind::Edit, {});
  EXPECT_EQ(list.Cell(0, 0), Sjis("項目"));
}

// Measure notation is read under each song's own meter and division, every time.
TEST_F(EditTest, MeasurePositionsFollowEachSong) {
  const SettingsList list =
      List(ListKind::Edit, {"Add,ProgramChange=1,1,2:1:0", "Add,ProgramChange=2,1,1:2"});
  struct Case {
    int division;
    int numerator;
    std::vector<std::string> programs;
  };
  const Case cases[] = {{480, 4, {"480 PC0 1", "1920 PC0 0"}}, {96, 3, {"96 PC0 1", "288 PC0 0"}}};
  for (const Case& c : cases) {
    song_ = MidiF1Data(context_);
    song_.SetDivision(c.division);
    AddTrackEndingAt(4000, {TimeSign(0, c.numerator, 2), GateNote(0, 0, 60, 10)});
    EditEnvironment environment{notices_, {}};
    ApplyEditList(song_, list, environment);
    std::vector<std::string> programs;
    for (const std::string& event : Events(0)) {
      if (event.find(" PC") != std::string::npos) programs.push_back(event);
    }
    EXPECT_EQ(programs, c.programs) << c.division;
  }
  EXPECT_EQ(list.Cell(1, 3), "2:1:0") << "the list is not rewritten";
  // Absurd measures are read without overflow (found by fuzzing).
  Edit({"Add,ProgramChange=1,1,-11111111111111111114:1:0", "Add,ProgramChange=1,1,99999999999:1"});
  EXPECT_EQ(Reported(), std::vector<std::string>{"エラーがおきました。"});
}

TEST_F(EditTest, TrackNumbersSkipAConductorTrack) {
  AddTrackEndingAt(0, {Tempo(0, 500000)});
  AddTrackEndingAt(0, {GateNote(0, 0, 60, 1)});
  struct Case {
    int number;
    std::optional<int> with_conductor;
    std::optional<int> without;
  };
  const Case cases[] = {{1, 1, 0},
                        {2, std::nullopt, 1},
                        {0, std::nullopt, std::nullopt},
                        {-1, std::nullopt, std::nullopt},
                        {3, std::nullopt, std::nullopt},
                        {std::numeric_limits<int>::min(), std::nullopt, std::nullopt}};
  MidiF1Data no_conductor(context_);
  EXPECT_TRUE(no_conductor.AppendTrack(MidiTrackData(song_.Track(1))));
  EXPECT_TRUE(no_conductor.AppendTrack(MidiTrackData(song_.Track(1))));
  for (const Case& c : cases) {
    EXPECT_EQ(TrackIndexOf(song_, c.number), c.with_conductor) << c.number;
    EXPECT_EQ(TrackIndexOf(no_conductor, c.number), c.without) << c.number;
  }
  EXPECT_EQ(SysExTargetTrack(song_), 1);
  EXPECT_EQ(SysExTargetTrack(no_conductor), 0);
}

}  // namespace
}  // namespace quillmar::testing
