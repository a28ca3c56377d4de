#include <gtest/gtest.h>

#include <string>

#include "model/midi_track_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

constexpr const char* kMultipleVolumes = "複数のボリュームが設定されています。";
constexpr const char* kInternalError = "MidiTrackDataで内部エラーが発生しました。";

// A master-volume message with the given volume byte.
MusicEvent MasterVolume(std::int32_t delta, int volume) {
  return SysEx(delta, {0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, volume, 0xF7});
}

// The GS message that assigns a part to the rhythm set; its byte 7 is the part address.
MusicEvent RhythmPart(std::int32_t delta) {
  return SysEx(delta, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15, 0x02, 0x0F, 0xF7});
}

TEST(TrackControllers, VolumeIsTheLastAndASecondOneWarnsOncePerChunkRead) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(0, 0, 7, 100), Control(0, 0, 10, 30), Control(10, 0, 7, 80),
                        Control(10, 0, 7, 70), EndOfTrack()});
  EXPECT_EQ(track.GetVolume(), 70);
  EXPECT_EQ(track.GetVolume(), 70);
  EXPECT_EQ(track.GetPan(), 30);
  EXPECT_EQ(sink.CountReported(kMultipleVolumes), 1);
  EXPECT_EQ(sink.Lines().size(), 1u);
  context.RearmWarnings();
  EXPECT_EQ(track.GetVolume(), 70);
  EXPECT_EQ(sink.CountReported(kMultipleVolumes), 2);
}

TEST(TrackControllers, PanWarnsWithItsOwnMessageAndMissingControllersGiveNone) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(0, 3, 10, 20), Control(0, 3, 10, 40), EndOfTrack()});
  EXPECT_EQ(track.GetPan(), 40);
  EXPECT_EQ(track.GetVolume(), std::nullopt);
  EXPECT_EQ(sink.CountReported("複数のパンが設定されています。"), 1);
  EXPECT_EQ(sink.CountReported(kMultipleVolumes), 0);
}

TEST(TrackControllers, ProgramIsTheFirstNonZeroOne) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto mixed = TrackOf(context, TrackForm::GateTimeForm,
                       {Program(0, 0, 0), Program(0, 0, 0), Program(5, 0, 5), Program(5, 0, 7)});
  EXPECT_EQ(mixed.GetProgram(), 5);
  auto zeros = TrackOf(context, TrackForm::GateTimeForm, {Program(0, 0, 0), Program(0, 0, 0)});
  EXPECT_EQ(zeros.GetProgram(), 0);
  auto none = TrackOf(context, TrackForm::GateTimeForm, {Control(0, 0, 0, 5), EndOfTrack()});
  EXPECT_EQ(none.GetProgram(), std::nullopt);
  mixed.SetProgram(12);
  for (const MusicEvent& event : mixed.Events()) EXPECT_EQ(event.value, 12);
}

TEST(TrackControllers, ArithmeticTouchesOnlyTheControllerAndStaysInRange) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(0, 0, 7, 100), Control(0, 0, 7, 101), Control(0, 0, 7, 20),
                        Control(0, 0, 10, 100), Program(0, 0, 100)});
  auto values = [&track] {
    std::vector<std::int32_t> out;
    for (const MusicEvent& event : track.Events()) out.push_back(event.value);
    return out;
  };
  track.ScaleController(7, 150);
  EXPECT_EQ(values(), (std::vector<std::int32_t>{127, 127, 30, 100, 100}));
  track.SetController(7, 101);
  track.ScaleController(7, 50);
  EXPECT_EQ(values(), (std::vector<std::int32_t>{50, 50, 50, 100, 100}));
  track.SetController(7, 20);
  track.AddToController(7, -30);
  EXPECT_EQ(values(), (std::vector<std::int32_t>{0, 0, 0, 100, 100}));
  track.AddToController(7, 200);
  EXPECT_EQ(values(), (std::vector<std::int32_t>{127, 127, 127, 100, 100}));
}

TEST(TrackControllers, InsertedControlChangeComesFirst) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm, {Tempo(0, 500000), EndOfTrack(10)});
  track.InsertControlChange(4, 7, 100);
  ASSERT_EQ(track.Count(), 3);
  const MusicEvent& event = track.Event(0);
  EXPECT_EQ(event.kind, EventKind::ControlChange);
  EXPECT_EQ(event.delta, 0);
  EXPECT_EQ(event.channel, 4);
  EXPECT_EQ(event.type, 7);
  EXPECT_EQ(event.value, 100);
  EXPECT_EQ(event.data, Bytes({0xB0, 7, 100}));
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{0, 0, 10}));
}

