#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

const std::string kEndOfTrack = Bytes({0x00, 0xFF, 0x2F, 0x00});

MusicEvent WithKind(EventKind kind, std::int32_t delta, std::int32_t channel = 0) {
  MusicEvent event(delta);
  event.kind = kind;
  event.channel = channel;
  return event;
}

std::string Encoded(ModelContext& context, std::vector<MusicEvent> events) {
  MidiTrackData track = TrackOf(context, TrackForm::OnOffForm, std::move(events));
  EXPECT_TRUE(track.Encode());
  EXPECT_EQ(track.Form(), TrackForm::EncodedForm);
  return track.Image();
}

TEST(TrackEncoder, WritesEveryKindFromItsFieldsWithoutRunningStatus) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MusicEvent bend = WithKind(EventKind::PitchBend, 0, 4);
  bend.value = 0x40;
  MusicEvent escaped = WithKind(EventKind::SysExF7, 0);
  escaped.data = Bytes({0xF7, 0x01, 0x05});
  const std::string image =
      Encoded(context, {NoteOn(0, 1, 60), NoteOn(0, 1, 62), NoteOff(0, 1, 60, 0),
                        Control(0, 2, 7, 200), Program(0, 3, 5), bend, Tempo(0, 500000),
                        TimeSign(0, 3, 2), Meta(0, MetaType::Text, "hi"),
                        SysEx(0, {0xF0, 0x03, 0x01, 0x02, 0xF7}), escaped, EndOfTrack(0)});
  EXPECT_EQ(image, Chunk(Bytes({0x00, 0x91, 0x3C, 0x64, 0x00, 0x91, 0x3E, 0x64, 0x00, 0x81, 0x3C,
                                0x40, 0x00, 0xB2, 0x07, 0x48, 0x00, 0xC3, 0x05, 0x00, 0xE4, 0x00,
                                0x40, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x58,
                                0x04, 0x03, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x01, 0x02, 'h',  'i',
                                0x00, 0xF0, 0x03, 0x01, 0x02, 0xF7, 0x00, 0xF7, 0x01, 0x05}) +
                         kEndOfTrack));
  EXPECT_TRUE(sink.Lines().empty());
}

TEST(TrackEncoder, DeltasAreVariableLengthQuantitiesOfUpToFourBytes) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const std::string image =
      Encoded(context, {Program(127, 0, 1), Program(128, 0, 1), Program(16383, 0, 1),
                        Program(16384, 0, 1), Program(2097152, 0, 1), EndOfTrack(0)});
  EXPECT_EQ(image, Chunk(Bytes({0x7F, 0xC0, 0x01, 0x81, 0x00, 0xC0, 0x01, 0xFF, 0x7F, 0xC0, 0x01,
                                0x81, 0x80, 0x00, 0xC0, 0x01, 0x81, 0x80, 0x80, 0x00, 0xC0, 0x01}) +
                         kEndOfTrack));
}

TEST(TrackEncoder, LongMetaTextsGetALongLengthAndOneWarning) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const std::string lyric(150, 'l');
  const std::string image = Encoded(
      context, {Meta(0, MetaType::Lyric, lyric), Meta(0, MetaType::Lyric, lyric), EndOfTrack(0)});
  const std::string event = Bytes({0x00, 0xFF, 0x05, 0x81, 0x16}) + lyric;
  EXPECT_EQ(image, Chunk(event + event + kEndOfTrack));
  EXPECT_EQ(sink.CountReported("サイズが大きすぎるイベントが含まれています。"), 1);
}

TEST(TrackEncoder, EventsWithoutAnEncodingAreLeftOutAndPassOnTheirDeltas) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MusicEvent bend = WithKind(EventKind::PitchBend, 6, 16);
  const std::string image = Encoded(
      context, {WithKind(EventKind::Removed, 1), GateNote(2, 0, 60, 10),
                WithKind(EventKind::PolyPressure, 3), WithKind(EventKind::ChannelPressure, 4),
                NoteOn(5, -1, 60), bend, NoteOn(7, 0, 60), NoteOff(-3, 0, 60), EndOfTrack(0)});
  EXPECT_EQ(image, Chunk(Bytes({28, 0x90, 0x3C, 0x64, 0x00, 0x80, 0x3C, 0x40}) + kEndOfTrack));
  EXPECT_EQ(sink.CountReported("未定義のMIDIイベントです。"), 4);
  EXPECT_EQ(sink.CountReported("チャネルに誤りがあります。"), 2);
  EXPECT_EQ(sink.CountReported("MidiTrackDataで内部エラーが発生しました。"), 1) << "negative delta";
}

TEST(TrackEncoder, RefusesATrackInAnotherFormOrWithoutFinalEndOfTrack) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto ends_with_note = TrackOf(context, TrackForm::OnOffForm, {EndOfTrack(0), NoteOn(0, 0, 60)});
  EXPECT_FALSE(ends_with_note.Encode());
  auto gate_time = TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack(0)});
  EXPECT_FALSE(gate_time.Encode());
  EXPECT_FALSE(MidiTrackData(context, TrackForm::OnOffForm).Encode());
  EXPECT_EQ(sink.CountReported("MidiTrackDataで内部エラーが発生しました。"), 3);
  EXPECT_EQ(ends_with_note.Size(), 0u);
  EXPECT_EQ(ends_with_note.Form(), TrackForm::OnOffForm);
}

TEST(TrackEncoder, AReadChunkInCanonicalFormIsWrittenBackByteForByte) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const std::string chunk = Chunk(
      Bytes({0x00, 0xFF, 0x03, 0x05, 'P',  'i',  'a',  'n',  'o',  0x00, 0xFF, 0x51, 0x03, 0x07,
             0xA1, 0x20, 0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x59, 0x02,
             0x00, 0x00, 0x00, 0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41,
             0xF7, 0x00, 0xB0, 0x07, 0x64, 0x00, 0xC0, 0x00, 0x00, 0xE0, 0x00, 0x40, 0x00, 0x90,
             0x3C, 0x64, 0x83, 0x60, 0x80, 0x3C, 0x40, 0x81, 0x80, 0x00, 0xF7, 0x01, 0x05}) +
      kEndOfTrack);
  MidiTrackData track(context, chunk, 0);
  ASSERT_TRUE(track.Encode());
  EXPECT_EQ(track.Image(), chunk);

  // A note-on of velocity 0 comes back as a note-off of velocity 64.
  MidiTrackData silent(context, Chunk(Bytes({0x00, 0x93, 0x3C, 0x00}) + kEndOfTrack), 0);
  ASSERT_TRUE(silent.Encode());
  EXPECT_EQ(silent.Image(), Chunk(Bytes({0x00, 0x83, 0x3C, 0x40}) + kEndOfTrack));
}

}  // namespace
}  // namespace quillmar
