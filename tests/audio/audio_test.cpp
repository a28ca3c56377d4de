// The handset rule on a table of cases, and a short song rendered to WAV: its header, its
// length (the song's seconds from the tempo map and the release tail), sound where notes play
// and silence where none do.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <variant>

#include "audio/song_sound.h"
#include "audio/synthesizer.h"
#include "audio/wav_file.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::EndOfTrack;
using testing::GateNote;
using testing::Program;
using testing::Tempo;
using testing::TrackOf;

TEST(HandsetRule, LeavesOutTheNotesThatStartWhileTheLimitSounds) {
  struct Case {
    const char* what;
    std::vector<HeardNote> notes;  // start, end, channel, key
    int limit;
    std::vector<bool> left_out;
  };
  const Case cases[] = {
      {"a chord of three on two",
       {{0, 480, 0, 60}, {0, 480, 0, 64}, {0, 480, 0, 67}},
       2,
       {false, false, true}},
      {"a note ending where the next starts",
       {{0, 480, 0, 60}, {480, 960, 0, 62}},
       1,
       {false, false}},
      {"a note left out never sounds",
       {{0, 480, 0, 60}, {100, 2000, 0, 62}, {500, 600, 0, 64}},
       1,
       {false, true, false}},
      {"the same key again adds nothing", {{0, 960, 0, 60}, {240, 480, 0, 60}}, 1, {false, false}},
      {"the same key on another channel counts",
       {{0, 960, 0, 60}, {240, 480, 1, 60}},
       1,
       {false, true}},
      {"room again once a note ends",
       {{0, 100, 0, 60}, {0, 480, 0, 64}, {50, 480, 0, 67}, {100, 480, 0, 72}},
       2,
       {false, false, true, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(LeftOutByHandset(c.notes, c.limit), c.left_out) << c.what;
}

class RenderedSong : public ::testing::Test {
 protected:
  // 480 ticks a quarter at 120 bpm: a note from 0 to 0.5 s, nothing until 2 s, a chord of
  // three from 2 to 3 s, the end at 3 s.
  MidiTrackData Song() {
    return TrackOf(
        context_, TrackForm::GateTimeForm,
        {Tempo(0, 500000), Program(0, 0, 0), GateNote(0, 0, 60, 480), GateNote(1920, 0, 64, 960),
         GateNote(0, 0, 67, 960), GateNote(0, 0, 72, 960), EndOfTrack(960)});
  }

  testing::RecordingSink sink_;
  ModelContext context_{sink_.Reports()};
};

TEST_F(RenderedSong, TheHandsetLimitLeavesOutNotesBeforeTheSynthesizer) {
  const MidiTrackData song = Song();
  const SongSound all(song, 480);
  const SongSound two = all.WithHandsetLimit(2);
  EXPECT_DOUBLE_EQ(all.Seconds(), 3.0);
  EXPECT_EQ(two.LeftOut(), (std::vector<bool>{false, false, false, true}));
  const auto note_ons = [](const SongSound& sound) {
    return std::count_if(sound.Messages().begin(), sound.Messages().end(),
                         [](const SoundMessage& message) { return message.IsNoteOn(); });
  };
  EXPECT_EQ(note_ons(all), 4);
  EXPECT_EQ(note_ons(two), 3);
}

TEST_F(RenderedSong, WavHasTheSongsLengthAndSoundsWhereNotesPlay) {
  const auto soundfont = SoundFontToUse(std::nullopt);
  ASSERT_TRUE(soundfont) << NoSoundFontText(std::nullopt);
  auto opened = Synthesizer::Open(*soundfont);
  ASSERT_TRUE(std::holds_alternative<std::unique_ptr<Synthesizer>>(opened))
      << std::get<std::string>(opened);
  const std::string wav =
      RenderWav(SongSound(Song(), 480), *std::get<std::unique_ptr<Synthesizer>>(opened));

  ASSERT_GT(wav.size(), 44u);
  const auto word = [&](std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int byte = size - 1; byte >= 0; --byte) {
      value = (value << 8) | static_cast<unsigned char>(wav[at + static_cast<std::size_t>(byte)]);
    }
    return value;
  };
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(word(4, 4), wav.size() - 8);
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(word(20, 2), 1u);      // PCM
  EXPECT_EQ(word(22, 2), 2u);      // stereo
  EXPECT_EQ(word(24, 4), 44100u);  // frames a second
  EXPECT_EQ(word(34, 2), 16u);     // bits a sample
  EXPECT_EQ(wav.substr(36, 4), "data");
  const std::size_t frames = word(40, 4) / 4;
  // The song's 3 seconds and the 2-second release tail.
  EXPECT_EQ(frames, static_cast<std::size_t>(5 * 44100));

  // The loudness (RMS of both channels) between two moments.
  const auto rms = [&](double from, double to) {
    double sum = 0;
    const auto first = static_cast<std::size_t>(from * 44100);
    const auto last = static_cast<std::size_t>(to * 44100);
    for (std::size_t frame = first; frame < last; ++frame) {
      for (std::size_t side = 0; side < 2; ++side) {
        std::int16_t sample = 0;
        std::memcpy(&sample, wav.data() + 44 + 4 * frame + 2 * side, 2);
        sum += static_cast<double>(sample) * sample;
      }
    }
    return std::sqrt(sum / static_cast<double>(2 * (last - first)));
  };
  const double note = rms(0.05, 0.45);
  const double chord = rms(2.05, 2.95);
  EXPECT_GT(note, 500) << "the first note sounds";
  EXPECT_GT(chord, note) << "three notes sound louder than one";
  EXPECT_LT(rms(1.6, 1.95), note / 50) << "silence between the notes";
  EXPECT_LT(rms(4.6, 5.0), chord / 50) << "silence at the end of the tail";

  // Saved as a file, whole, or with the reason it could not be.
  const testing::TempFolder folder;
  EXPECT_EQ(SaveWav(SongSound(Song(), 480), *soundfont, folder.Path() + "/song.wav"), std::nullopt);
  EXPECT_EQ(folder.Read("song.wav"), wav);
  EXPECT_NE(SaveWav(SongSound(Song(), 480), *soundfont, folder.Path() + "/no/song.wav"),
            std::nullopt);
}

}  // namespace
}  // namespace quillmar