TEST(TrackMasterVolume, InsertedMessageComesBeforeATempo) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm, {Tempo(0, 500000), EndOfTrack()});
  track.InsertMasterVolume(100);
  ASSERT_EQ(track.Count(), 3);
  const MusicEvent& event = track.Event(0);
  EXPECT_EQ(event.data, Bytes({0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x64, 0xF7}));
  EXPECT_EQ(event.kind, EventKind::SysExF0);
  EXPECT_EQ(event.type, SysExClass::MasterVolume);
  EXPECT_EQ(event.delta, 0);
  EXPECT_TRUE(track.Event(1).IsMeta(MetaType::Tempo));
  EXPECT_EQ(track.GetMasterVolume(), 100);
  EXPECT_TRUE(sink.Lines().empty());
}

TEST(TrackMasterVolume, SetChangesTheFirstAndGetReadsTheLastWithOneWarning) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {MasterVolume(0, 90), MasterVolume(10, 80), EndOfTrack()});
  EXPECT_EQ(track.GetMasterVolume(), 80);
  EXPECT_EQ(track.GetMasterVolume(), 80);
  EXPECT_EQ(sink.CountReported(kMultipleVolumes), 1);
  EXPECT_TRUE(track.SetMasterVolume(50));
  EXPECT_EQ(track.Event(0).value, 50);
  EXPECT_EQ(track.Event(0).DataByte(7), 50);
  EXPECT_EQ(track.Event(1).value, 80);
  auto without = TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack()});
  EXPECT_FALSE(without.SetMasterVolume(50));
  EXPECT_EQ(without.GetMasterVolume(), std::nullopt);
}

TEST(TrackMasterVolume, WideValuesAreReportedAndKeptButTheDataByteStaysMidi) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm, {MasterVolume(0, 90), EndOfTrack()});
  EXPECT_TRUE(track.SetMasterVolume(200));
  EXPECT_EQ(track.Event(0).value, 200);
  EXPECT_EQ(track.Event(0).DataByte(7), 200 & 0x7F);
  track.InsertMasterVolume(128);
  EXPECT_EQ(track.Event(0).value, 128);
  EXPECT_EQ(track.Event(0).DataByte(7), 0);
  EXPECT_EQ(track.Count(), 3);
  track.InsertMasterVolume(127);
  EXPECT_EQ(sink.CountReported(kInternalError), 2);
}

TEST(TrackMasterVolume, RhythmPartMessageIsNeverTakenForOne) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto rhythm_only = TrackOf(context, TrackForm::GateTimeForm, {RhythmPart(0), EndOfTrack()});
  ASSERT_TRUE(IsRhythmPartMessage(rhythm_only.Event(0)));
  EXPECT_EQ(rhythm_only.GetMasterVolume(), std::nullopt);
  EXPECT_FALSE(rhythm_only.SetMasterVolume(100));
  rhythm_only.DeleteMasterVolume();
  EXPECT_EQ(rhythm_only.Count(), 2);

  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {RhythmPart(0), MasterVolume(5, 90), RhythmPart(5), EndOfTrack()});
  const std::string rhythm_bytes = track.Event(0).data;
  EXPECT_EQ(track.GetMasterVolume(), 90);
  EXPECT_TRUE(track.SetMasterVolume(60));
  EXPECT_EQ(track.Event(0).data, rhythm_bytes);
  EXPECT_EQ(track.Event(1).DataByte(7), 60);
  EXPECT_EQ(sink.CountReported(kMultipleVolumes), 0);
  track.DeleteMasterVolume();
  ASSERT_EQ(track.Count(), 3);
  EXPECT_EQ(track.Event(1).data, rhythm_bytes);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{0, 10, 10}));
}

TEST(TrackMasterVolume, DeleteRemovesEveryOneAndKeepsTheOtherTimes) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {MasterVolume(3, 90), MasterVolume(4, 80), Tempo(5, 500000),
                        MasterVolume(6, 70), EndOfTrack(7)});
  track.DeleteMasterVolume();
  ASSERT_EQ(track.Count(), 2);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{12, 25}));
  EXPECT_EQ(track.GetMasterVolume(), std::nullopt);
}

