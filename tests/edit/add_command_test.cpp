#include <gtest/gtest.h>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

constexpr char kUnsupportedController[] =
    "編集リストのコントロールチェンジの追加か削除でサポートされていない番号が指定されました。";
constexpr char kLoopStop[] = "SysEx F0 09 59 7F 48 4D 02 0D 00 01 F7";

// A conductor track, then channel 1 "12 Piano", channel 10 "Drum Top", and on channel 1
// again "Lead Top" and "Top Lead"; every track ends at 960.
class AddCommand : public EditTest {
 protected:
  AddCommand() { BuildSong(); }
  void BuildSong() {
    song_ = MidiF1Data(context_);
    sink_.Clear();
    AddTrackEndingAt(960, {Tempo(0, 500000), TimeSign(0, 4, 2)});
    AddTrackEndingAt(960, {Meta(0, MetaType::SequenceName, "12 Piano"), GateNote(0, 0, 60, 480),
                           GateNote(480, 0, 62, 480)});
    AddTrackEndingAt(960, {Meta(0, MetaType::SequenceName, "Drum Top"), GateNote(0, 9, 36, 240)});
    AddTrackEndingAt(960, {Meta(0, MetaType::SequenceName, "Lead Top"), GateNote(0, 0, 72, 960)});
    AddTrackEndingAt(960, {Meta(0, MetaType::SequenceName, "Top Lead"), GateNote(0, 0, 74, 960)});
  }
};

// The events the row added to a track, in track order.
std::vector<std::string> AddedEvents(const std::vector<std::string>& before,
                                     const std::vector<std::string>& after) {
  std::vector<std::string> added;
  std::size_t matched = 0;
  for (const std::string& event : after) {
    if (matched < before.size() && before[matched] == event) {
      ++matched;
    } else {
      added.push_back(event);
    }
  }
  return added;
}

TEST_F(AddCommand, InsertsEachKindWhereItsRowSays) {
  using Added = std::vector<std::vector<std::string>>;  // per track 0 to 4
  struct Case {
    const char* row;
    Added added;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"Add,PitchBend=0,-,0",
       {{}, {"0 PB0 0/64"}, {"0 PB9 0/64"}, {"0 PB0 0/64"}, {"0 PB0 0/64"}},
       {}},
      {"Add,ProgramChange=5,1,480", {{}, {"480 PC0 4"}, {}, {"480 PC0 4"}, {"480 PC0 4"}}, {}},
      {"Add,ProgramChange=1,10,End", {{}, {}, {}, {}, {}}, {kEditOrOrderError}},
      {"Add,ProgramChange=129,1,0", {{}, {}, {}, {}, {}}, {kError}},
      {"Add,PitchBend=64,1,0", {{}, {}, {}, {}, {}}, {kError}},
      {"Add,BankSelectMSB=3,10,0", {{}, {}, {"0 CC9 0=3"}, {}, {}}, {}},
      {"Add,BankSelectLSB=2,-,480",
       {{}, {"480 CC0 32=2"}, {"480 CC9 32=2"}, {"480 CC0 32=2"}, {"480 CC0 32=2"}},
       {}},
      {"Add,BankSelectMSB=1,1,End",
       {{}, {}, {}, {}, {}},
       {kEditOrOrderError, kEditOrOrderError, kEditOrOrderError}},
      {"Add,ChanelVolume=100,1,SequenceName=Top", {{}, {}, {}, {"0 CC0 7=100"}, {}}, {}},
      {"Add,ChanelVolume=100,1,0", {{}, {}, {}, {}, {}}, {}},
      {"Add,ControlChange=55=SequenceName,-,0", {{}, {"0 CC0 55=12"}, {}, {}, {}}, {}},
      {"Add,ControlChange=55=9,10,0", {{}, {}, {"0 CC9 55=9"}, {}, {}}, {}},
      {"Add,ControlChange=7,-,0", {{}, {}, {}, {}, {}}, {kUnsupportedController}},
      {"Add,DataEntryMSB=1,-,0", {{}, {}, {}, {}, {}}, {kUnsupportedController}},
      {"Add,MasterVolume=200,5,0",
       {{}, {"0 SysEx F0 07 7F 7F 04 01 00 7F F7"}, {}, {}, {}},
       {kError}},
      {"Add,MasterVolume=100,-,End", {{}, {}, {}, {}, {}}, {kEditOrOrderError}},
      {"Add,Tempo=80,-,0", {{"0 Tempo 750000"}, {}, {}, {}, {}}, {}},
      {"Add,Tempo=70,-,480", {{"480 Tempo 857000"}, {}, {}, {}, {}}, {}},
      {"Add,Tempo=0,-,0", {{}, {}, {}, {}, {}}, {kError}},
      {"Add,Tempo,0,0", {{}, {}, {}, {}, {}}, {kError}},
      {"Add,Tempo=80,-,End", {{}, {}, {}, {}, {}}, {kEditOrOrderError}},
      {"Add,LoopSysExStart,-,480",
       {{}, {"480 SysEx F0 09 59 7F 48 4D 02 0D 00 00 F7"}, {}, {}, {}},
       {}},
      {"Add,LoopSysExStart,-,End", {{}, {}, {}, {}, {}}, {kEditOrOrderError}},
      {"Add,LoopSysExStop,-,End", {{}, {std::string("480 ") + kLoopStop}, {}, {}, {}}, {}},
      {"Add,GMSystemOn,-,960", {{}, {"960 SysEx F0 05 7E 7F 09 01 F7"}, {}, {}, {}}, {}},
      {"Add,GMSystemOn,-,End", {{}, {}, {}, {}, {}}, {kEditOrOrderError}},
      {"Add,Text=abc,-,0", {{}, {}, {}, {}, {}}, {kEditError}},
      {"Add,PitchBend=0,-,999999999", {{}, {}, {}, {}, {}}, {kError}},
      {"Add,GMSystemOn,-,-5", {{}, {}, {}, {}, {}}, {kError}},
      {"Add,Foo=1,-,0",
       {{}, {}, {}, {}, {}},
       {kEditOrOrderError, "   問題のある指定  Foo", kEditError}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BuildSong();
    std::vector<std::vector<std::string>> before;
    for (int track = 0; track < 5; ++track) before.push_back(Events(track));
    Edit({c.row});
    for (int track = 0; track < 5; ++track) {
      EXPECT_EQ(AddedEvents(before[track], Events(track)), c.added[track]) << track;
    }
    EXPECT_EQ(Reported(), c.lines);
  }
}

TEST_F(AddCommand, OldWaysOfWritingShowTheirNoticeOnceAndDoNothing) {
  Edit({"Add,MasterVolumeMax,-,0", "Add,PitchBendZero,-,0", "Add,Tempo,-,0", "Add,Tempo,80,0",
        "Add,MasterVolumeMax,-,0"});
  EXPECT_EQ(sink_.Messages(),
            (std::vector<std::string>{
                "MasterVolumeMaxの書式は変更になりました。\rMasterVolume=127と記述してください。",
                "PitchBendZeroの書式は変更になりました。\rPitchBend=0と記述してください。",
                "Tempoの書式は変更になりました。\rTempo=80のように記述してください。"}));
  // Another file of the run shows nothing again.
  Edit({"Add,MasterVolumeMax,-,0"});
  EXPECT_TRUE(sink_.Messages().empty());
  EXPECT_EQ(Events(0).size(), 3u);
}

}  // namespace
}  // namespace quillmar::testing
