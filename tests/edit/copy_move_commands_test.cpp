#include <gtest/gtest.h>

#include <map>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

// A conductor with a tempo and two loop-start messages; channel 1 "Lead" (a chord at 0,
// notes at 240 and 960, a marker and a master volume); channel 2 "Low" (notes 40 and 50).
class CopyMove : public EditTest {
 protected:
  void BuildSong() {
    song_ = MidiF1Data(context_);
    sink_.Clear();
    AddTrackEndingAt(3840, {Tempo(0, 500000), Loop(0), Loop(3840)});
    AddTrackEndingAt(
        1920,
        {Meta(0, MetaType::SequenceName, "Lead"), Program(0, 0, 3), GateNote(0, 0, 60, 240),
         GateNote(0, 0, 64, 240), GateNote(240, 0, 62, 240), GateNote(720, 0, 65, 240),
         Meta(0, MetaType::Marker, "M"), SysEx(0, {0xF0, 7, 0x7F, 0x7F, 4, 1, 0, 100, 0xF7})});
    AddTrackEndingAt(1920, {GateNote(0, 1, 40, 480), GateNote(480, 1, 50, 480)});
  }
  static MusicEvent Loop(std::int32_t delta) {
    return SysEx(delta, {0xF0, 9, 0x59, 0x7F, 0x48, 0x4D, 2, 0x0D, 0, 0, 0xF7});
  }
};

TEST_F(CopyMove, CopyAndMoveAsTheirRowsSay) {
  BuildSong();
  std::vector<std::vector<std::string>> original;
  for (int track = 0; track < 3; ++track) original.push_back(Events(track));
  const auto& conductor = original[0];
  const auto& lead = original[1];
  const auto& low = original[2];
  const std::string loop = "SysEx F0 09 59 7F 48 4D 02 0D 00 00 F7";
  // The lead on channel 2, without its marker and master volume.
  const std::vector<std::string> lead_on_2 = {"0 Meta3 Lead",
                                              "0 PC1 3",
                                              "0 Note1 60/240/100",
                                              "0 Note1 64/240/100",
                                              "240 Note1 62/240/100",
                                              "960 Note1 65/240/100",
                                              "1920 End"};
  const std::vector<std::string> blank = {"0 Meta3 blank", "0 End"};
  struct Case {
    const char* row;
    Tracks expected;  // tracks that differ, and tracks added
    std::vector<std::string> lines;
    int tracks = 3;
  };
  const Case cases[] = {
      {"Copy,Tempo,-,1920",
       {{0, {conductor[0], conductor[1], "1920 Tempo 500000", conductor[2], conductor[3]}}},
       {}},
      {"Copy,ProgramChange,-,0",
       {{1,
         {lead[0], lead[1], lead[2], lead[3], "0 PC0 3", lead[4], lead[5], lead[6], lead[7],
          lead[8]}}},
       {}},
      {"Copy,Chanel=2,-,Chanel=1",
       {{2, {"0 Note1 40/480/100", "480 Note1 50/480/100", "1920 End"}}, {3, lead_on_2}},
       {},
       4},
      {"Copy,Chanel=3,-,Chanel=1;NoteNumber<66",
       {{3,
         {"0 Meta3 Lead", "0 PC2 3", "0 Note2 60/240/100", "0 Note2 64/240/100",
          "240 Note2 62/240/100", "960 Note2 65/240/100", "1920 End"}}},
       {},
       4},
      {"Copy,Chanel=3,-,Chanel=1;NoteNumber<65", {}, {}},
      {"Copy,Chanel=3,-,Chanel=1;NoteNumber>65", {}, {kEditError}},
      {"Copy,Chanel=3,-,Track=1", {}, {kEditError}},
      // The first track holds system exclusive messages, so it is no conductor track.
      {"Copy,Track=5,-,Chanel=2", {{3, blank}, {4, low}}, {}, 5},
      {"Copy,Track=2,-,Chanel=2", {{1, low}}, {}},
      {"Copy,Track=0,-,Chanel=2", {}, {kEditError}},
      {"Copy,Track=2,-,Chanel", {}, {kEditError}},
      {"Copy,Top,-,0", {}, {kEditError}},
      {"Copy,Tempo,-,End",
       {{0, {conductor[0], conductor[1], "0 Tempo 500000", conductor[2], conductor[3]}}},
       {kEditOrOrderError, "   問題のある指定  End"}},
      {"Move,Note=Beat=1,-,#480",
       {{1,
         {lead[0], lead[1], "480 Note0 60/240/100", "480 Note0 64/240/100", "480 Note0 62/240/100",
          lead[5], lead[6], lead[7], lead[8]}},
        {2, {"480 Note1 40/480/100", "480 Note1 50/480/100", "1920 End"}}},
       {}},
      {"Move,Note=Beat=2,-,#480", {}, {kEditError}},
      {"Move,LoopSysExStart,Track=1,-",
       {{0, {conductor[0], "3840 End"}},
        {1,
         {lead[0], lead[1], lead[2], lead[3], "0 " + loop, lead[4], lead[5], lead[6], lead[7],
          "3840 " + loop, "3840 End"}}},
       {}},
      {"Move,LoopSysExStart,-,-", {}, {kEditError}},
      {"Move,Tempo,Track=MasterTrack,960",
       {{0, {"0 " + loop, "960 Tempo 500000", "3840 " + loop, "3840 End"}}},
       {}},
      {"Move,ProgramChange,-,480",
       {{1,
         {lead[0], lead[2], lead[3], "240 Note0 62/240/100", "480 PC0 3", lead[5], lead[6], lead[7],
          lead[8]}}},
       {}},
      {"Move,Tempo,-,End", {}, {kEditOrOrderError}},
      {"Move,PitchBendSensitivity,-,0", {}, {kEditError}},
      {"Move,Tempo,-,-7", {}, {kError}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BuildSong();
    ExpectAfterRow(c.row, original, c.expected, c.lines, c.tracks);
  }
}

TEST_F(CopyMove, OldBeatZeroShowsItsNoticeEveryTime) {
  BuildSong();
  Edit({"Move,Note=Beat=0,-,#480", "Move,Note=Beat=0,-,#480"});
  EXPECT_EQ(sink_.Messages().size(), 2u);
  EXPECT_EQ(sink_.Messages()[0], "Beat=0の書式は変更になりました。\rBeat=1と記述してください。");
}

}  // namespace
}  // namespace quillmar::testing
