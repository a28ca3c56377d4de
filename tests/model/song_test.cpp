#include <gtest/gtest.h>

#include "model/midi_f0_data.h"
#include "model/midi_f1_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

constexpr const char* kF1InternalErrorText = "MidiF1Dataで内部エラーが発生しました。";

MidiF0Data Format0Of(ModelContext& context, std::vector<MusicEvent> events) {
  MidiF0Data song(context, TrackForm::GateTimeForm);
  song.SetDivision(480);
  song.Track() = TrackOf(context, TrackForm::GateTimeForm, std::move(events));
  return song;
}

// The tracks are copied, so they must be in GateTimeForm.
MidiF1Data SongOf(ModelContext& context, std::vector<MidiTrackData> tracks) {
  MidiF1Data song(context);
  song.SetDivision(480);
  for (auto& track : tracks) EXPECT_TRUE(song.AppendTrack(std::move(track)));
  return song;
}

TEST(FormatZeroSplit, EventsGoToTheTrackOfTheirChannel) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto format0 =
      Format0Of(context, {Tempo(0, 500000), GateNote(0, 0, 60, 10), GateNote(10, 9, 36, 5),
                          GateNote(5, 15, 70, 5), Meta(5, MetaType::Text, "t"), EndOfTrack(20)});
  MidiF1Data song(format0);
  ASSERT_EQ(song.TrackCount(), 16);
  ASSERT_EQ(song.Track(0).Count(), 4);
  EXPECT_EQ(song.Track(0).Event(0).type, MetaType::Tempo) << "tempo before the note, as read";
  EXPECT_EQ(song.Track(0).Event(1).kind, EventKind::Note);
  EXPECT_EQ(TimesOf(song.Track(0)), (std::vector<Ticks>{0, 0, 20, 40}));
  EXPECT_EQ(TimesOf(song.Track(9)), (std::vector<Ticks>{10, 40}));
  EXPECT_EQ(TimesOf(song.Track(15)), (std::vector<Ticks>{15, 40}));
  EXPECT_TRUE(song.Track(3).HasOnlyEndOfTrack());
  song.DeleteEmptyTracks();
  EXPECT_EQ(song.TrackCount(), 3);
}

TEST(FormatZeroSplit, RhythmPartMessageFollowsItsChannel) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto format0 = Format0Of(
      context, {SysEx(0, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15, 0x02, 0x0F, 0xF7}),
                SysEx(0, {0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x64, 0xF7}), EndOfTrack(0)});
  MidiF1Data song(format0);
  EXPECT_EQ(song.Track(10).Event(0).kind, EventKind::SysExF0);
  EXPECT_EQ(song.Track(0).Event(0).kind, EventKind::SysExF0);
}

TEST(FormatZeroSplit, RefusesASongOutsideGateTimeForm) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiF0Data format0(context, TrackForm::OnOffForm);
  MidiF1Data song(format0);
  EXPECT_EQ(song.TrackCount(), 0);
  EXPECT_EQ(sink.CountReported(kF1InternalErrorText), 1);
}

TEST(TrackList, NeverMoreThanThirtyThreeTracks) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiF1Data song(context);
  for (int i = 0; i < MidiF1Data::kMaxTracks; ++i) {
    ASSERT_TRUE(song.AppendTrack(TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack()})));
  }
  EXPECT_FALSE(song.AppendTrack(MidiTrackData(context, TrackForm::GateTimeForm)));
  EXPECT_FALSE(song.InsertTrack(MidiTrackData(context, TrackForm::GateTimeForm), 0));
  EXPECT_EQ(song.TrackCount(), MidiF1Data::kMaxTracks);
  EXPECT_EQ(sink.CountReported(kF1InternalErrorText), 2);
}

TEST(TrackList, DeleteEmptyTracksTakesConsecutiveOnes) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto song = SongOf(
      context, {TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack()}),
                TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack()}),
                TrackOf(context, TrackForm::GateTimeForm, {GateNote(0, 2, 60, 5), EndOfTrack(5)}),
                TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack(9)})});
  song.DeleteEmptyTracks();
  ASSERT_EQ(song.TrackCount(), 1);
  EXPECT_EQ(song.Track(0).GetChannel(), 2);
}