TEST(TrackMetaText, GetAndSetWorkOnTheFirstOrEveryEventOfTheType) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Meta(0, MetaType::Text, "a"), Meta(0, MetaType::SequenceName, "Song"),
                        Meta(10, MetaType::SequenceName, "Other"), EndOfTrack()});
  EXPECT_EQ(track.GetMetaText(MetaType::SequenceName), "Song");
  EXPECT_EQ(track.GetMetaText(MetaType::Copyright), std::nullopt);
  EXPECT_TRUE(track.SetMetaText(MetaType::SequenceName, "First"));
  EXPECT_EQ(track.Event(1).data, "First");
  EXPECT_EQ(track.Event(2).data, "Other");
  EXPECT_TRUE(track.SetAllMetaText(MetaType::SequenceName, "All"));
  EXPECT_EQ(track.Event(1).data, "All");
  EXPECT_EQ(track.Event(2).data, "All");
  EXPECT_EQ(track.Event(0).data, "a");
  EXPECT_FALSE(track.SetMetaText(MetaType::Copyright, "c"));
  EXPECT_FALSE(track.SetAllMetaText(MetaType::Copyright, "c"));
  const std::string long_text(300, 'x');
  EXPECT_TRUE(track.SetMetaText(MetaType::Text, long_text));
  EXPECT_EQ(track.GetMetaText(MetaType::Text), long_text);
}

TEST(TrackMetaText, InsertedMetaComesFirstAndALongTextIsReportedButKept) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm, {Tempo(0, 500000), EndOfTrack(10)});
  track.InsertMeta(MetaType::Copyright, std::string(127, 'c'));
  EXPECT_TRUE(sink.Lines().empty());
  const std::string long_text(128, 't');
  track.InsertMeta(MetaType::SequenceName, long_text);
  EXPECT_EQ(sink.CountReported("MidiTrackDataでエラーが発生しました。"), 1);
  ASSERT_EQ(track.Count(), 4);
  const MusicEvent& event = track.Event(0);
  EXPECT_TRUE(event.IsMeta(MetaType::SequenceName));
  EXPECT_EQ(event.data, long_text);
  EXPECT_EQ(event.channel, kNoChannel);
  EXPECT_EQ(event.delta, 0);
  EXPECT_TRUE(track.Event(1).IsMeta(MetaType::Copyright));
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{0, 0, 0, 10}));
}

TEST(TrackMetaText, AddedTextFollowsTheEventsAtTickZero) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(
      context, TrackForm::GateTimeForm,
      {Tempo(0, 500000), Meta(0, MetaType::Text, "a"), Control(10, 0, 7, 100), EndOfTrack(10)});
  track.AddMetaText(MetaType::Marker, "m");
  ASSERT_EQ(track.Count(), 5);
  EXPECT_TRUE(track.Event(2).IsMeta(MetaType::Marker));
  EXPECT_EQ(track.Event(2).data, "m");
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{0, 0, 0, 10, 20}));
}

TEST(TrackMetaText, DeletionsCarryTheirDeltasForward) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Meta(1, MetaType::Text, "a"), Meta(2, MetaType::SequenceName, "n"),
                        Meta(3, MetaType::Text, "b"), Control(4, 0, 7, 1), Tempo(5, 500000),
                        Meta(6, MetaType::Marker, "m"), EndOfTrack(7)});
  EXPECT_TRUE(track.DeleteMeta(MetaType::Text));
  EXPECT_EQ(track.GetMetaText(MetaType::Text), "b");
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{3, 6, 10, 15, 21, 28}));
  EXPECT_FALSE(track.DeleteMeta(MetaType::Copyright));
  track.DeleteMetaExceptNameAndEnd();
  ASSERT_EQ(track.Count(), 3);
  EXPECT_TRUE(track.Event(0).IsMeta(MetaType::SequenceName));
  EXPECT_EQ(track.Event(1).kind, EventKind::ControlChange);
  EXPECT_TRUE(track.Event(2).IsMeta(MetaType::EndOfTrack));
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{3, 10, 28}));
}

TEST(TrackMetaText, ChangeMetaTypeRetypesEveryMatch) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Meta(0, MetaType::Text, "a"), Control(0, 0, MetaType::Text, 1),
                        Meta(0, MetaType::Text, "b"), EndOfTrack()});
  track.ChangeMetaType(MetaType::Text, MetaType::Marker);
  EXPECT_EQ(track.CountMeta(MetaType::Marker), 2);
  EXPECT_EQ(track.CountMeta(MetaType::Text), 0);
  EXPECT_EQ(track.Event(1).type, MetaType::Text);
}

}  // namespace
}  // namespace quillmar
