#include "pipeline/drum_list.h"

#include <gtest/gtest.h>

#include "pipeline/list_fixture.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;
using Values = std::vector<std::int32_t>;

// A drum track on channel 10 playing the notes in turn at the velocities.
std::vector<MusicEvent> Drums(std::initializer_list<std::pair<int, int>> notes,
                              std::int32_t channel = 9) {
  std::vector<MusicEvent> events;
  for (const auto& [note, velocity] : notes) {
    events.push_back(GateNote(10, channel, note, 5, velocity));
  }
  return events;
}

using DrumList = ListTest;

TEST_F(DrumList, VelocityOfTheRowsNoteChangesByEveryMode) {
  AddTrack(Drums({{36, 100}, {38, 100}, {36, 127}, {42, 0}, {46, 0}, {49, 100}, {51, 100}}));
  ApplyDrumList(song_, List(ListKind::Drum, {"36,バスドラム,80%,-", "42,ハイハット,+10,-",
                                             "46,オープンハイハット,20,-", "49,クラッシュ,-120,-",
                                             "51,ライド,+30,-"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{80, 100, 101, 10, 20, 0, 127}))
      << "unlike the volume list, a velocity of 0 is raised by + too";
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{36, 38, 36, 42, 46, 49, 51}));
  EXPECT_EQ(LineCount(), 0);
}

TEST_F(DrumList, SubstitutesTheNoteInEveryDrumTrack) {
  AddTrack(Drums({{38, 90}, {36, 100}, {38, 110}}));
  AddTrack(Drums({{38, 70}}));
  ApplyDrumList(song_, List(ListKind::Drum, {"38,スネア,-,40"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{40, 36, 40}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{90, 100, 110}));
  EXPECT_EQ(NoteField(1, &MusicEvent::note), (Values{40}));
}

TEST_F(DrumList, LaterRowsSeeEarlierSubstitutions) {
  AddTrack(Drums({{36, 100}, {38, 100}, {42, 100}, {44, 100}}));
  ApplyDrumList(song_, List(ListKind::Drum, {"36,バスドラム,-,38", "38,スネア,-,40",
                                             "44,ペダルハイハット,-,42", "42,ハイハット,50,-"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{40, 40, 42, 42}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{100, 100, 50, 50}));
}

TEST_F(DrumList, UnusableSubstitutesChangeNothingAndReportEveryNote) {
  AddTrack(Drums({{42, 100}, {42, 100}, {38, 100}}));
  AddTrack(Drums({{42, 100}}));
  ApplyDrumList(
      song_, List(ListKind::Drum, {"42,ハイハット,-,+2", "42,ハイハット,-,128", "42,ハイハット,,-",
                                   "42,ハイハット,-,", "42,x,-,50%"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{42, 42, 38}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{100, 100, 100}));
  EXPECT_EQ(NoteField(1, &MusicEvent::note), (Values{42}));
  EXPECT_EQ(sink_.CountReported(kBadDrumSubstitute), 3 * 3);
  EXPECT_EQ(sink_.CountReported(kListDataError), 2 * 2) << "each empty cell, in both tracks";
  EXPECT_EQ(LineCount(), 13);
}

TEST_F(DrumList, SubstituteOf127IsUsed) {
  AddTrack(Drums({{42, 100}}));
  ApplyDrumList(song_, List(ListKind::Drum, {"42,ハイハット,-,127"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{127}));
}

TEST_F(DrumList, TracksOfOtherChannelsAreNeverChanged) {
  AddTrack(Drums({{36, 100}}, 0));
  AddTrack(Drums({{36, 100}}, 10));
  AddTrack({Tempo(0, 500000)});
  AddTrack(Drums({{36, 100}}));
  ApplyDrumList(song_, List(ListKind::Drum, {"36,バスドラム,1 0,38"}));
  for (const int track : {0, 1}) {
    EXPECT_EQ(NoteField(track, &MusicEvent::note), (Values{36}));
    EXPECT_EQ(NoteField(track, &MusicEvent::velocity), (Values{100}));
  }
  EXPECT_EQ(NoteField(3, &MusicEvent::note), (Values{38}));
  EXPECT_EQ(NoteField(3, &MusicEvent::velocity), (Values{10}));
  EXPECT_EQ(sink_.CountReported(kListExtraSpace), 1) << "cells are read for drum tracks only";
}

TEST_F(DrumList, CellsAreParsedAnewForEveryDrumTrack) {
  AddTrack(Drums({{36, 100}}));
  AddTrack(Drums({{38, 100}}));
  AddTrack(Drums({{40, 100}}));
  ApplyDrumList(song_, List(ListKind::Drum, {"36,バスドラム,+5x,1 2"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{105}));
  EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{12}));
  EXPECT_EQ(sink_.CountReported(kListDataError), 3);
  EXPECT_EQ(sink_.CountReported(kListExtraSpace), 3);
}

// The velocity and substitute cells at each extreme number: the velocity stays in its range,
// an unusable substitute changes nothing, and a row naming no note changes nothing.
TEST_F(DrumList, ExtremeNumbersKeepValuesInTheirRanges) {
  const std::array<std::pair<int, int>, kExtremeNumbers.size()> expected{
      {{0, 36}, {127, 36}, {127, 36}, {0, 36}, {127, 36}, {100, 36}, {0, 0}}};
  for (std::size_t i = 0; i < kExtremeNumbers.size(); ++i) {
    const std::string n(kExtremeNumbers[i]);
    SCOPED_TRACE(n);
    song_ = MidiF1Data(context_);
    AddTrack(Drums({{36, 100}}));
    ApplyDrumList(song_, List(ListKind::Drum, {n + ",x,50,40", "36,x," + n + "," + n}));
    EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{expected[i].first}));
    EXPECT_EQ(NoteField(0, &MusicEvent::note), (Values{expected[i].second}));
  }
}

}  // namespace
}  // namespace quillmar
