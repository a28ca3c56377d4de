#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

constexpr const char* kInternalError = "MidiTrackDataで内部エラーが発生しました。";
constexpr const char* kTooLarge = "サイズが大きすぎるイベントが含まれています。";
const std::string kEndOfTrack = Bytes({0x00, 0xFF, 0x2F, 0x00});

MidiTrackData Read(ModelContext& context, const std::string& body) {
  return MidiTrackData(context, Chunk(body), 0);
}

std::vector<EventKind> KindsOf(const MidiTrackData& track) {
  std::vector<EventKind> kinds;
  for (const MusicEvent& event : track.Events()) kinds.push_back(event.kind);
  return kinds;
}

TEST(TrackReader, ChannelMessagesUseRunningStatusAlsoAfterAMetaEvent) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const std::string body =
      Bytes({0x00, 0x91, 0x3C, 0x64, 0x10, 0x3E, 0x50, 0x00, 0xFF, 0x01, 0x02, 'h',  'i',
             0x00, 0x40, 0x00, 0x00, 0x82, 0x3C, 0x20, 0x00, 0xB3, 0x07, 0x64, 0x00, 0xC4,
             0x05, 0x00, 0xE5, 0x01, 0x40, 0x00, 0xA6, 0x3C, 0x10, 0x00, 0xD7, 0x10}) +
      kEndOfTrack;
  const MidiTrackData track = Read(context, body);
  using K = EventKind;
  EXPECT_EQ(KindsOf(track), (std::vector<K>{K::NoteOn, K::NoteOn, K::Meta, K::NoteOff, K::NoteOff,
                                            K::ControlChange, K::ProgramChange, K::PitchBend,
                                            K::PolyPressure, K::ChannelPressure, K::Meta}));
  EXPECT_EQ(track.Event(1).delta, 16);
  EXPECT_EQ(track.Event(1).data, Bytes({0x91, 0x3E, 0x50})) << "the status actually used";
  EXPECT_EQ(track.Event(2).data, "hi");
  const MusicEvent& silent_on = track.Event(3);
  EXPECT_EQ(silent_on.channel, 1);
  EXPECT_EQ(silent_on.note, 0x40);
  EXPECT_EQ(silent_on.velocity, 0);
  EXPECT_EQ(track.Event(4).velocity, 0x20);
  EXPECT_EQ(track.Event(5).channel, 3);
  EXPECT_EQ(track.Event(5).type, 7);
  EXPECT_EQ(track.Event(5).value, 0x64);
  EXPECT_EQ(track.Event(6).value, 5);
  EXPECT_EQ(track.Event(7).note, 1);
  EXPECT_EQ(track.Event(7).value, 0x40);
  EXPECT_EQ(track.Event(8).channel, kNoChannel);
  EXPECT_EQ(track.Event(9).data, Bytes({0xD7, 0x10}));
  EXPECT_EQ(track.Size(), body.size() + 8);
  EXPECT_EQ(track.Form(), TrackForm::OnOffForm);
  EXPECT_EQ(context.running_status, 0xD7);
  EXPECT_TRUE(sink.Lines().empty());
}

TEST(TrackReader, RunningStatusStartsFromTheContextAndCarriesIntoTheNextChunk) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  context.running_status = 0x92;
  const MidiTrackData first = Read(context, Bytes({0x00, 0x3C, 0x64, 0x00, 0xC5, 0x01}));
  EXPECT_EQ(first.Event(0).kind, EventKind::NoteOn);
  EXPECT_EQ(first.Event(0).channel, 2);
  // A byte that is no status the reader knows is a data byte under running status.
  const MidiTrackData second = Read(context, Bytes({0x00, 0x07, 0x00, 0xF8}) + kEndOfTrack);
  ASSERT_EQ(second.Count(), 3);
  EXPECT_EQ(second.Event(0).kind, EventKind::ProgramChange);
  EXPECT_EQ(second.Event(0).channel, 5);
  EXPECT_EQ(second.Event(0).value, 7);
  EXPECT_EQ(second.Event(1).value, 0xF8);
  EXPECT_EQ(sink.CountReported(kInternalError), 1) << "program number of 128 or more";
}

