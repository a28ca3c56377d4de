#include <gtest/gtest.h>

#include "model/midi_f1_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

MidiF1Data SongOf(ModelContext& context, std::vector<std::vector<MusicEvent>> tracks) {
  MidiF1Data song(context);
  song.SetDivision(480);
  for (auto& events : tracks) {
    EXPECT_TRUE(song.AppendTrack(TrackOf(context, TrackForm::GateTimeForm, std::move(events))));
  }
  return song;
}

TEST(BarToTicks, CountsBarsOfTheMeterInForce) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto common =
      SongOf(context, {{TimeSign(0, 4, 2), Control(1920, 0, 1, 0), Control(1920, 0, 1, 0),
                        Control(1920, 0, 1, 0), EndOfTrack(1920)}});
  EXPECT_EQ(common.BarToTicks(2, 1, 0), 4320);
  EXPECT_EQ(common.BarToTicks(0, 0, 7), 7);
  const auto compound = SongOf(context, {{TimeSign(0, 6, 3), EndOfTrack(1440)}});
  EXPECT_EQ(compound.BarToTicks(1, 0, 0), 1440);
}

TEST(BarToTicks, ExactWhenTrackZeroIsSparseOrEndsEarly) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto sparse = SongOf(context, {{TimeSign(0, 3, 2), EndOfTrack(100)}});
  EXPECT_EQ(sparse.BarToTicks(3, 0, 0), 3 * 1440) << "the last meter goes on";
  const auto gap = SongOf(context, {{TimeSign(0, 4, 2), TimeSign(3840, 3, 2), EndOfTrack(10)}});
  EXPECT_EQ(gap.BarToTicks(4, 0, 0), 2 * 1920 + 2 * 1440);
  EXPECT_EQ(gap.BarToTicks(2, 1, 5), 3840 + 480 + 5) << "a meter on a bar line rules that bar";
  const auto late = SongOf(context, {{Control(5000, 0, 1, 0), EndOfTrack()}});
  EXPECT_EQ(late.BarToTicks(0, 1, 0), 480);
}

TEST(BarToTicks, UnsupportedMeterIsReportedAndIgnored) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto song = SongOf(context, {{TimeSign(0, 3, 1), EndOfTrack(1920)}});
  EXPECT_EQ(song.BarToTicks(1, 0, 0), 1920);
  EXPECT_EQ(sink.CountReported("扱えない拍子記号が含まれていました。"), 1);
}

TEST(BarToTicks, DegenerateMetersAndDivisionsEnd) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto song = SongOf(context, {{TimeSign(0, 1, 3), EndOfTrack(10)}});
  EXPECT_EQ(song.BarToTicks(2000000000, 0, 0), 0);
  song.SetDivision(0);
  EXPECT_EQ(song.BarToTicks(5, 1, 2), 2);
  MidiF1Data empty(context);
  empty.SetDivision(96);
  EXPECT_EQ(empty.BarToTicks(2, 0, 0), 768);
}

TEST(SongLookups, MarkersAndCuePointsByText) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto song = SongOf(
      context, {{Meta(960, MetaType::Marker, "A"), Meta(960, MetaType::Marker, "B"), EndOfTrack()},
                {Meta(100, MetaType::CuePoint, "B"), EndOfTrack()}});
  EXPECT_EQ(song.FindMarker("B"), 1920);
  EXPECT_EQ(song.FindCuePoint("B"), 100);
  EXPECT_EQ(song.FindMarker("C"), std::nullopt);
}

TEST(SongLookups, NoteRangeOfAChannel) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto song = SongOf(context, {{GateNote(0, 2, 50, 5), GateNote(0, 2, 70, 5), EndOfTrack()},
                                     {GateNote(0, 2, 40, 5), EndOfTrack()}});
  EXPECT_EQ(song.GetNoteRange(2), std::make_pair(40, 70));
  EXPECT_EQ(song.GetNoteRange(3), std::make_pair(127, 0));
}

TEST(SongLookups, SecondMasterVolumeIsReported) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto song = SongOf(
      context, {{SysEx(0, {0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, 90, 0xF7}), EndOfTrack()},
                {SysEx(0, {0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, 80, 0xF7}), EndOfTrack()}});
  EXPECT_EQ(song.GetMasterVolume(), 90);
  EXPECT_EQ(sink.CountReported("マスターボリュームが複数設定されています。"), 1);
}

TEST(SplitTrack, NotesAtOrAboveTheThresholdComeFirst) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto song = SongOf(context, {{Tempo(0, 500000), EndOfTrack()},
                               {Program(0, 1, 5), GateNote(0, 1, 55, 10), GateNote(10, 1, 60, 10),
                                GateNote(10, 1, 72, 10), EndOfTrack(10)}});
  song.SplitTrack(1, 60, 1);
  ASSERT_EQ(song.TrackCount(), 3);
  const MidiTrackData& high = song.Track(1);
  const MidiTrackData& low = song.Track(2);
  ASSERT_EQ(high.Count(), 4);
  EXPECT_EQ(high.Event(0).kind, EventKind::ProgramChange);
  EXPECT_EQ(high.Event(1).note, 60);
  EXPECT_EQ(high.Event(2).note, 72);
  EXPECT_EQ(TimesOf(high), (std::vector<Ticks>{0, 10, 20, 30}));
  ASSERT_EQ(low.Count(), 3);
  EXPECT_EQ(low.Event(1).note, 55);
  EXPECT_EQ(TimesOf(low), (std::vector<Ticks>{0, 0, 30}));
}

TEST(SplitTrack, RefusedWhenTheSongWouldPassThirtyThreeTracks) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  std::vector<std::vector<MusicEvent>> tracks(32, {GateNote(0, 4, 60, 1), EndOfTrack(1)});
  tracks[0] = {GateNote(0, 1, 60, 1), EndOfTrack(1)};
  tracks[1] = {GateNote(0, 1, 60, 1), EndOfTrack(1)};
  auto song = SongOf(context, std::move(tracks));
  song.SplitTrack(1, 60, 1);
  EXPECT_EQ(song.TrackCount(), 32);
  EXPECT_EQ(sink.CountReported("MidiF1Dataで内部エラーが発生しました。"), 1);
}

}  // namespace
}  // namespace quillmar
