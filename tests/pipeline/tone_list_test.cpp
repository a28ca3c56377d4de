#include "pipeline/tone_list.h"

#include <gtest/gtest.h>

#include "pipeline/list_fixture.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;
using Values = std::vector<std::int32_t>;

constexpr std::int32_t kVolume = 7;
constexpr std::int32_t kBankSelect = 0;
constexpr std::int32_t kBankSelectLow = 32;

using ToneList = ListTest;

TEST_F(ToneList, OctaveShiftFoldsNotesBackIntoTheRange) {
  AddTrack({Program(0, 0, 0), GateNote(0, 0, 60, 10), GateNote(0, 0, 120, 10)});
  AddTrack({Program(0, 1, 1), GateNote(0, 1, 10, 10), GateNote(0, 1, 60, 10)});
  AddTrack({Program(0, 2, 2), GateNote(0, 2, 10, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,-,-,1,-,-", "2,Piano 2,-,-,-2,-,-",
                                             "3,ホンキートンク,-,-,+1,-,-"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{72, 120}));
  EXPECT_EQ(NoteField(1, &MusicEvent::note), (Values{10, 36})) << "-14 folds up twice";
  EXPECT_EQ(NoteField(2, &MusicEvent::note), (Values{22}));
  EXPECT_EQ(sink_.CountReported(kOctaveFolded), 1 + 2);
}

TEST_F(ToneList, PercentOctaveReportsEveryNoteAndChangesNone) {
  AddTrack(
      {Program(0, 0, 0), GateNote(0, 0, 60, 10), GateNote(0, 0, 64, 10), GateNote(0, 0, 67, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,-,-,50%,-,-"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{60, 64, 67}));
  EXPECT_EQ(sink_.CountReported(kBadOctave), 3);
}

TEST_F(ToneList, HugeOctaveShiftFoldsLikeElevenOctaves) {
  AddTrack({Program(0, 0, 0), GateNote(0, 0, 60, 10), GateNote(0, 0, 127, 10)});
  AddTrack({Program(0, 1, 1), GateNote(0, 1, 61, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,-,-,+999999,-,-", "2,Piano,-,-,-50,-,-"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{120, 127}));
  EXPECT_EQ(NoteField(1, &MusicEvent::note), (Values{1}));
  EXPECT_EQ(sink_.CountReported(kOctaveFolded), 6 + 11 + 6);
}

TEST_F(ToneList, SubstitutesBankSelectAndProgramOfMatchedTracks) {
  AddTrack({Control(0, 0, kVolume, 100), Control(0, 0, kBankSelect, 8),
            Control(0, 0, kBankSelectLow, 3), Program(0, 0, 0), Control(10, 0, kBankSelect, 16),
            Program(0, 0, 0)});
  AddTrack({Program(0, 1, 5)});
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,-,-,-,1,49"}));
  EXPECT_EQ(ControllerValues(0, kBankSelect), (Values{0, 0}));
  EXPECT_EQ(ControllerValues(0, kBankSelectLow), (Values{3}));
  EXPECT_EQ(ProgramValues(0), (Values{48, 48}));
  EXPECT_EQ(ProgramValues(1), (Values{5}));
  EXPECT_EQ(LineCount(), 0);
}

TEST_F(ToneList, UnusableSubstitutesChangeNothingAndReportEveryEvent) {
  for (const int channel : {0, 1, 2}) {
    AddTrack({Control(0, channel, kVolume, 100), Control(0, channel, kBankSelect, 8),
              Control(0, channel, kBankSelect, 9), Program(0, channel, 0)});
  }
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,-,-,-,+1,0", "1,ピアノ,-,-,-,129,50%",
                                             "1,ピアノ,-,-,-,,-", "1,ピアノ,-,-,-,-,128"}));
  for (const int track : {0, 1, 2}) {
    EXPECT_EQ(ControllerValues(track, kBankSelect), (Values{8, 9}));
    EXPECT_EQ(ProgramValues(track), (Values{127}));
  }
  EXPECT_EQ(sink_.CountReported(kBadSubstitute), 3 * (2 + 1 + 2 + 1));
  EXPECT_EQ(sink_.CountReported(kListDataError), 3);
  EXPECT_EQ(LineCount(), 21);
}

TEST_F(ToneList, LaterRowsSeeEarlierSubstitutions) {
  AddTrack({Program(0, 0, 0), GateNote(0, 0, 60, 10)});
  AddTrack({Program(0, 1, 0), GateNote(0, 1, 60, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,-,-,-,-,41", "41,バイオリン,-,-,1,-,-",
                                             "42,ビオラ,-,-,1,-,-", "1,ピアノ,-,-,-,-,42"}));
  for (const int track : {0, 1}) {
    EXPECT_EQ(ProgramValues(track), (Values{40})) << "no longer matched by the last row";
    EXPECT_EQ(NoteField(track, &MusicEvent::note), (Values{72})) << "moved by the violin row";
  }
}

TEST_F(ToneList, DrumTracksAndConductorTracksAreNeverMatched) {
  AddTrack({Tempo(0, 500000)});
  AddTrack({Program(0, 9, 0), GateNote(0, 9, 36, 10)});
  AddTrack({GateNote(0, 9, 38, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,50,+10,1,-,5", "0,なし,50,+10,1,-,5"}));
  EXPECT_EQ(song_.Track(0).Count(), 2);
  EXPECT_EQ(ProgramValues(1), (Values{0}));
  EXPECT_EQ(NoteField(1, &MusicEvent::note), (Values{36}));
  EXPECT_EQ(NoteField(2, &MusicEvent::velocity), (Values{100}));
  EXPECT_EQ(LineCount(), 0);
}

TEST_F(ToneList, TrackWithoutProgramTakesItsChannelsProgram) {
  AddTrack({Program(0, 3, 5), GateNote(0, 3, 60, 10)});
  AddTrack({GateNote(0, 3, 62, 10)});
  AddTrack({GateNote(0, 4, 64, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"6,ハープシコード,-,+10,-,-,-", "1,ピアノ,-,+1,-,-,-",
                                             "0,なし,-,+2,-,-,-", "いいえ,-,-,+3,-,-,-"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{110}));
  EXPECT_EQ(NoteField(1, &MusicEvent::velocity), (Values{110}));
  EXPECT_EQ(ProgramValues(1), (Values{})) << "no program change of its own to change";
  EXPECT_EQ(NoteField(2, &MusicEvent::velocity), (Values{105}))
      << "no program on the channel: matched by the rows 0 and without a number";
}

TEST_F(ToneList, ChannelProgramIsLookedUpAfterEarlierTracksOfTheRowChanged) {
  AddTrack({GateNote(0, 3, 62, 10)});
  AddTrack({Program(0, 3, 5), GateNote(0, 3, 60, 10)});
  AddTrack({GateNote(0, 3, 64, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"6,ハープシコード,-,+10,-,-,20"}));
  EXPECT_EQ(ProgramValues(1), (Values{19}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{110})) << "examined before the change";
  EXPECT_EQ(NoteField(1, &MusicEvent::velocity), (Values{110}));
  EXPECT_EQ(NoteField(2, &MusicEvent::velocity), (Values{100})) << "now plays program 20";
}

TEST_F(ToneList, VolumeStepOfMatchedTracksWithCellsParsedPerTrack) {
  AddTrack({Program(0, 0, 0), GateNote(0, 0, 60, 10)});
  AddTrack({GateNote(0, 0, 62, 10)});
  AddTrack({Program(0, 1, 0), GateNote(0, 1, 64, 10)});
  AddTrack({Program(0, 2, 0), Control(0, 2, kVolume, 100), GateNote(0, 2, 64, 10)});
  AddTrack({Program(0, 5, 3), GateNote(0, 5, 64, 10)});
  ApplyToneList(song_, List(ListKind::Tone, {"1,ピアノ,+10,1 0,-,-,-"}));
  EXPECT_EQ(ControllerValues(0, kVolume), (Values{110}));
  EXPECT_EQ(ControllerValues(1, kVolume), (Values{}));
  EXPECT_EQ(ControllerValues(2, kVolume), (Values{110}));
  EXPECT_EQ(ControllerValues(3, kVolume), (Values{110}));
  EXPECT_EQ(NoteField(1, &MusicEvent::velocity), (Values{10}));
  EXPECT_EQ(NoteField(4, &MusicEvent::velocity), (Values{100}));
  EXPECT_EQ(sink_.CountReported(kVolumeFrom100), 2);
  EXPECT_EQ(sink_.CountReported(kVolumeOnOtherTrack), 1);
  EXPECT_EQ(sink_.CountReported(kListExtraSpace), 4) << "once for each matched track";
}

// Every cell at each extreme number: values stay in their ranges, octaves fold back, unusable
// substitutes change nothing, and a row naming no program changes nothing.
TEST_F(ToneList, ExtremeNumbersKeepValuesInTheirRanges) {
  struct Expected {
    Values volume, velocity, note, bank, program;
  };
  const std::array<Expected, kExtremeNumbers.size()> expected{{
      {{0}, {0}, {0}, {8}, {0}},
      {{127}, {127}, {120}, {8}, {0}},
      {{127}, {127}, {120}, {8}, {0}},
      {{0}, {0}, {0}, {8}, {0}},
      {{127}, {127}, {120}, {8}, {0}},
      {{100}, {100}, {60}, {8}, {0}},
      {{0}, {0}, {60}, {8}, {0}},
  }};
  for (std::size_t i = 0; i < kExtremeNumbers.size(); ++i) {
    const std::string n(kExtremeNumbers[i]);
    SCOPED_TRACE(n);
    song_ = MidiF1Data(context_);
    AddTrack({Program(0, 0, 0), Control(0, 0, kVolume, 100), Control(0, 0, kBankSelect, 8),
              GateNote(0, 0, 60, 10)});
    const std::string cells = n + "," + n + "," + n + "," + n + "," + n;
    ApplyToneList(song_, List(ListKind::Tone, {"1,x," + cells, n + ",x,-,-,-,-,-"}));
    EXPECT_EQ(ControllerValues(0, kVolume), expected[i].volume);
    EXPECT_EQ(NoteField(0, &MusicEvent::velocity), expected[i].velocity);
    EXPECT_EQ(NoteField(0, &MusicEvent::note), expected[i].note);
    EXPECT_EQ(ControllerValues(0, kBankSelect), expected[i].bank);
    EXPECT_EQ(ProgramValues(0), expected[i].program);
  }
}

}  // namespace
}  // namespace quillmar