TEST(TrackReader, SystemExclusiveMessagesAreStoredWholeAndServeAsRunningStatus) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const std::string volume = Bytes({0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x64, 0xF7});
  const MidiTrackData track = Read(
      context, Bytes({0x00}) + volume +
                   Bytes({0x00, 0x01, 0x02, 0xF7, 0x00, 0xF7, 0x02, 0x01, 0x02, 0x00, 0x01, 0x05}) +
                   kEndOfTrack);
  ASSERT_EQ(track.Count(), 5);
  EXPECT_EQ(track.Event(0).data, volume);
  EXPECT_EQ(track.Event(0).type, SysExClass::MasterVolume);
  EXPECT_EQ(track.Event(0).value, 0x64);
  EXPECT_EQ(track.Event(1).kind, EventKind::SysExF0);
  EXPECT_EQ(track.Event(1).data, Bytes({0xF0, 0x01, 0x02, 0xF7}));
  EXPECT_EQ(track.Event(2).kind, EventKind::SysExF7);
  EXPECT_EQ(track.Event(2).data, Bytes({0xF7, 0x02, 0x01, 0x02}));
  EXPECT_EQ(track.Event(3).kind, EventKind::SysExF7);
  EXPECT_EQ(track.Event(3).data, Bytes({0xF7, 0x01, 0x05}));
}

TEST(TrackReader, EventsOf256BytesOrMoreAreStoredWholeAndReportedOncePerChunk) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const std::string text(300, 't');
  const std::string sysex = Bytes({0xF0, 0x82, 0x2A}) + std::string(297, '\x01') + "\xF7";
  const MidiTrackData track =
      Read(context, Bytes({0x00, 0xFF, 0x01, 0x82, 0x2C}) + text + Bytes({0x00}) + sysex);
  EXPECT_EQ(track.Event(0).data, text);
  EXPECT_EQ(track.Event(1).data, sysex);
  EXPECT_EQ(sink.CountReported(kTooLarge), 1);
  EXPECT_EQ(Read(context, Bytes({0x00, 0xFF, 0x01, 0x82, 0x00}) + std::string(256, 't')).Count(),
            2);
  EXPECT_EQ(sink.CountReported(kTooLarge), 2) << "re-armed by the next chunk";
}

TEST(TrackReader, MetaTypesOutsideTheModelAreReadAndMarkedRemoved) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const MidiTrackData track = Read(context, Bytes({0x07, 0xFF, 0x21, 0x01, 0x00, 0x00, 0xFF, 0x08,
                                                   0x01, 'x', 0x00, 0xFF, 0x7F, 0x02, 0x43, 0x7B}) +
                                                kEndOfTrack);
  using K = EventKind;
  EXPECT_EQ(KindsOf(track), (std::vector<K>{K::Removed, K::Removed, K::Meta, K::Meta}));
  EXPECT_EQ(track.Event(0).delta, 7);
  EXPECT_EQ(track.Event(0).type, 33);
  EXPECT_EQ(track.Event(2).data, Bytes({0x43, 0x7B}));
}

