#include "model/midi_file_loader.h"

#include "model/event_merge.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

// A chunk with one note of the given channel and key, 96 ticks long.
std::string NoteChunk(int channel, int key) {
  return Chunk(Bytes(
      {0x00, 0x90 + channel, key, 100, 0x60, 0x80 + channel, key, 0, 0x00, 0xFF, 0x2F, 0x00}));
}

std::string NamedChunk(std::string_view name, int channel, int key) {
  std::string body = Bytes({0x00, 0xFF, 0x03, static_cast<int>(name.size())});
  body += name;
  body +=
      Bytes({0x00, 0x90 + channel, key, 100, 0x60, 0x80 + channel, key, 0, 0x00, 0xFF, 0x2F, 0x00});
  return Chunk(body);
}

class FileLoaderTest : public ::testing::Test {
 protected:
  RecordingSink sink_;
  ModelContext context_{sink_.Reports()};
};

TEST_F(FileLoaderTest, FormatOneLoadsTrackByTrackInGateTimeForm) {
  MidiFileLoader loader(context_,
                        MidiSource::Bytes(Smf(1, 480, {NoteChunk(0, 60), NoteChunk(1, 64)})));
  ASSERT_TRUE(loader.Loaded());
  EXPECT_EQ(loader.InputFormat(), 1);
  MidiF1Data& song = *loader.Song();
  EXPECT_EQ(song.Form(), TrackForm::GateTimeForm);
  EXPECT_EQ(song.Division(), 480);
  ASSERT_EQ(song.TrackCount(), 2);
  EXPECT_EQ(song.Track(1).Event(0).kind, EventKind::Note);
  EXPECT_EQ(song.Track(1).Event(0).gate, 96);
  EXPECT_TRUE(sink_.Lines().empty());
}

TEST_F(FileLoaderTest, MacBinaryHeaderIsSkipped) {
  MidiFileLoader loader(
      context_, MidiSource::Bytes(std::string(128, '\x01') + Smf(1, 96, {NoteChunk(0, 60)})));
  ASSERT_TRUE(loader.Loaded());
  EXPECT_EQ(loader.Song()->Division(), 96);
  EXPECT_EQ(loader.Song()->TrackCount(), 1);
}

TEST_F(FileLoaderTest, FormatZeroIsSplitByChannel) {
  const std::string body =
      Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x99, 36,   90,   0x00, 0x92, 60,
             90,   0x30, 0x89, 36,   0,    0x00, 0x82, 60,   0,    0x00, 0xFF, 0x2F, 0x00});
  MidiFileLoader loader(context_, MidiSource::Bytes(Smf(0, 96, {Chunk(body)})));
  ASSERT_TRUE(loader.Loaded());
  EXPECT_EQ(loader.InputFormat(), 0);
  MidiF1Data& song = *loader.Song();
  ASSERT_EQ(song.TrackCount(), 16);
  EXPECT_EQ(song.Track(0).FindTempo(), 500000);
  EXPECT_EQ(song.Track(9).GetChannel(), 9);
  EXPECT_EQ(song.Track(2).Event(0).gate, 48);
}

TEST_F(FileLoaderTest, TwentyTracksAreReadSilentlyFortyAreCutToSixteen) {
  std::vector<std::string> chunks(40, NoteChunk(0, 60));
  MidiFileLoader forty(context_, MidiSource::Bytes(Smf(1, 96, chunks)));
  ASSERT_TRUE(forty.Loaded());
  EXPECT_EQ(forty.Song()->TrackCount(), 16);
  ASSERT_EQ(sink_.Lines().size(), 1u);
  EXPECT_EQ(sink_.Lines()[0].rfind("            このファイルに設定されているトラック数は", 0), 0u);
  sink_.Clear();
  chunks.resize(20);
  MidiFileLoader twenty(context_, MidiSource::Bytes(Smf(1, 96, chunks)));
  EXPECT_EQ(twenty.Song()->TrackCount(), 20);
  EXPECT_TRUE(sink_.Lines().empty());
}

TEST_F(FileLoaderTest, OtherFormatsAreNoMidiFiles) {
  MidiFileLoader loader(context_, MidiSource::Bytes(Smf(2, 96, {NoteChunk(0, 60)})));
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(loader.InputFormat(), std::nullopt);
  EXPECT_EQ(sink_.CountReported("Midiファイルではありません。"), 1);
  MidiFileLoader text(context_, MidiSource::Bytes("hello"));
  EXPECT_FALSE(text.Loaded());
  EXPECT_EQ(sink_.CountReported("Midiファイルではありません。"), 2);
}

