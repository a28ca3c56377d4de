#include <gtest/gtest.h>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

// A conductor with tempo 120 bpm, a 3/4 meter and a full-width marker; "Piano" on channel 1
// (notes 60 at 0 and 120 at 480); "Drum Top" on channel 10 (42 at 0, 36 at 480); a track
// without a name on channel 2 (64 at 480). Every track ends at 960.
class ConvCommand : public EditTest {
 protected:
  void BuildSong() {
    song_ = MidiF1Data(context_);
    sink_.Clear();
    AddTrackEndingAt(
        960, {Tempo(0, 500000), TimeSign(0, 3, 2), Meta(0, MetaType::Marker, Sjis("ＡＢ１"))});
    AddTrackEndingAt(
        960, {Meta(0, MetaType::SequenceName, "Piano"), Program(0, 0, 0), Control(0, 0, 7, 100),
              Control(0, 0, 0, 1), GateNote(0, 0, 60, 480), GateNote(480, 0, 120, 480)});
    AddTrackEndingAt(960, {Meta(0, MetaType::SequenceName, "Drum Top"), GateNote(0, 9, 42, 120),
                           GateNote(480, 9, 36, 120)});
    AddTrackEndingAt(960, {GateNote(480, 1, 64, 480, 90)});
  }
};

TEST_F(ConvCommand, ChangesValuesInPlaceAsItsRowSays) {
  BuildSong();
  std::vector<std::vector<std::string>> original;
  for (int track = 0; track < 4; ++track) original.push_back(Events(track));
  struct Case {
    const char* row;
    Tracks changed;
    std::vector<std::string> lines;
  };
  const std::vector<std::string> piano = original[1], drums = original[2], third = original[3];
  auto with = [](std::vector<std::string> events, std::size_t at, std::string event) {
    events[at] = std::move(event);
    return events;
  };
  const Case cases[] = {
      {"Conv,GateTime=Tempo*0.32,10,Note=42", {{2, with(drums, 1, "0 Note9 42/38/100")}}, {}},
      {"Conv,GateTime=Tempo*0.32,9,Note=42",
       {},
       {"   問題のある指定  GateTimeの変更にドラム以外のチャネルが指定されています。"}},
      {"Conv,GateTime=-30,-,480",
       {{1, with(piano, 5, "480 Note0 120/450/100")},
        {2, with(drums, 2, "480 Note9 36/90/100")},
        {3, with(third, 0, "480 Note1 64/450/90")}},
       {}},
      {"Conv,GateTime=-200,10,480", {}, {kEditError}},
      {"Conv,GateTime=120,-,-", {}, {}},
      {"Conv,GateTime=240,1,-",
       {{1, with(with(piano, 4, "0 Note0 60/240/100"), 5, "480 Note0 120/240/100")}},
       {}},
      {"Conv,Note=+24,1,-",
       {{1, with(with(piano, 4, "0 Note0 84/480/100"), 5, "480 Note0 127/480/100")}},
       {}},
      {"Conv,Note=-13,1,-",
       {{1, with(with(piano, 4, "0 Note0 48/480/100"), 5, "480 Note0 108/480/100")}},
       {}},
      {"Conv,Note=+11,1,-", {}, {}},
      {"Conv,Note=24,1,-", {}, {kEditError}},
      {"Conv,Velocity=1,-,Track=2",
       {{2, with(with(drums, 1, "0 Note9 42/120/1"), 2, "480 Note9 36/120/1")}},
       {}},
      {"Conv,Velocity=64,-,SequenceName=Top", {}, {}},
      {"Conv,Velocity=64,10,SequenceName=Top",
       {{2, with(with(drums, 1, "0 Note9 42/120/64"), 2, "480 Note9 36/120/64")}},
       {}},
      {"Conv,Velocity=0,1,-", {}, {kError}},
      {"Conv,ProgramChange=5,1,-", {{1, with(piano, 1, "0 PC0 4")}}, {}},
      {"Conv,ProgramChange=5,-,Track=1", {{1, with(piano, 1, "0 PC0 4")}}, {}},
      {"Conv,ProgramChange=1,-,-", {}, {kError}},
      {"Conv,ProgramChange=5,-,Track=4", {}, {kEditError}},
      {"Conv,ProgramChange=5,-,Track=0", {}, {kEditError}},
      {"Conv,ChanelVolume=90,1,-", {{1, with(piano, 2, "0 CC0 7=90")}}, {}},
      {"Conv,ChanelVolume=90,-,-", {}, {}},
      {"Conv,BankSelectMSB=3,-,-", {{1, with(piano, 3, "0 CC0 0=3")}}, {}},
      {"Conv,Chanel=3,-,SequenceName=Top",
       {{2, with(with(drums, 1, "0 Note2 42/120/100"), 2, "480 Note2 36/120/100")}},
       {}},
      {"Conv,Chanel=17,-,Track=1", {}, {kError}},
      {"Conv,SequenceName=Keys,1,-", {{1, with(piano, 0, "0 Meta3 Keys")}}, {}},
      {"Conv,SequenceName=Keys,-,Chanel=1", {{1, with(piano, 0, "0 Meta3 Keys")}}, {}},
      {"Conv,SequenceName=Keys,1,SequenceName=ano", {{1, with(piano, 0, "0 Meta3 Keys")}}, {}},
      {"Conv,SequenceName=Bass,-,Track=LAST",
       {{3, {"0 Meta3 Bass", "480 Note1 64/480/90", "960 End"}}},
       {}},
      {"Conv,SequenceName=Bass,-,Foo=1", {}, {kEditError}},
      {"Conv,Marker,-,ZenkakuEisuuToHankakuEisuu", {{0, with(original[0], 2, "0 Meta6 AB1")}}, {}},
      {"Conv,Lyric,-,Zenkaku", {}, {kEditError}},
      {"Conv,TimeSign=4/4,-,-", {{0, with(original[0], 1, "0 Meta88 \x04\x02\x18\x08")}}, {}},
      {"Conv,TimeSign=3/4,-,-", {}, {kEditError}},
      {"Conv,Tempo=80,-,-", {}, {kEditError}},
      {"Conv,Foo=1,-,-",
       {},
       {"編集リストか順序リストに誤りがあります。", "   問題のある指定  Foo", kEditError}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BuildSong();
    ExpectAfterRow(c.row, original, c.changed, c.lines, 4);
  }
}

TEST_F(ConvCommand, OldTrackCellsShowTheirNoticeOnceAndStillRun) {
  BuildSong();
  Edit({"Conv,Velocity=64,Track=1,-", "Conv,Velocity=65,Track=1,-"});
  EXPECT_EQ(Reported(), std::vector<std::string>{
                            "   問題のある指定  「Conv Velocity=1 Track=16 -」のような形では"
                            "なく「Conv Velocity=1 - Track=16」のように記述してください。"});
  EXPECT_EQ(Events(1)[4], "0 Note0 60/480/65");
}

}  // namespace
}  // namespace quillmar::testing
