// Writes the example songs, their Shift_JIS file list, a volume, tone and drum list and an
// edit and order list into a folder:
//   make-examples FOLDER
// The songs are small, written event by event here: a format-0 melody with chords, a
// format-1 band piece with drums, and a format-1 waltz with a tempo change.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "lists/path_helpers.h"
#include "platform/encoding.h"
#include "platform/files.h"

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

// Format 0: a melody on channel 1 over chords on channel 2, with its own Japanese title.
std::string Melody() {
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

// Format 1: conductor, piano chords, bass and drums (channel 10).
std::string Band() {
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

// Format 1 in three-four time with a slower closing bar, and no copyright of its own.
std::string Waltz() {
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

bool Write(const std::string& folder, const std::string& name, const std::string& bytes) {
  const std::string path = quillmar::JoinPath(folder, name);
  if (quillmar::WriteFileReplacing(path, bytes)) return true;
  std::fprintf(stderr, "make-examples: cannot write %s\n", quillmar::SjisToUtf8(path).c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-examples FOLDER\n");
    return 2;
  }
  const auto folder = quillmar::SjisPath(argv[1]);
  if (!folder || (!quillmar::IsFolder(*folder) && !quillmar::MakeFolder(*folder))) {
    std::fprintf(stderr, "make-examples: cannot use the folder %s\n", argv[1]);
    return 1;
  }
  const std::string file_list = Sjis(
      "番号,入力ファイル名,出力ファイル名,タイトル,著作権情報\r\n"
      "1,melody.mid,melody_q.mid,春のメロディー,(C) 2026 Quillmar サンプル\r\n"
      "2,band.mid,band_q.mid,バンド演奏,(C) 2026 Quillmar サンプル\r\n"
      "3,waltz.mid,waltz_q.mid,-,-\r\n");
  // Lists for a second slot: quieter strings and piano, the flute an octave down, the
  // piano as an electric piano, a softer hi-hat and the snare as a side stick.
  const std::string volume_list = Sjis(
      "チャネル,ボリューム,ベロシティ,パン,ゲートタイム\r\n"
      "Master,90,-,-,-\r\n"
      "1,80%,-,40,-\r\n"
      "2,+10,90%,-,-\r\n"
      "10,100,-,-,-\r\n");
  const std::string tone_list = Sjis(
      "音色番号,音色名,ボリューム,ベロシティ,オクターブ,バンク,代替音色\r\n"
      "74,フルート,-,-,-1,-,-\r\n"
      "1,ピアノ,-,110%,-,-,5\r\n"
      "49,ストリングス,70,-,-,-,-\r\n");
  const std::string drum_list = Sjis(
      "ノート番号,ドラム名,ベロシティ,代替ノート\r\n"
      "36,バスドラム,120%,-\r\n"
      "42,クローズドハイハット,70%,-\r\n"
      "38,スネア,-,37\r\n");
  // Lists for a third slot: set-up messages at the start, loop messages around bars 2 to
  // the end, a slower last part, drums and bass reshaped, the bass renamed in half-width
  // letters, and bank, program and volume first among the events of their tick.
  const std::string edit_list = Sjis(
      "コマンド,対象,チャネル,位置\r\n"
      "Add,GMSystemOn,-,0\r\n"
      "Add,MasterVolume=100,-,0\r\n"
      "Add,BankSelectMSB=0,-,0\r\n"
      "Add,ProgramChange=1,1,0\r\n"
      "Add,ChanelVolume=90,2,SequenceName=ース\r\n"
      "Add,LoopSysExStart,-,2:1:0\r\n"
      "Add,LoopSysExStop,-,End\r\n"
      "Add,Tempo=100,-,4:1:0\r\n"
      "Conv,Velocity=90,10,-\r\n"
      "Conv,GateTime=Tempo*0.32,10,Note=42\r\n"
      "Conv,Note=+12,2,-\r\n"
      "Conv,SequenceName=ＢＡＳＳ,2,-\r\n"
      "Conv,SequenceName,-,ZenkakuEisuuToHankakuEisuu\r\n");
  const std::string order_list = Sjis(
      "番号,イベント\r\n"
      "1,BankSelectMSB\r\n"
      "2,ProgramChange\r\n"
      "3,ChanelVolume\r\n");
  const bool written =
      Write(*folder, "melody.mid", Melody()) && Write(*folder, "band.mid", Band()) &&
      Write(*folder, "waltz.mid", Waltz()) && Write(*folder, "f_examples.csv", file_list) &&
      Write(*folder, "v_examples.csv", volume_list) &&
      Write(*folder, "t_examples.csv", tone_list) && Write(*folder, "d_examples.csv", drum_list) &&
      Write(*folder, "e_examples.csv", edit_list) && Write(*folder, "o_examples.csv", order_list);
  return written ? 0 : 1;
}
