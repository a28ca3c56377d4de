#include "example_songs.h"

#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/encoding.h"

namespace quillmar::examples {
namespace {

using quillmar::Sjis;

// One track's bytes, built event by event with deltas in ticks (480 per quarter note).
class TrackWriter {
 public:
  // Lets time pass before the next event.
  void Wait(int ticks) { pending_ += ticks; }
  void Bytes(int delta, std::initializer_list<int> bytes) {
    int ticks = pending_ + delta;
    pending_ = 0;
    std::string quantity(1, static_cast<char>(ticks & 0x7F));
    for (ticks >>= 7; ticks > 0; ticks >>= 7) {
      quantity.insert(quantity.begin(), static_cast<char>(0x80 | (ticks & 0x7F)));
    }
    body_ += quantity;
    for (int b : bytes) body_.push_back(static_cast<char>(b));
  }
  void Meta(int delta, int type, std::string_view text) {
    Bytes(delta, {0xFF, type, static_cast<int>(text.size())});
    body_ += text;
  }
  void Tempo(int delta, int bpm) {
    const int tempo = 60000000 / bpm;
    Bytes(delta, {0xFF, 0x51, 0x03, tempo >> 16, (tempo >> 8) & 0xFF, tempo & 0xFF});
  }
  void TimeSignature(int delta, int numerator, int power) {
    Bytes(delta, {0xFF, 0x58, 0x04, numerator, power, 24, 8});
  }
  // Notes of one chord, all starting after `delta` and lasting `length` ticks.
  void Chord(int channel, int delta, int length, std::initializer_list<int> keys, int velocity) {
    int wait = delta;
    for (int key : keys) {
      Bytes(wait, {0x90 | channel, key, velocity});
      wait = 0;
    }
    wait = length;
    for (int key : keys) {
      Bytes(wait, {0x80 | channel, key, 64});
      wait = 0;
    }
  }
  std::string Chunk() {
    Bytes(0, {0xFF, 0x2F, 0x00});
    std::string chunk = "MTrk";
    for (int shift = 24; shift >= 0; shift -= 8) {
      chunk.push_back(static_cast<char>((body_.size() >> shift) & 0xFF));
    }
    return chunk + body_;
  }

 private:
  std::string body_;
  int pending_ = 0;
};

std::string File(int format, const std::vector<std::string>& chunks) {
  std::string file = std::string("MThd\0\0\0\6\0", 9);
  file.push_back(static_cast<char>(format));
  file += std::string(1, '\0') + static_cast<char>(chunks.size());
  file += std::string("\x01\xE0", 2);  // 480 ticks per quarter note
  for (const auto& chunk : chunks) file += chunk;
  return file;
}

}  // namespace

std::string MelodySong() {
  TrackWriter track;
  track.Meta(0, 0x03, Sjis("春のメロディー"));
  track.Tempo(0, 96);
  track.TimeSignature(0, 4, 2);
  track.Bytes(0, {0xC0, 73});  // flute
  track.Bytes(0, {0xC1, 0});   // piano
  const int melody[] = {72, 74, 76, 77, 79, 77, 76, 74, 72, 76, 79, 84, 79, 76, 72, 72};
  const std::initializer_list<int> chords[] = {
      {60, 64, 67}, {57, 60, 65}, {55, 59, 62}, {60, 64, 67}};
  for (int bar = 0; bar < 4; ++bar) {
    const auto& chord = chords[bar];
    int wait = 0;
    for (int key : chord) {
      track.Bytes(wait, {0x91, key, 70});
      wait = 0;
    }
    for (int beat = 0; beat < 4; ++beat) {
      track.Bytes(0, {0x90, melody[bar * 4 + beat], 100});
      track.Bytes(440, {0x80, melody[bar * 4 + beat], 64});
      track.Wait(40);
      if (beat == 3) {
        for (int key : chord) track.Bytes(0, {0x81, key, 64});
      } else {
        track.Bytes(0, {0xB0, 1, 0});  // a modulation reset on every beat keeps ticks busy
      }
    }
  }
  return File(0, {track.Chunk()});
}

std::string BandSong() {
  TrackWriter conductor;
  conductor.Meta(0, 0x03, "Band");
  conductor.Tempo(0, 120);
  conductor.TimeSignature(0, 4, 2);
  conductor.Meta(1920 * 4, 0x06, "End");
  TrackWriter piano;
  piano.Meta(0, 0x03, Sjis("ピアノ"));
  piano.Bytes(0, {0xC0, 0});
  piano.Bytes(0, {0xB0, 7, 100});
  TrackWriter bass;
  bass.Meta(0, 0x03, Sjis("ベース"));
  bass.Bytes(0, {0xC1, 33});
  TrackWriter drums;
  drums.Meta(0, 0x03, Sjis("ドラム"));
  const std::initializer_list<int> chords[] = {
      {60, 64, 67, 72}, {57, 60, 64, 69}, {53, 57, 60, 65}, {55, 59, 62, 67}};
  const int roots[] = {36, 33, 29, 31};
  for (int bar = 0; bar < 4; ++bar) {
    piano.Chord(0, 0, 1800, chords[bar], 80);
    piano.Wait(120);
    for (int beat = 0; beat < 4; ++beat) bass.Chord(1, beat == 0 ? 0 : 60, 420, {roots[bar]}, 90);
    bass.Wait(60);
    for (int eighth = 0; eighth < 8; ++eighth) {
      const int kick_or_snare = eighth % 4 == 0 ? 36 : (eighth % 4 == 2 ? 38 : 0);
      if (kick_or_snare != 0) {
        drums.Chord(9, 0, 120, {kick_or_snare, 42}, 100);
      } else {
        drums.Chord(9, 0, 120, {42}, 70);
      }
      drums.Wait(120);
    }
  }
  return File(1, {conductor.Chunk(), piano.Chunk(), bass.Chunk(), drums.Chunk()});
}

std::string WaltzSong() {
  TrackWriter conductor;
  conductor.Meta(0, 0x03, Sjis("ワルツ"));
  conductor.Tempo(0, 150);
  conductor.TimeSignature(0, 3, 2);
  conductor.Tempo(1440 * 3, 100);
  TrackWriter strings;
  strings.Bytes(0, {0xC0, 48});
  const int tune[] = {67, 72, 76, 74, 72, 71, 72, 76, 79, 77, 74, 72};
  for (int i = 0; i < 12; ++i) strings.Chord(0, 0, 480, {tune[i]}, 90);
  TrackWriter harp;
  harp.Bytes(0, {0xC1, 46});
  for (int bar = 0; bar < 4; ++bar) {
    harp.Chord(1, 0, 480, {48}, 70);
    harp.Chord(1, 0, 480, {55, 64}, 60);
    harp.Chord(1, 0, 480, {55, 64}, 60);
  }
  return File(1, {conductor.Chunk(), strings.Chunk(), harp.Chunk()});
}

}  // namespace quillmar::examples