TEST(TrackList, DeleteEmptyTracksKeepsTheFirstWhenAllAreEmpty) {
  // The ends of the empty tracks, by their times; the remaining ends after deleting.
  const std::vector<std::pair<std::vector<std::int32_t>, std::vector<Ticks>>> cases = {
      {{}, {}}, {{3}, {3}}, {{3, 9}, {3}}, {{3, 9, 0}, {3}}};
  for (const auto& [ends, remaining] : cases) {
    RecordingSink sink;
    ModelContext context{sink.Reports()};
    MidiF1Data song(context);
    for (std::int32_t end : ends) {
      EXPECT_TRUE(song.AppendTrack(TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack(end)})));
    }
    song.DeleteEmptyTracks();
    std::vector<Ticks> kept;
    for (int t = 0; t < song.TrackCount(); ++t) kept.push_back(TimesOf(song.Track(t)).at(0));
    EXPECT_EQ(kept, remaining) << ends.size() << " empty tracks";
  }
}

TEST(SongWriting, FormatOneHeaderCountsTheRemainingTracks) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto song =
      SongOf(context,
             {TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack()}),
              TrackOf(context, TrackForm::GateTimeForm, {GateNote(0, 0, 60, 96), EndOfTrack(96)})});
  song.DeleteEmptyTracks();
  song.ToOnOffForm();
  ASSERT_TRUE(song.Encode());
  const std::string expected = Smf(
      1, 480, {Chunk(Bytes({0x00, 0x90, 60, 100, 0x60, 0x80, 60, 64, 0x00, 0xFF, 0x2F, 0x00}))});
  EXPECT_EQ(song.Image(), expected);
  EXPECT_EQ(song.Form(), TrackForm::EncodedForm);
}

TEST(SongWriting, FormatZeroReordersEachTickAndFormatOneDoesNot) {
  // Note-on A, control change C and note-off B at one tick.
  std::vector<MusicEvent> tick = {NoteOn(0, 0, 62), NoteOn(10, 0, 60), Control(0, 0, 7, 100),
                                  NoteOff(0, 0, 62), EndOfTrack(0)};
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiF0Data format0(context, TrackForm::OnOffForm);
  format0.SetDivision(96);
  format0.Track() = TrackOf(context, TrackForm::OnOffForm, tick);
  ASSERT_TRUE(format0.Encode());
  const std::string body = format0.Image().substr(14 + 8);
  EXPECT_EQ(body, Bytes({0x00, 0x90, 62,   100,  0x0A, 0xB0, 7,    100,  0x00, 0x80,
                         62,   64,   0x00, 0x90, 60,   100,  0x00, 0xFF, 0x2F, 0x00}));
  MidiF1Data song(context, TrackForm::OnOffForm);
  song.SetDivision(96);
  EXPECT_TRUE(song.AppendTrack(TrackOf(context, TrackForm::OnOffForm, tick)));
  ASSERT_TRUE(song.Encode());
  EXPECT_EQ(song.Image().substr(14 + 8),
            Bytes({0x00, 0x90, 62,   100,  0x0A, 0x90, 60,   100,  0x00, 0xB0,
                   7,    100,  0x00, 0x80, 62,   64,   0x00, 0xFF, 0x2F, 0x00}));
}

TEST(SongWriting, WrongFormsAreRefusedAndNothingIsSaved) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto song = SongOf(context, {TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack()})});
  EXPECT_FALSE(song.Encode());
  EXPECT_EQ(song.Image(), "");
  EXPECT_EQ(sink.CountReported(kF1InternalErrorText), 1);
  MidiF0Data format0(context);
  EXPECT_FALSE(format0.Encode());
  EXPECT_EQ(sink.CountReported("MidiF0Dataで内部エラーが発生しました。"), 1);
}

TEST(SongCopy, CopiesEveryTrack) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto song = SongOf(
      context, {TrackOf(context, TrackForm::GateTimeForm, {GateNote(0, 3, 60, 5), EndOfTrack(5)})});
  const MidiF1Data copy(song);
  ASSERT_EQ(copy.TrackCount(), 1);
  EXPECT_EQ(copy.Division(), 480);
  EXPECT_EQ(copy.Track(0).GetChannel(), 3);
}

}  // namespace
}  // namespace quillmar