TEST(TrackReader, FixedSizeMetaEventsHonourTheirLengthByte) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const MidiTrackData track = Read(
      context,
      Bytes({0x00, 0xFF, 0x00, 0x02, 0x00, 0x05,              // sequence number
             0x00, 0xFF, 0x20, 0x01, 0x03,                    // channel prefix
             0x00, 0xFF, 0x51, 0x04, 0x07, 0xA1, 0x20, 0x00,  // tempo, one byte too many
             0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00,        // tempo 0
             0x09, 0xFF, 0x51, 0x02, 0x07, 0xA1,              // tempo cut short
             0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x59, 0x02, 0xFE, 0x01,
             0x00, 0xFF, 0x54, 0x05, 0x01, 0x02, 0x03, 0x04, 0x05, 0x00, 0xFF, 0x2F, 0x01, 0x00}));
  using K = EventKind;
  ASSERT_EQ(KindsOf(track), (std::vector<K>{K::Meta, K::Meta, K::Meta, K::Meta, K::Removed, K::Meta,
                                            K::Meta, K::Meta, K::Meta}));
  EXPECT_EQ(track.Event(0).data, Bytes({0x00, 0x05}));
  EXPECT_EQ(track.Event(1).data, Bytes({0x03}));
  EXPECT_EQ(track.Event(2).value, 500000);
  EXPECT_EQ(track.Event(3).value, 480);
  EXPECT_EQ(track.Event(4).delta, 9);
  EXPECT_EQ(track.Event(5).value, 3);
  EXPECT_EQ(track.Event(5).data, Bytes({0x03, 0x02, 0x18, 0x08}));
  EXPECT_EQ(track.Event(6).data, Bytes({0xFE, 0x01}));
  EXPECT_EQ(track.Event(7).data, Bytes({0x01, 0x02, 0x03, 0x04, 0x05}));
  EXPECT_TRUE(track.Event(8).IsMeta(MetaType::EndOfTrack));
  EXPECT_EQ(sink.CountReported("テンポに誤りがあります。"), 1);
  EXPECT_EQ(sink.CountReported(kInternalError), 1);
}

TEST(TrackReader, ABrokenEventStopsTheChunkWhichStillEndsWithEndOfTrack) {
  const std::vector<std::string> broken = {
      Bytes({0x00, 0x90, 0x3C}),                                // data byte missing
      Bytes({0x00, 0xF7, 0x05, 0x01}),                          // escaped bytes missing
      Bytes({0x00, 0xFF, 0x01, 0x05, 'a'}),                     // text cut short
      Bytes({0x00, 0xFF}),                                      // meta type missing
      Bytes({0x00, 0xFF, 0x01, 0x81}),                          // meta length running off
      Bytes({0x00}),                                            // delta without an event
      Bytes({0x81, 0x81, 0x81, 0x81, 0x00, 0xB0, 0x0A, 0x40}),  // five-byte delta
  };
  for (const std::string& tail : broken) {
    RecordingSink sink;
    ModelContext context{sink.Reports()};
    const MidiTrackData track = Read(context, Bytes({0x0A, 0xB0, 0x07, 0x64}) + tail);
    ASSERT_EQ(track.Count(), 2);
    EXPECT_EQ(track.Event(0).kind, EventKind::ControlChange);
    EXPECT_TRUE(track.Event(1).IsMeta(MetaType::EndOfTrack));
    EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{10, 10}));
    EXPECT_EQ(sink.CountReported(kInternalError), 1);
  }
}

TEST(TrackReader, UnterminatedSysExEndsAtTheChunkEnd) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const MidiTrackData track = Read(context, Bytes({0x00, 0xF0, 0x03, 0x01, 0x02}));
  ASSERT_EQ(track.Count(), 2);
  EXPECT_EQ(track.Event(0).data, Bytes({0xF0, 0x03, 0x01, 0x02}));
  EXPECT_TRUE(track.Event(1).IsMeta(MetaType::EndOfTrack));
  EXPECT_EQ(sink.CountReported(kInternalError), 1);
}

TEST(TrackReader, UndefinedBytesAreSkippedAndTheirDeltasKept) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const MidiTrackData track = Read(context, Bytes({0x05, 0x3C, 0x06, 0xF8}) + kEndOfTrack);
  using K = EventKind;
  EXPECT_EQ(KindsOf(track), (std::vector<K>{K::Removed, K::Removed, K::Meta}));
  EXPECT_EQ(TimesOf(track), (std::vector<Ticks>{5, 11, 11}));
  EXPECT_EQ(sink.CountReported("未定義のMIDIイベントです。"), 2);
}

