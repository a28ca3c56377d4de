// Writes the example songs, their Shift_JIS file list, a volume, tone and drum list and an
// edit and order list into a folder:
//   make-examples FOLDER
// The songs are those of example_songs: a format-0 melody with chords, a format-1 band piece
// with drums, and a format-1 waltz with a tempo change.
#include <cstdio>
#include <string>

#include "example_songs.h"
#include "lists/path_helpers.h"
#include "platform/encoding.h"
#include "platform/files.h"

namespace {

using quillmar::Sjis;

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
      Write(*folder, "melody.mid", quillmar::examples::MelodySong()) &&
      Write(*folder, "band.mid", quillmar::examples::BandSong()) &&
      Write(*folder, "waltz.mid", quillmar::examples::WaltzSong()) &&
      Write(*folder, "f_examples.csv", file_list) &&
      Write(*folder, "v_examples.csv", volume_list) &&
      Write(*folder, "t_examples.csv", tone_list) && Write(*folder, "d_examples.csv", drum_list) &&
      Write(*folder, "e_examples.csv", edit_list) && Write(*folder, "o_examples.csv", order_list);
  return written ? 0 : 1;
}