TEST_F(FileLoaderTest, ZeroDeclaredTracksSkipTheFileWithoutAMessage) {
  MidiFileLoader loader(context_, MidiSource::Bytes(Smf(1, 96, {}, 0)));
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(loader.Song(), nullptr);
  EXPECT_TRUE(sink_.Lines().empty());
}

// Whoever reads the file reports one that did not open; an empty file read whole is bytes
// that are no MIDI file.
TEST_F(FileLoaderTest, EmptyFileIsNoMidiFileRatherThanOneThatDidNotOpen) {
  MidiFileLoader loader(context_, MidiSource::Bytes(""));
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(sink_.CountReported(
                "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。"),
            0);
  EXPECT_EQ(sink_.CountReported("Midiファイルではありません。"), 1);
}

TEST_F(FileLoaderTest, FormatZeroWithTwoDeclaredTracksIsNotConverted) {
  MidiFileLoader loader(context_,
                        MidiSource::Bytes(Smf(0, 96, {NoteChunk(0, 60), NoteChunk(1, 60)})));
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(loader.Song(), nullptr);
  EXPECT_EQ(sink_.CountReported("トラック数に誤りがあります。"), 1);
}

TEST_F(FileLoaderTest, MissingChunksBecomeEmptyTracksThatAreDropped) {
  MidiFileLoader loader(context_, MidiSource::Bytes(Smf(1, 96, {NoteChunk(0, 60)}, 3)));
  ASSERT_TRUE(loader.Loaded());
  EXPECT_EQ(sink_.CountReported("MIDIファイルではないか、マックバイナリがついているファイルです。"),
            2);
  MidiF1Data& song = *loader.Song();
  ASSERT_EQ(song.TrackCount(), 3);
  song.DeleteEmptyTracks();
  EXPECT_EQ(song.TrackCount(), 1);
  song.ToOnOffForm();
  EXPECT_TRUE(song.Encode());
  EXPECT_EQ(sink_.CountReported("MidiTrackDataで内部エラーが発生しました。"), 0);
}

TEST_F(FileLoaderTest, HeaderLengthIsIgnored) {
  std::string file = Smf(1, 96, {NoteChunk(0, 60)});
  file[7] = 12;
  MidiFileLoader loader(context_, MidiSource::Bytes(file));
  ASSERT_TRUE(loader.Loaded());
  EXPECT_EQ(loader.Song()->Track(0).Event(0).kind, EventKind::Note);
}

TEST_F(FileLoaderTest, RunningStatusDoesNotLeakFromOneFileIntoTheNext) {
  // The second file's track begins with bare data bytes: without a status they are
  // undefined, whatever status the first file ended with.
  const std::string first = Smf(1, 96, {NoteChunk(3, 60)});
  const std::string second = Smf(1, 96, {Chunk(Bytes({0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00}))});
  MidiFileLoader fresh(context_, MidiSource::Bytes(second));
  const auto fresh_lines = sink_.Lines();
  sink_.Clear();
  MidiFileLoader before(context_, MidiSource::Bytes(first));
  MidiFileLoader after(context_, MidiSource::Bytes(second));
  EXPECT_EQ(sink_.Lines(), fresh_lines);
  EXPECT_EQ(after.Song()->Track(0).Count(), fresh.Song()->Track(0).Count());
  EXPECT_EQ(after.Song()->Track(0).GetChannel(), kNoChannel);
}

TEST_F(FileLoaderTest, FormatZeroSongKeepsTrackOrderAndOnlyConductorNames) {
  const std::string conductor = Chunk(Bytes({0x00, 0xFF, 0x03, 0x01, 'T', 0x00, 0xFF, 0x2F, 0x00}));
  MidiFileLoader loader(
      context_,
      MidiSource::Bytes(Smf(1, 96, {conductor, NamedChunk("a", 0, 60), NamedChunk("b", 1, 62)})));
  loader.ToFormat0();
  ASSERT_EQ(loader.Song(), nullptr);
  const MidiTrackData& track = loader.Format0Song()->Track();
  std::vector<std::string> names;
  std::vector<int> channels;
  for (const MusicEvent& event : track.Events()) {
    if (event.IsMeta(MetaType::SequenceName)) names.push_back(event.data);
    if (event.kind == EventKind::Note) channels.push_back(event.channel);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"T"})) << "channel tracks lose their first name";
  EXPECT_EQ(channels, (std::vector<int>{0, 1}));
  EXPECT_TRUE(track.Event(track.Count() - 1).IsMeta(MetaType::EndOfTrack));
  EXPECT_EQ(track.CountMeta(MetaType::EndOfTrack), 1);
}

