#include <gtest/gtest.h>

#include <map>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

constexpr char kBadPosition[] = "編集リストで、削除の位置に誤りがあります。";

// A conductor with a cue point at 1000 and a marker at 1920; "Piano 1" on channel 1 with two
// three-note chords, an RPN triplet and three bends; "Piano 2" on channel 2 with a two-note
// chord and the loop and master volume messages; drums on channel 10. Voices: 3 + 2 + 2.
class DelCommand : public EditTest {
 protected:
  void BuildSong() {
    song_ = MidiF1Data(context_);
    song_.SetDivision(480);
    sink_.Clear();
    AddTrackEndingAt(3840, {Tempo(0, 500000), Meta(1000, MetaType::CuePoint, "Q0F"),
                            Meta(920, MetaType::Marker, "STOP")});
    AddTrackEndingAt(3840, {Meta(0, MetaType::SequenceName, "Piano 1"), Control(0, 0, 101, 0),
                            Control(0, 0, 100, 0), Control(0, 0, 6, 2), GateNote(0, 0, 60, 960),
                            GateNote(0, 0, 64, 960), GateNote(0, 0, 67, 960), Bend(480, 70),
                            Bend(240, 60), Bend(180, 80), GateNote(1020, 0, 60, 960)});
    AddTrackEndingAt(3840, {Meta(0, MetaType::SequenceName, "Piano 2"),
                            SysEx(0, {0xF0, 9, 0x59, 0x7F, 0x48, 0x4D, 2, 0x0D, 0, 0, 0xF7}),
                            SysEx(0, {0xF0, 7, 0x7F, 0x7F, 4, 1, 0, 100, 0xF7}),
                            GateNote(0, 1, 48, 1920), GateNote(0, 1, 55, 1920),
                            SysEx(1920, {0xF0, 9, 0x59, 0x7F, 0x48, 0x4D, 2, 0x0D, 0, 1, 0xF7})});
    AddTrackEndingAt(3840, {GateNote(0, 9, 36, 120), GateNote(0, 9, 42, 120),
                            GateNote(960, 9, 42, 120), GateNote(480, 9, 42, 120)});
  }
  static MusicEvent Bend(std::int32_t delta, std::int32_t value) {
    MusicEvent event = ChannelEvent(EventKind::PitchBend, delta, 0);
    event.value = value;
    return event;
  }
};

// The events of a track without those at the given places, and with others put in.
std::vector<std::string> Without(std::vector<std::string> events, std::vector<std::size_t> at) {
  for (auto it = at.rbegin(); it != at.rend(); ++it) events.erase(events.begin() + *it);
  return events;
}

TEST_F(DelCommand, RemovesWhatItsRowNames) {
  BuildSong();
  std::vector<std::vector<std::string>> original;
  for (int track = 0; track < 4; ++track) original.push_back(Events(track));
  const auto& conductor = original[0];
  const auto& piano1 = original[1];
  const auto& piano2 = original[2];
  const auto& drums = original[3];
  struct Case {
    const char* row;
    Tracks changed;
    std::vector<std::string> lines;
    int tracks = 4;
  };
  const Case cases[] = {
      {"Del,Note=42,10,-", {{3, Without(drums, {1, 2, 3})}}, {}},
      {"Del,Note=60,-,-", {{1, Without(piano1, {4, 10})}}, {}},
      {"Del,Note=60,-,Track=1", {{1, Without(piano1, {4, 10})}}, {}},
      {"Del,Note=60,-,Track=9", {}, {"エラーがおきました。"}},
      {"Del,Note=60,-,5", {}, {kBadPosition}},
      {"Del,Note=0,-,Marker=NONE", {}, {kBadPosition}},
      {"Del,Note=0,-,CuePoint=Q0F",
       {{1, Without(piano1, {10})},
        {2,
         {piano2[0], piano2[1], piano2[2], "0 Note1 48/1000/100", "0 Note1 55/1000/100", piano2[5],
          piano2[6]}},
        {3, {drums[0], drums[1], "960 Note9 42/40/100", drums[4]}}},
       {}},
      {"Del,Beat=2,-,-",
       {{0, {conductor[0], "520 Meta7 Q0F", "1440 Meta6 STOP", "3360 End"}},
        {1,
         {piano1[0], piano1[1], piano1[2], piano1[3], piano1[4], piano1[5], piano1[6],
          "480 PB0 0/70", "480 PB0 0/60", "480 PB0 0/80", "1440 Note0 60/960/100", "3360 End"}},
        {2,
         {piano2[0], piano2[1], piano2[2], piano2[3], piano2[4],
          "1440 SysEx F0 09 59 7F 48 4D 02 0D 00 01 F7", "3360 End"}},
        {3, {drums[0], drums[1], "480 Note9 42/120/100", "960 Note9 42/120/100", "3360 End"}}},
       {}},
      {"Del,PitchBend=0:8191,-,-", {{1, Without(piano1, {7, 9})}}, {}},
      {"Del,PitchBend=100:0,-,-", {}, {}},
      {"Del,PitchBendSensitivity,1,-", {{1, Without(piano1, {1, 2, 3})}}, {}},
      {"Del,LoopSysExStart,-,-", {{2, Without(piano2, {1})}}, {}},
      {"Del,SysExF0,-,-", {{2, Without(piano2, {1, 5})}}, {}},
      {"Del,MasterVolume,-,-", {{2, Without(piano2, {2})}}, {}},
      {"Del,Marker=STOP,-,1920", {{0, Without(conductor, {2})}}, {}},
      {"Del,Marker=STOP,-,100", {}, {}},
      {"Del,Marker=GO,-,-", {}, {}},
      {"Del,Track=Piano,-,Voice>4", {{1, piano2}, {2, drums}}, {"ボイスを削除しました。"}, 3},
      {"Del,Track,-,Chanel=10", {}, {}, 3},
      {"Del,Track,-,SequenceName=Piano", {{1, drums}}, {}, 2},
      {"Del,Track,-,Foo", {}, {kBadPosition}},
      {"Del,Foo,-,-",
       {},
       {"編集リストか順序リストに誤りがあります。", "   問題のある指定  Foo",
        "編集リストか順序リストに誤りがあります。"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BuildSong();
    ExpectAfterRow(c.row, original, c.changed, c.lines, c.tracks);
  }
}

TEST_F(DelCommand, NoticesAndAnEmptiedSong) {
  BuildSong();
  Edit({"Del,Note=60,Track=1,-", "Del,Note=64,Track=1,-", "Del,Note=0,-,EndMarker"});
  EXPECT_EQ(Reported(), std::vector<std::string>{
                            "   問題のある指定  「Del Note=0 Track=16 -」のような形ではなく「Del "
                            "Note=0 - Track=16」のように記述してください。"});
  EXPECT_EQ(sink_.Messages(),
            std::vector<std::string>{"EndMarkerの書式は変更になりました。\rMarker="
                                     "STOPのように記述してください。"});
  // Deleting every track leaves one empty track, so the song is still a valid file.
  song_ = MidiF1Data(context_);
  AddTrackEndingAt(960, {GateNote(0, 0, 60, 480)});
  Edit({"Del,Track,-,Chanel=1"});
  ASSERT_EQ(song_.TrackCount(), 1);
  EXPECT_EQ(Events(0), std::vector<std::string>{"0 End"});
}

}  // namespace
}  // namespace quillmar::testing
