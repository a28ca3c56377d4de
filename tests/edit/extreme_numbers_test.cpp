#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

// A conductor; "Piano Top" on channel 1 (program, volume, bank, a chord and a bend); a drum.
class ExtremeNumbers : public EditTest {
 protected:
  void BuildSong() {
    song_ = MidiF1Data(context_);
    song_.SetDivision(480);
    sink_.Clear();
    AddTrackEndingAt(960, {Tempo(0, 500000), TimeSign(0, 4, 2), Meta(0, MetaType::Marker, "S")});
    MusicEvent bend = ChannelEvent(EventKind::PitchBend, 240, 0);
    bend.value = 96;
    AddTrackEndingAt(
        960, {Meta(0, MetaType::SequenceName, "Piano Top"), Program(0, 0, 0), Control(0, 0, 7, 100),
              Control(0, 0, 0, 1), GateNote(0, 0, 60, 480), GateNote(0, 0, 64, 480), bend});
    AddTrackEndingAt(960, {GateNote(0, 9, 36, 240)});
  }
};

using Lines = std::vector<std::string>;

// The lines of a cell that is read as an unknown keyword.
Lines Unknown(const std::string& key) {
  return {kEditOrOrderError, "   問題のある指定  " + key};
}

// Each extreme number in each number cell of each command: the rule's own message, or none
// where the rule has none, and never an overflow (the sanitizers watch this test).
TEST_F(ExtremeNumbers, EveryCellGetsItsRulesMessageWithoutOverflow) {
  const Lines no, e0{kError}, e11{kEditError};
  const Lines deleted{"ボイスを削除しました。"}, no_sysex{"エクスクルーシブがありませんでした。"};
  const Lines shortened(2, "   問題のある指定  音を縮めました。");
  struct Case {
    const char* row;  // "{}" stands for the number
    std::array<Lines, kExtremeNumbers.size()> lines;
  };
  const Case cases[] = {
      {"Add,PitchBend={},1,0", {e0, e0, e0, e0, no, no, no}},
      {"Add,ProgramChange={},1,0", {e0, e0, e0, e0, no, e0, e0}},
      {"Add,BankSelectMSB={},1,0", {e0, e0, e0, e0, no, no, no}},
      {"Add,ChanelVolume={},1,SequenceName=Top", {e0, e0, e0, e0, no, no, no}},
      {"Add,ControlChange=55={},1,0", {e0, e0, e0, e0, no, no, no}},
      {"Add,MasterVolume={},-,0", {e0, e0, e0, e0, no, no, no}},
      {"Add,Tempo={},-,0", {e0, e0, e0, e0, e0, e0, e0}},
      {"Add,Tempo,{},0", {no, no, no, no, no, e0, e0}},
      {"Add,PitchBend=0,{},0", {no, no, no, no, no, no, no}},
      {"Add,PitchBend=0,1,{}", {e0, e0, e0, e0, no, no, no}},
      {"Add,PitchBend=0,1,{}:1:0", {no, e0, e0, no, no, no, no}},
      {"Add,PitchBend=0,1,1:{}:0", {e0, e0, e0, e0, no, e0, e0}},
      {"Add,PitchBend=0,1,1:1:{}", {e0, e0, e0, e0, no, no, no}},
      {"Del,Note={},1,-", {no, no, no, no, no, no, no}},
      {"Del,Note=60,{},-", {no, no, no, no, no, no, no}},
      {"Del,Note=60,-,Track={}", {e0, e0, e0, e0, no, e0, e0}},
      {"Del,Beat={},-,-", {e0, no, no, e0, no, e0, e0}},
      {"Del,PitchBend={}:8191,-,-", {no, no, no, no, no, no, no}},
      {"Del,PitchBend=-8192:{},-,-", {no, no, no, no, no, no, no}},
      {"Del,Track,-,Chanel={}", {no, no, no, no, no, no, no}},
      {"Del,Track=Piano,-,Voice>{}", {deleted, no, no, deleted, deleted, deleted, deleted}},
      {"Del,ProgramChange,-,{}", {no, no, no, no, no, no, no}},
      {"Copy,Chanel={},-,Chanel=1", {e0, e0, e0, e0, no, e0, e0}},
      {"Copy,Chanel=2,-,Chanel={}", {e0, e0, e0, e0, no, e0, e0}},
      {"Copy,Chanel=3,-,Chanel=1;NoteNumber<{}", {no, no, no, no, no, no, no}},
      {"Copy,Track={},-,Chanel=1", {e11, e0, e0, e11, no, e11, e11}},
      {"Copy,Track=2,-,Chanel={}", {e11, no, no, e11, no, e11, e11}},
      {"Copy,Tempo,-,{}",
       {Unknown("-2147483648"), e0, e0, Unknown("-9223372036854775808"), Unknown("1e308"), no,
        Unknown("１２")}},
      {"Conv,Chanel={},-,Track=1", {e0, e0, e0, e0, no, e0, e0}},
      {"Conv,Chanel=2,-,Track={}", {e11, e11, e11, e11, no, e11, e11}},
      {"Conv,Velocity={},1,-", {e0, e0, e0, e0, no, e0, e0}},
      {"Conv,Velocity=64,{},-", {no, no, no, no, no, no, no}},
      {"Conv,GateTime={},1,-", {e11, e0, e0, e11, no, e11, e11}},
      {"Conv,GateTime={},-,0", {no, e0, e0, no, no, no, no}},
      {"Conv,GateTime=-10,-,{}", {no, no, no, no, no, no, no}},
      {"Conv,GateTime={},10,Note=36", {e0, e0, e0, e0, no, e0, e0}},
      {"Conv,GateTime=10,10,Note={}", {no, no, no, no, no, no, no}},
      {"Conv,Note=+{},1,-", {no, no, no, no, no, no, no}},
      {"Conv,Note=-{},1,-", {no, no, no, no, no, no, no}},
      {"Conv,ProgramChange={},1,-", {e0, e0, e0, e0, no, e0, e0}},
      {"Conv,ChanelVolume={},1,-", {e0, e0, e0, e0, no, no, no}},
      {"Conv,BankSelectMSB={},1,-", {e0, e0, e0, e0, no, no, no}},
      {"Conv,SequenceName=Name,-,Chanel={}", {no, no, no, no, no, no, no}},
      {"Split,NoteNumber,1,{}", {no, no, no, no, no, no, no}},
      {"Split,NoteNumber,{},60", {no, no, no, no, no, no, no}},
      {"Split,Note=Top,1,Voice>{}", {e0, no, no, e0, e0, e0, e0}},
      {"Split,Voice>{},-,Voice>1", {e0, no, no, e0, e0, e0, e0}},
      {"Move,Note=Beat=1,-,#{}", {e0, e0, e0, e0, no, no, no}},
      {"Move,Tempo,-,{}", {e0, e0, e0, e0, no, no, no}},
      {"Replace,Note,-,PitchBend={}", {no, no, no, no, no, no, no}},
      {"Check,MasterVolume={},-,-",
       {no_sysex, no_sysex, no_sysex, no_sysex, no_sysex, no_sysex, no_sysex}},
      {"Save,File={},-,-", {no, no, no, no, no, e11, no}},
      {"Limit,GateTime<{},-,-", {e0, no, no, e0, e0, e0, e0}},
      {"Limit,GateTime<480,{},-", {no, no, no, no, no, shortened, shortened}},
      {"Limit,GateTime<480,-,{}", {no, no, no, no, no, shortened, shortened}},
      {"Extract,Note={},1,-", {e0, e0, e0, e0, e0, e0, e0}},
      {"Extract,Note=Top,{},-", {no, no, no, no, no, no, no}},
  };
  for (const Case& c : cases) {
    for (std::size_t i = 0; i < kExtremeNumbers.size(); ++i) {
      std::string row = c.row;
      row.replace(row.find("{}"), 2, kExtremeNumbers[i]);
      SCOPED_TRACE(row);
      BuildSong();
      Edit({row});
      EXPECT_EQ(Reported(), c.lines[i]);
    }
  }
}

}  // namespace
}  // namespace quillmar::testing