TEST_F(FileLoaderTest, KeepNamesKeepsEverySequenceName) {
  MidiFileLoader loader(
      context_, MidiSource::Bytes(Smf(1, 96, {NamedChunk("a", 0, 60), NamedChunk("b", 1, 62)})));
  loader.ToFormat0KeepNames();
  EXPECT_EQ(loader.Format0Song()->Track().CountMeta(MetaType::SequenceName), 2);
  EXPECT_EQ(loader.Format0Song()->Division(), 96);
}

TEST_F(FileLoaderTest, WrittenFilesReadBackWithTheSameNotes) {
  MidiFileLoader loader(context_,
                        MidiSource::Bytes(Smf(1, 96, {NoteChunk(0, 60), NoteChunk(9, 36)})));
  MidiF1Data& song = *loader.Song();
  song.ToOnOffForm();
  ASSERT_TRUE(song.Encode());
  MidiFileLoader again(context_, MidiSource::Bytes(song.Image()));
  ASSERT_TRUE(again.Loaded());
  again.ToFormat0();
  MidiF0Data& format0 = *again.Format0Song();
  format0.ToOnOffForm();
  ASSERT_TRUE(format0.Encode());
  EXPECT_EQ(format0.Image(),
            Smf(0, 96, {Chunk(Bytes({0x00, 0x90, 60,   100, 0x00, 0x99, 36,   100,  0x60, 0x89, 36,
                                     64,   0x00, 0x80, 60,  64,   0x00, 0xFF, 0x2F, 0x00}))}));
}

}  // namespace
}  // namespace quillmar

namespace quillmar {
namespace {

using namespace quillmar::testing;

// A random format-1 file: a few tracks of notes, controls and names on a coarse time grid,
// so that many events of different tracks share ticks.
std::string RandomSong(std::mt19937& random) {
  std::vector<std::string> chunks;
  const int tracks = 1 + static_cast<int>(random() % 6);
  for (int t = 0; t < tracks; ++t) {
    std::string body;
    const bool conductor = random() % 4 == 0;
    const int channel = static_cast<int>(random() % 16);
    const int events = static_cast<int>(random() % 12);
    for (int e = 0; e < events; ++e) {
      body.push_back(static_cast<char>((random() % 3) * 10));
      switch (conductor ? 3 : random() % 4) {
        case 0:
          body += Bytes({0x90 + channel, static_cast<int>(60 + random() % 4), 100});
          break;
        case 1:
          body += Bytes({0x80 + channel, static_cast<int>(60 + random() % 4), 0});
          break;
        case 2:
          body += Bytes({0xB0 + channel, 7, static_cast<int>(random() % 128)});
          break;
        default:
          body += Bytes({0xFF, 0x03, 0x01, static_cast<int>('a' + random() % 26)});
          break;
      }
    }
    body += Bytes({static_cast<int>(random() % 20), 0xFF, 0x2F, 0x00});
    chunks.push_back(Chunk(body));
  }
  return Smf(1, 96, chunks);
}

TEST(FormatZeroMerge, OnePassEqualsMergingTrackByTrack) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const std::string song = RandomSong(random);
    for (const bool keep_names : {false, true}) {
      MidiFileLoader fast(context, MidiSource::Bytes(song));
      MidiFileLoader slow(context, MidiSource::Bytes(song));
      ASSERT_TRUE(fast.Loaded());
      keep_names ? fast.ToFormat0KeepNames() : fast.ToFormat0();
      // Track by track from the last: each merged in front of what is merged so far.
      std::vector<MusicEvent> merged_so_far;
      for (int i = slow.Song()->TrackCount() - 1; i >= 0; --i) {
        MidiTrackData incoming(slow.Song()->Track(i));
        if (!keep_names && incoming.GetChannel() != kNoChannel) {
          incoming.DeleteMeta(MetaType::SequenceName);
        }
        merged_so_far = MergeByTime({incoming.TakeEvents(), std::move(merged_so_far)});
      }
      MidiTrackData expected(context, TrackForm::GateTimeForm);
      expected.SetEvents(std::move(merged_so_far));
      expected.RemoveInnerEndOfTrack();
      const MidiTrackData& merged = fast.Format0Song()->Track();
      ASSERT_EQ(merged.Count(), expected.Count()) << "round " << round;
      for (int i = 0; i < merged.Count(); ++i) {
        const MusicEvent& a = merged.Event(i);
        const MusicEvent& b = expected.Event(i);
        ASSERT_EQ(std::tie(a.kind, a.delta, a.channel, a.note, a.gate, a.type, a.value, a.data),
                  std::tie(b.kind, b.delta, b.channel, b.note, b.gate, b.type, b.value, b.data))
            << "round " << round << " event " << i;
      }
    }
  }
}

}  // namespace
}  // namespace quillmar
