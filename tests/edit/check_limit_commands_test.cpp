#include <gtest/gtest.h>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

// The marker STOP and the loop start; channel 1 notes of 480 at 0, 600 and 100 at 480;
// a drum track with a note of 960 at 480.
class CheckLimitCommands : public EditTest {
 protected:
  void BuildSong() {
    song_ = MidiF1Data(context_);
    sink_.Clear();
    AddTrackEndingAt(1920, {Meta(0, MetaType::Marker, "STOP"),
                            SysEx(0, {0xF0, 9, 0x59, 0x7F, 0x48, 0x4D, 2, 0x0D, 0, 0, 0xF7})});
    AddTrackEndingAt(1920,
                     {GateNote(0, 0, 60, 480), GateNote(480, 0, 62, 600), GateNote(0, 0, 64, 100)});
    AddTrackEndingAt(1920, {GateNote(480, 9, 36, 960)});
  }

  std::vector<std::int32_t> Gates() const {
    std::vector<std::int32_t> gates = NoteField(1, &MusicEvent::gate);
    gates.push_back(NoteField(2, &MusicEvent::gate).at(0));
    return gates;
  }
};

TEST_F(CheckLimitCommands, CheckAddsALineForWhatTheSongLacks) {
  BuildSong();
  Edit({"Check,Marker=STOP,-,-", "Check,Marker=GO,-,-", "Check,LoopSysExStart,-,-",
        "Check,LoopSysExStop,-,-", "Check,CuePoint=Q0F,-,-", "Check,SysExF0,-,-",
        "Check,MasterVolume,-,-"});
  // The lines as appended: the indent, no line end of their own; each row's lines are followed
  // by the row's place in the list (the heading is line 1) and its cells.
  const std::string indent(kReportIndent);
  EXPECT_EQ(sink_.Lines(), (std::vector<std::string>{
                               indent + "GOがありませんでした。",
                               indent + "list.csv 3行目: Check,Marker=GO,-,-",
                               indent + "エクスクルーシブがありませんでした。",
                               indent + "list.csv 5行目: Check,LoopSysExStop,-,-",
                               indent + "エクスクルーシブがありませんでした。",
                               indent + "list.csv 8行目: Check,MasterVolume,-,-",
                           }));
}

TEST_F(CheckLimitCommands, LimitShortensLongNotes) {
  struct Case {
    const char* row;
    std::vector<std::int32_t> gates;
    int shortened;
  };
  const Case cases[] = {
      {"Limit,GateTime<480,-,-", {479, 479, 100, 479}, 3},
      {"Limit,GateTime<480,9,-", {480, 600, 100, 479}, 1},
      {"Limit,GateTime<480,0,480", {480, 479, 100, 960}, 1},
      {"Limit,GateTime<2,1,-", {480, 600, 100, 960}, 0},
      {"Limit,GateTime>480,-,-", {480, 600, 100, 960}, 0},
      {"Limit,Velocity<480,-,-", {480, 600, 100, 960}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BuildSong();
    Edit({c.row});
    EXPECT_EQ(Gates(), c.gates);
    EXPECT_EQ(Reported(), std::vector<std::string>(static_cast<std::size_t>(c.shortened),
                                                   "   問題のある指定  音を縮めました。"));
  }
  // A bound of 1 would leave notes without length.
  BuildSong();
  Edit({"Limit,GateTime<1,-,-"});
  EXPECT_EQ(Gates(), (std::vector<std::int32_t>{480, 600, 100, 960}));
  EXPECT_EQ(Reported(), std::vector<std::string>{"エラーがおきました。"});
}

}  // namespace
}  // namespace quillmar::testing
