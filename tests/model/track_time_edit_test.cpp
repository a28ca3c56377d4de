#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

constexpr const char* kInternalError = "MidiTrackDataで内部エラーが発生しました。";

// Each event's kind and a tag that tells the events of a test apart (the controller value,
// program or note number).
std::vector<std::pair<EventKind, std::int32_t>> KindsOf(const MidiTrackData& track) {
  std::vector<std::pair<EventKind, std::int32_t>> kinds;
  for (const MusicEvent& event : track.Events()) {
    kinds.emplace_back(event.kind, event.kind == EventKind::Note ? event.note : event.value);
  }
  return kinds;
}

constexpr EventKind kNote = EventKind::Note;
constexpr EventKind kControl = EventKind::ControlChange;
constexpr EventKind kMeta = EventKind::Meta;

// --- InsertAtTime -------------------------------------------------------------------------

TEST(InsertAtTime, GoesAfterTheEventsAlreadyAtItsTime) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track =
      TrackOf(context, TrackForm::GateTimeForm,
              {Tempo(0, 500000), TimeSign(0, 4, 2), GateNote(0, 0, 60, 10), EndOfTrack(10)});
  ASSERT_TRUE(track.InsertAtTime(0, Control(99, 0, 7, 100)));
  EXPECT_EQ(track.Event(3).kind, kControl);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{0, 0, 0, 0, 10}));
}

TEST(InsertAtTime, KeepsTheTimesOfTheOtherEvents) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(50, 0, 7, 1), Control(100, 0, 7, 2), EndOfTrack(10)});
  ASSERT_TRUE(track.InsertAtTime(100, Control(0, 0, 7, 3)));
  EXPECT_EQ(KindsOf(track), (std::vector<std::pair<EventKind, std::int32_t>>{
                                {kControl, 1}, {kControl, 3}, {kControl, 2}, {kMeta, 0}}));
  EXPECT_EQ(track.Event(1).delta, 50);
  EXPECT_EQ(track.Event(2).delta, 50);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{50, 100, 150, 160}));
}

TEST(InsertAtTime, PastTheEndMovesTheEndOfTrackOtherwiseItStays) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto later =
      TrackOf(context, TrackForm::GateTimeForm, {GateNote(100, 0, 60, 10), EndOfTrack(100)});
  ASSERT_TRUE(later.InsertAtTime(300, Control(0, 0, 7, 1)));
  EXPECT_EQ(TimesOf(later), (std::vector<Ticks>{100, 300, 300}));
  EXPECT_TRUE(later.Event(2).IsMeta(MetaType::EndOfTrack));

  auto inside =
      TrackOf(context, TrackForm::GateTimeForm, {GateNote(100, 0, 60, 10), EndOfTrack(100)});
  ASSERT_TRUE(inside.InsertAtTime(150, Control(0, 0, 7, 1)));
  EXPECT_EQ(TimesOf(inside), (std::vector<Ticks>{100, 150, 200}));
  EXPECT_TRUE(inside.Event(2).IsMeta(MetaType::EndOfTrack));
}

TEST(InsertAtTime, NeverPassesAnEndOfTrackButMayReachTheEndOfTheTable) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto ended = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(0, 0, 7, 1), EndOfTrack(0), Control(0, 0, 7, 2)});
  ASSERT_TRUE(ended.InsertAtTime(0, Control(0, 0, 7, 3)));
  EXPECT_EQ(ended.Event(1).value, 3);

  auto open = TrackOf(context, TrackForm::GateTimeForm,
                      {Control(0, 0, 7, 1), Control(0, 0, 7, 2), Control(0, 0, 7, 4)});
  ASSERT_TRUE(open.InsertAtTime(0, Control(0, 0, 7, 3)));
  EXPECT_EQ(KindsOf(open), (std::vector<std::pair<EventKind, std::int32_t>>{
                               {kControl, 1}, {kControl, 2}, {kControl, 4}, {kControl, 3}}));
}

