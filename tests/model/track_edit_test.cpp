#include <gtest/gtest.h>

#include "model/midi_track_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

TEST(TrackQueries, ChannelComesFromTheFirstSoundingEvent) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {NoteOff(0, 3, 60), GateNote(10, 5, 60, 10), EndOfTrack()});
  EXPECT_EQ(track.GetChannel(), 5);
  auto conductor = TrackOf(context, TrackForm::GateTimeForm, {Tempo(0, 500000), EndOfTrack()});
  EXPECT_EQ(conductor.GetChannel(), kNoChannel);
  EXPECT_TRUE(conductor.IsMetaOnly());
  EXPECT_FALSE(track.IsMetaOnly());
  EXPECT_FALSE(conductor.HasOnlyEndOfTrack());
  EXPECT_TRUE(TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack(5)}).HasOnlyEndOfTrack());
}

TEST(TrackQueries, FindEventMatchesAnyTypeForMinusOne) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track =
      TrackOf(context, TrackForm::GateTimeForm,
              {Tempo(0, 500000), Control(0, 0, 10, 64), Control(0, 0, 7, 100), EndOfTrack()});
  EXPECT_EQ(track.FindEvent(static_cast<int>(EventKind::ControlChange), -1), 1);
  EXPECT_EQ(track.FindEvent(static_cast<int>(EventKind::ControlChange), 7), 2);
  EXPECT_EQ(track.FindEvent(static_cast<int>(EventKind::PitchBend), -1), std::nullopt);
  EXPECT_EQ(track.FindTempo(), 500000);
  EXPECT_EQ(track.CountMeta(MetaType::EndOfTrack), 1);
}

TEST(TrackQueries, MetaTextTimeIsTheAbsoluteTimeOfTheFirstMatch) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track =
      TrackOf(context, TrackForm::GateTimeForm,
              {Meta(960, MetaType::Marker, "A"), Meta(960, MetaType::Marker, "B"), EndOfTrack()});
  EXPECT_EQ(track.FindMetaTextTime(MetaType::Marker, "B"), 1920);
  EXPECT_EQ(track.FindMetaTextTime(MetaType::Marker, "C"), std::nullopt);
  EXPECT_EQ(track.FindMetaTextTime(MetaType::CuePoint, "A"), std::nullopt);
}

TEST(TrackStructure, DeleteKeepsTheTimesOfTheOthersAndTheLastDropsItsDelta) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(10, 0, 7, 1), Control(20, 0, 7, 2), EndOfTrack(30)});
  track.DeleteAt(1);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{10, 60}));
  track.DeleteAt(1);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{10}));
}

TEST(TrackStructure, InsertAtShiftsEverythingAfterIt) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm, {Control(10, 0, 7, 1), EndOfTrack(5)});
  ASSERT_TRUE(track.InsertAt(0, MidiTrackData::Place::After, Control(3, 0, 10, 64)));
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{10, 13, 18}));
  ASSERT_TRUE(track.InsertAt(0, MidiTrackData::Place::Before, Program(0, 0, 5)));
  EXPECT_EQ(track.Event(0).kind, EventKind::ProgramChange);
  EXPECT_FALSE(track.InsertAt(7, MidiTrackData::Place::Before, Program(0, 0, 5)));
  EXPECT_EQ(track.Count(), 4);
  EXPECT_EQ(sink.CountReported("MidiTrackDataで内部エラーが発生しました。"), 1);
}

TEST(TrackStructure, AFullTableRefusesMoreEvents) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiTrackData track(context, TrackForm::GateTimeForm);
  for (std::size_t i = 0; i < MidiTrackData::kMaxEvents; ++i)
    EXPECT_TRUE(track.Append(MusicEvent(1)));
  EXPECT_FALSE(track.Append(MusicEvent(1)));
  EXPECT_FALSE(track.InsertAt(0, MidiTrackData::Place::Before, MusicEvent(1)));
  EXPECT_EQ(track.Count(), static_cast<int>(MidiTrackData::kMaxEvents));
  EXPECT_EQ(sink.CountReported("データの量が多すぎます。"), 2);
}

TEST(TrackStructure, AppendEndOfTrackOnlyWhenMissing) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiTrackData track(context, TrackForm::GateTimeForm);
  track.AppendEndOfTrack(7);
  track.AppendEndOfTrack(9);
  ASSERT_EQ(track.Count(), 1);
  EXPECT_EQ(track.Event(0).delta, 7);
  EXPECT_EQ(track.Event(0).data, std::string("\xFF\x2F\x00", 3));
}

TEST(TrackStructure, InnerEndsOfTrackGoAndTheirDeltasMoveOn) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {EndOfTrack(10), Control(5, 0, 7, 1), EndOfTrack(3), Control(4, 0, 7, 2)});
  track.RemoveInnerEndOfTrack();
  ASSERT_EQ(track.Count(), 2);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{15, 22}));
  auto ended = TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack(1), EndOfTrack(2)});
  ended.RemoveInnerEndOfTrack();
  ASSERT_EQ(ended.Count(), 1);
  EXPECT_EQ(ended.Event(0).delta, 3);
}

TEST(TrackStructure, SwappedEventsTakeOverTheSlotsDeltas) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::OnOffForm,
                       {NoteOn(10, 0, 60), Control(0, 0, 7, 1), EndOfTrack(5)});
  track.SwapEvents(0, 1);
  EXPECT_EQ(track.Event(0).kind, EventKind::ControlChange);
  EXPECT_EQ(track.Event(0).delta, 10);
  EXPECT_EQ(track.Event(1).kind, EventKind::NoteOn);
  EXPECT_EQ(track.Event(1).delta, 0);
}

TEST(TrackCopy, RequiresGateTimeForm) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto source = TrackOf(context, TrackForm::GateTimeForm, {GateNote(0, 0, 60, 10), EndOfTrack()});
  MidiTrackData copy(source);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Form(), TrackForm::GateTimeForm);
  source.SetForm(TrackForm::OnOffForm);
  MidiTrackData refused(source);
  EXPECT_EQ(refused.Count(), 0);
  EXPECT_EQ(sink.CountReported("MidiTrackDataで内部エラーが発生しました。"), 1);
}

}  // namespace
}  // namespace quillmar