TEST(TrackReader, AMissingOrOverlongChunkGivesAnEmptyEncodedTrack) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const std::string file = Smf(1, 480, {Chunk(kEndOfTrack)});
  const std::vector<std::pair<std::string, std::size_t>> bad = {
      {file, 0}, {file, file.size()}, {file, 1000}};
  for (const auto& [image, offset] : bad) {
    const MidiTrackData track(context, image, offset);
    EXPECT_EQ(track.Count(), 0);
    EXPECT_EQ(track.Size(), 0u);
    EXPECT_EQ(track.Form(), TrackForm::EncodedForm);
  }
  EXPECT_EQ(sink.CountReported("MIDIファイルではないか、マックバイナリがついているファイルです。"),
            3);
  const std::vector<std::pair<std::string, std::size_t>> overlong = {
      {file.substr(0, file.size() - 1), 14}, {std::string("MTrk\0\0", 6), 0}};
  for (const auto& [image, offset] : overlong) {
    const MidiTrackData track(context, image, offset);
    EXPECT_EQ(track.Count(), 0);
    EXPECT_EQ(track.Size(), 0u);
  }
  EXPECT_EQ(sink.CountReported(kInternalError), 2);
  EXPECT_EQ(MidiTrackData(context, file, 14).Size(), 12u);
}

TEST(TrackReader, AChunkWithoutFinalEndOfTrackGetsOneAtItsLastTime) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const MidiTrackData cut = Read(context, Bytes({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40}));
  EXPECT_EQ(TimesOf(cut), (std::vector<Ticks>{0, 96, 96}));
  EXPECT_TRUE(cut.Event(2).IsMeta(MetaType::EndOfTrack));
  EXPECT_TRUE(Read(context, "").HasOnlyEndOfTrack());
  const MidiTrackData inner = Read(context, kEndOfTrack + Bytes({0x00, 0xB0, 0x07, 0x64}));
  EXPECT_EQ(inner.CountMeta(MetaType::EndOfTrack), 2);
  EXPECT_TRUE(inner.Event(2).IsMeta(MetaType::EndOfTrack));
}

TEST(TrackReader, TheTableNeverHoldsMoreThanItsLimit) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const auto limit = static_cast<int>(MidiTrackData::kMaxEvents);
  std::string exact = Bytes({0x00, 0xB0, 0x07, 0x64});
  for (int i = 1; i < limit; ++i) exact += Bytes({0x01, 0x07, 0x64});
  const MidiTrackData full = Read(context, exact);
  EXPECT_EQ(full.Count(), limit);
  EXPECT_TRUE(full.Event(limit - 1).IsMeta(MetaType::EndOfTrack));
  EXPECT_EQ(TimesOf(full).back(), limit - 1) << "in place of the last event read";
  EXPECT_EQ(sink.CountReported("データの量が多すぎます。"), 0);

  const MidiTrackData over = Read(context, exact + Bytes({0x01, 0x07, 0x64}) + kEndOfTrack);
  EXPECT_EQ(over.Count(), limit);
  EXPECT_EQ(TimesOf(over).back(), limit - 1);
  EXPECT_EQ(sink.CountReported("データの量が多すぎます。"), 1);
}

TEST(TrackReader, HostileChunksAlwaysEndAndEndWithEndOfTrack) {
  const std::vector<int> likely = {0x00, 0x01, 0x7F, 0x80, 0x81, 0x90, 0xC0, 0xF0,
                                   0xF7, 0xFF, 0x2F, 0x51, 0x58, 0x03, 0xF8};
  RecordingSink sink;
  for (unsigned seed = 1; seed <= 4000; ++seed) {
    std::mt19937 random(seed);
    ModelContext context{sink.Reports()};
    context.running_status = static_cast<std::uint8_t>(random());
    std::string body(random() % 200, '\0');
    for (char& byte : body) {
      byte = static_cast<char>(random() % 2 ? likely[random() % likely.size()] : random());
    }
    const MidiTrackData track = Read(context, body);
    ASSERT_GE(track.Count(), 1) << "seed " << seed;
    EXPECT_LE(track.Count(), static_cast<int>(MidiTrackData::kMaxEvents));
    EXPECT_TRUE(track.Event(track.Count() - 1).IsMeta(MetaType::EndOfTrack)) << "seed " << seed;
    EXPECT_EQ(track.Size(), body.size() + 8);
    sink.Clear();
  }
}

}  // namespace
}  // namespace quillmar