TEST(InsertAtTime, EmptyTracksAndTimesBeforeTheStart) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiTrackData empty(context, TrackForm::GateTimeForm);
  ASSERT_TRUE(empty.InsertAtTime(40, Control(0, 0, 7, 1)));
  EXPECT_EQ(TimesOf(empty), (std::vector<Ticks>{40}));

  auto track = TrackOf(context, TrackForm::GateTimeForm, {Control(10, 0, 7, 1), EndOfTrack()});
  ASSERT_TRUE(track.InsertAtTime(-5, Control(0, 0, 7, 2)));
  EXPECT_EQ(track.Event(0).value, 2);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{0, 10, 10}));
}

TEST(InsertAtTime, AFullTableChangesNothing) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiTrackData track(context, TrackForm::GateTimeForm);
  for (std::size_t i = 0; i < MidiTrackData::kMaxEvents; ++i)
    EXPECT_TRUE(track.Append(MusicEvent(1)));
  EXPECT_FALSE(track.InsertAtTime(5, Control(0, 0, 7, 1)));
  EXPECT_EQ(track.Count(), static_cast<int>(MidiTrackData::kMaxEvents));
  EXPECT_EQ(track.Event(4).delta, 1);
  EXPECT_EQ(sink.CountReported("データの量が多すぎます。"), 1);
}

// --- Note-range edits ---------------------------------------------------------------------

TEST(NoteRangeEdits, CutShortensSoundingNotesAndRemovesThoseStartingThere) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 0, 60, 960), GateNote(0, 0, 62, 100), GateNote(480, 0, 64, 10),
                        GateNote(10, 0, 65, 960), EndOfTrack(10)});
  track.CutNotesAt(480);
  EXPECT_EQ(KindsOf(track), (std::vector<std::pair<EventKind, std::int32_t>>{
                                {kNote, 60}, {kNote, 62}, {kNote, 65}, {kMeta, 0}}));
  EXPECT_EQ(track.Event(0).gate, 480);
  EXPECT_EQ(track.Event(1).gate, 100);
  EXPECT_EQ(track.Event(2).gate, 960);
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{0, 0, 490, 500}));
}

TEST(NoteRangeEdits, DeleteKindAfterKeepsTheEventsAtTheTime) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track =
      TrackOf(context, TrackForm::GateTimeForm,
              {Control(100, 0, 7, 1), GateNote(0, 0, 60, 5), Control(1, 0, 7, 2), EndOfTrack(9)});
  track.DeleteKindAfter(100, kControl);
  EXPECT_EQ(KindsOf(track), (std::vector<std::pair<EventKind, std::int32_t>>{
                                {kControl, 1}, {kNote, 60}, {kMeta, 0}}));
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{100, 100, 110}));
}

TEST(NoteRangeEdits, TransposeIsLimitedToTheNoteRange) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 0, 120, 5), GateNote(0, 0, 5, 5), Control(0, 0, 7, 120)});
  track.Transpose(1);
  EXPECT_EQ(track.Event(0).note, 127);
  EXPECT_EQ(track.Event(1).note, 17);
  track.Transpose(-2);
  EXPECT_EQ(track.Event(0).note, 103);
  EXPECT_EQ(track.Event(1).note, 0);
  track.Transpose(-200000000);
  EXPECT_EQ(track.Event(0).note, 0);
  EXPECT_EQ(track.Event(2).type, 7);
}

TEST(NoteRangeEdits, NeedGateTimeFormButChangeChannelWorksInAnyForm) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track =
      TrackOf(context, TrackForm::OnOffForm,
              {NoteOn(0, 3, 120), Control(10, 4, 7, 1), NoteOff(480, 3, 120), EndOfTrack()});
  track.CutNotesAt(0);
  track.DeleteKindAfter(0, kControl);
  track.Transpose(1);
  EXPECT_EQ(KindsOf(track),
            (std::vector<std::pair<EventKind, std::int32_t>>{
                {EventKind::NoteOn, 0}, {kControl, 1}, {EventKind::NoteOff, 0}, {kMeta, 0}}));
  EXPECT_EQ(track.Event(0).note, 120);
  EXPECT_EQ(sink.CountReported(kInternalError), 3);

  track.ChangeChannel(3, 9);
  EXPECT_EQ(track.Event(0).channel, 9);
  EXPECT_EQ(track.Event(1).channel, 4);
  EXPECT_EQ(track.Event(2).channel, 9);
  EXPECT_EQ(track.Event(3).channel, kNoChannel);
}

}  // namespace
}  // namespace quillmar
