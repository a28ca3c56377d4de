// Runs the built quillmar-cli on generated MIDI files and lists, and checks what it prints,
// its exit status and the files it writes (read back with the project's own loader).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "cli/cli_options.h"
#include "model/midi_file_loader.h"
#include "model/model_builders.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

extern char** environ;

namespace quillmar {
namespace {

// What make-examples writes.
const std::vector<std::string> kExampleFiles = {"band.mid",   "d_examples.csv", "f_examples.csv",
                                                "melody.mid", "t_examples.csv", "v_examples.csv",
                                                "waltz.mid"};

namespace fs = std::filesystem;
using testing::Bytes;
using testing::Chunk;
using testing::RecordingSink;
using testing::Smf;
using testing::TempFolder;
using Args = std::vector<std::string>;
using Names = std::vector<std::string>;

constexpr char kDone[] = "処理が終了しました\n";
constexpr char kHeader[] = "番号,入力ファイル名,出力ファイル名,タイトル,著作権情報";
constexpr char kNoTitle[] = "ソングタイトルが設定されていませんでした。";
constexpr char kNoCopyright[] = "著作権情報が設定されていませんでした。";
constexpr char kNotOpened[] =
    "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。";
constexpr char kNotMidi[] = "Midiファイルではありません。";
constexpr char kNoFileList[] = "ファイル設定リストが指定されていません。";
constexpr char kFileListUnreadable[] =
    "ファイル設定リストのファイルが開けませんでした。使用中の可能性があります。";
constexpr char kSameNamesQuestion[] =
    "入力ファイル名と出力ファイル名が同じものがあります。これらのファイルは上書きされますが、"
    "よろしいですか？";

// --- Running a program -------------------------------------------------------------------

struct ProgramRun {
  int status = -1;  // the exit status; 128 + the signal when it was killed
  std::string out;
  std::string err;
};

std::string ReadFile(const std::string& path) {
  std::string bytes;
  if (const int fd = ::open(path.c_str(), O_RDONLY); fd >= 0) {
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    ::close(fd);
  }
  return bytes;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

// Runs `program` in `current_folder` with TMPDIR set to `temp_folder`; its standard output
// and error go through files in `capture_folder`, standard input is empty.
ProgramRun RunProgram(const std::string& program, const Args& arguments,
                      const std::string& current_folder, const std::string& temp_folder,
                      const std::string& capture_folder) {
  const std::string out_path = capture_folder + "/out";
  const std::string err_path = capture_folder + "/err";
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const std::string tmpdir = "TMPDIR=" + temp_folder;
  std::vector<char*> envp;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "TMPDIR=", 7) != 0) envp.push_back(*entry);
  }
  envp.push_back(const_cast<char*>(tmpdir.c_str()));
  envp.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
        ::dup2(err, 2) < 0 || ::chdir(current_folder.c_str()) != 0) {
      ::_exit(126);
    }
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ProgramRun run;
  int wait_status = 0;
  if (pid < 0 || ::waitpid(pid, &wait_status, 0) != pid) return run;
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  run.out = ReadFile(out_path);
  run.err = ReadFile(err_path);
  return run;
}

// --- Reading results ---------------------------------------------------------------------

Names Lines(std::string_view text) {
  Names lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string FirstLine(std::string_view text) {
  const Names lines = Lines(text);
  return lines.empty() ? std::string() : lines.front();
}

std::string Indented(std::string_view utf8_text) {
  return std::string(kReportIndent) + std::string(utf8_text);
}

// The voice-count and simultaneous-notes lines of one converted row.
Names CountLines(int voices, int simultaneous) {
  return {Indented("ボイス数 " + std::to_string(voices)),
          Indented("同時発音数 " + std::to_string(simultaneous))};
}

Names Joined(std::initializer_list<Names> parts) {
  Names all;
  for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Names of a folder's entries, sorted; empty for a folder that does not exist.
Names Entries(const std::string& folder) {
  Names names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The format field of a Standard MIDI File's header; -1 when there is no header.
int HeaderFormat(const std::string& path) {
  const std::string bytes = ReadFile(path);
  if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) return -1;
  return (static_cast<unsigned char>(bytes[8]) << 8) | static_cast<unsigned char>(bytes[9]);
}

// One note as heard: start tick, channel, note number and length.
using Note = std::tuple<Ticks, std::int32_t, std::int32_t, std::int32_t>;

// Every note of a file, over all its tracks, in the order of start, channel and number.
std::vector<Note> NotesOf(const std::string& path) {
  RecordingSink sink;
  ModelContext context;
  MidiFileLoader loader(context, Sjis(path));
  EXPECT_TRUE(loader.Loaded()) << path;
  std::vector<Note> notes;
  for (int track = 0; loader.Loaded() && track < loader.Song()->TrackCount(); ++track) {
    Ticks time = 0;
    for (const MusicEvent& event : loader.Song()->Track(track).Events()) {
      time += event.delta;
      if (event.kind == EventKind::Note) {
        notes.emplace_back(time, event.channel, event.note, event.gate);
      }
    }
  }
  std::sort(notes.begin(), notes.end());
  return notes;
}

// The texts of the first track's meta events of a type.
Names FirstTrackTexts(const std::string& path, std::int32_t meta_type) {
  RecordingSink sink;
  ModelContext context;
  MidiFileLoader loader(context, Sjis(path));
  EXPECT_TRUE(loader.Loaded()) << path;
  Names texts;
  if (!loader.Loaded()) return texts;
  for (const MusicEvent& event : loader.Song()->Track(0).Events()) {
    if (event.IsMeta(meta_type)) texts.push_back(SjisToUtf8(event.data));
  }
  return texts;
}

// --- Building inputs ---------------------------------------------------------------------

// A small song without title or copyright: a two-note chord on `key` and `key` + 4 for a
// quarter note, then `key` + 7 for an eighth. Format 0 is one track; format 1 puts a tempo
// track before the notes. Voice count and simultaneous notes are both 2.
std::string ChordSong(int format, int channel, int key) {
  const int on = 0x90 | channel;
  const int off = 0x80 | channel;
  const std::string notes =
      Bytes({0x00, on,   key,  100,  0x00,    on,      key + 4, 90,   0x83, 0x60,
             off,  key,  0,    0x00, off,     key + 4, 0,       0x00, on,   key + 7,
             80,   0x81, 0x70, off,  key + 7, 0,       0x00,    0xFF, 0x2F, 0x00});
  if (format == 0) return Smf(0, 480, {Chunk(notes)});
  const std::string tempo =
      Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00});
  return Smf(1, 480, {Chunk(tempo), Chunk(notes)});
}

// A Shift_JIS file list: the header and the given rows (UTF-8), each ended by CR LF.
std::string FileListBytes(std::initializer_list<std::string> rows) {
  std::string list = Sjis(kHeader) + "\r\n";
  for (const std::string& row : rows) list += Sjis(row) + "\r\n";
  return list;
}

// --- The fixture -------------------------------------------------------------------------

class CliEndToEnd : public ::testing::Test {
 protected:
  // A new folder in the test's folder; gives its path.
  std::string Folder(std::string_view name) const {
    fs::create_directories(root_ / name);
    return root_ / name;
  }
  std::string Path(std::string_view name) const { return root_ / name; }

  ProgramRun Run(const std::string& current_folder, const Args& arguments) const {
    return RunProgram(QUILLMAR_CLI_PATH, arguments, current_folder, temp_, capture_.Path());
  }

  // Writes the examples (melody.mid format 0, band.mid and waltz.mid format 1 and their
  // list f_examples.csv) into a new folder.
  std::string Examples(std::string_view name) const {
    const std::string folder = Folder(name);
    EXPECT_EQ(
        RunProgram(QUILLMAR_MAKE_EXAMPLES_PATH, {folder}, root_.Path(), temp_, capture_.Path())
            .status,
        0);
    return folder;
  }

  TempFolder root_;
  TempFolder capture_;                // standard output and error, out of every run's sight
  std::string temp_ = Folder("tmp");  // TMPDIR of every run
};

// What converting the examples reports: the list's path, then each row's input name, its
// findings and its counts (waltz keeps its own texts and has no copyright).
Names ExampleResultLines(const std::string& list_path) {
  return Joined({{list_path, "melody.mid"},
                 CountLines(4, 4),
                 {"band.mid"},
                 CountLines(8, 7),
                 {"waltz.mid", Indented(kNoCopyright)},
                 CountLines(3, 3)});
}

struct ExampleFile {
  std::string input;
  std::string output;
  int format;
};
const ExampleFile kExamples[] = {{"melody.mid", "melody_q.mid", 0},
                                 {"band.mid", "band_q.mid", 1},
                                 {"waltz.mid", "waltz_q.mid", 1}};
const Names kExampleOutputs = {"band_q.mid", "melody_q.mid", "waltz_q.mid"};

TEST_F(CliEndToEnd, ExamplesConvertIntoTheFolderOfEachCheckedFormat) {
  const std::string input = Examples("input");
  const std::string same = Path("same");
  const std::string format0 = Path("format0");
  const std::string format1 = Path("format1");
  const ProgramRun run = Run(input, {"f_examples.csv", "--formats", "same,0,1", "--out-same", same,
                                     "--out0", format0, "--out1", format1});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Lines(run.out), ExampleResultLines(input + "/f_examples.csv"));
  EXPECT_EQ(run.err, kDone);

  EXPECT_EQ(Entries(same), kExampleOutputs);
  EXPECT_EQ(Entries(format0), kExampleOutputs);
  EXPECT_EQ(Entries(format1), kExampleOutputs);
  for (const ExampleFile& file : kExamples) {
    SCOPED_TRACE(file.input);
    const std::string written0 = format0 + "/" + file.output;
    const std::string written1 = format1 + "/" + file.output;
    EXPECT_EQ(HeaderFormat(written0), 0);
    EXPECT_EQ(HeaderFormat(written1), 1);
    // "Same as original" gets the very file written for the input's own format.
    EXPECT_EQ(ReadFile(same + "/" + file.output), ReadFile(file.format == 0 ? written0 : written1));
    const std::vector<Note> notes = NotesOf(input + "/" + file.input);
    EXPECT_FALSE(notes.empty());
    EXPECT_EQ(NotesOf(written0), notes);
    EXPECT_EQ(NotesOf(written1), notes);
  }
  // The list's title and copyright cells replace or add the texts of the first track.
  EXPECT_EQ(FirstTrackTexts(format1 + "/band_q.mid", MetaType::SequenceName), Names{"バンド演奏"});
  EXPECT_EQ(FirstTrackTexts(format1 + "/band_q.mid", MetaType::Copyright),
            Names{"(C) 2026 Quillmar サンプル"});
  EXPECT_EQ(FirstTrackTexts(format0 + "/waltz_q.mid", MetaType::SequenceName), Names{"ワルツ"});
  EXPECT_EQ(FirstTrackTexts(format0 + "/waltz_q.mid", MetaType::Copyright), Names{});
  // Nothing is written beside the inputs.
  EXPECT_EQ(Entries(input), kExampleFiles);
}

TEST_F(CliEndToEnd, SavedResultIsTheShiftJisLinesEndedByCrLf) {
  const std::string input = Examples("input");
  const std::string out = Path("out");
  const std::string result = Path("result.txt");
  const ProgramRun run =
      Run(input, {"f_examples.csv", "--out", out, "--sjis", "--save-result", result});
  EXPECT_EQ(run.status, 0);
  std::string lf_lines;
  std::string crlf_lines;
  for (const std::string& line : ExampleResultLines(input + "/f_examples.csv")) {
    lf_lines += Sjis(line) + "\n";
    crlf_lines += Sjis(line) + "\r\n";
  }
  EXPECT_EQ(run.out, lf_lines);
  EXPECT_EQ(ReadFile(result), crlf_lines);
  // Without --formats only "Same as original" is checked.
  EXPECT_EQ(Entries(out), kExampleOutputs);
  for (const ExampleFile& file : kExamples) {
    EXPECT_EQ(HeaderFormat(out + "/" + file.output), file.format) << file.output;
  }
}

TEST_F(CliEndToEnd, MidiFilesAndFoldersGivenAreGatheredIntoATemporaryFileList) {
  const std::string out = Path("out");
  {
    SCOPED_TRACE("files given one by one, with relative paths");
    const std::string folder = Folder("入力");
    WriteFile(folder + "/ソング.mid", ChordSong(0, 0, 60));
    WriteFile(folder + "/b.mid", ChordSong(1, 2, 50));
    const ProgramRun run = Run(root_.Path(), {"入力/ソング.mid", "入力/b.mid", "--out", out});
    EXPECT_EQ(run.status, 0);
    const std::string song = folder + "/ソング.mid";
    const std::string b = folder + "/b.mid";
    EXPECT_EQ(ReadFile(folder + "/file_list_temp.csv"),
              FileListBytes({"-," + song + ",ソング.mid,-,-", "-," + b + ",b.mid,-,-"}));
    EXPECT_EQ(Lines(run.out), Joined({{song, b, song, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2),
                                      {b, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2)}));
    EXPECT_EQ(run.err, kDone);
    EXPECT_EQ(Entries(out), (Names{"b.mid", "ソング.mid"}));
    EXPECT_EQ(HeaderFormat(out + "/ソング.mid"), 0);
    EXPECT_EQ(HeaderFormat(out + "/b.mid"), 1);
    EXPECT_EQ(NotesOf(out + "/ソング.mid"), NotesOf(song));
    EXPECT_EQ(NotesOf(out + "/b.mid"), NotesOf(b));
  }
  {
    SCOPED_TRACE("a folder given: its MIDI files by name, other files left alone");
    const std::string folder = Folder("drop");
    WriteFile(folder + "/c2.mid", ChordSong(1, 3, 40));
    WriteFile(folder + "/c1.mid", ChordSong(0, 1, 70));
    WriteFile(folder + "/notes.txt", "not taken");
    const std::string out2 = Path("out2");
    const ProgramRun run = Run(root_.Path(), {folder, "--out", out2});
    EXPECT_EQ(run.status, 0);
    const std::string c1 = folder + "/c1.mid";
    const std::string c2 = folder + "/c2.mid";
    EXPECT_EQ(ReadFile(folder + "/file_list_temp.csv"),
              FileListBytes({"-," + c1 + ",c1.mid,-,-", "-," + c2 + ",c2.mid,-,-"}));
    EXPECT_EQ(Lines(run.out), Joined({{c1, c2, c1, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2),
                                      {c2, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2)}));
    EXPECT_EQ(Entries(out2), (Names{"c1.mid", "c2.mid"}));
    EXPECT_EQ(NotesOf(out2 + "/c1.mid"), NotesOf(c1));
    EXPECT_EQ(NotesOf(out2 + "/c2.mid"), NotesOf(c2));
    EXPECT_EQ(Entries(folder), (Names{"c1.mid", "c2.mid", "file_list_temp.csv", "notes.txt"}));
  }
}

TEST_F(CliEndToEnd, RefusedRunsExitWithOneAndConvertNothing) {
  const std::string out = Path("out");
  {
    SCOPED_TRACE("no file list");
    const ProgramRun run = Run(Folder("empty"), {"--out", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string(kNoFileList) + "\n");
  }
  {
    SCOPED_TRACE("a folder named like a file list is searched, not read");
    Folder("f_dir.csv");
    const ProgramRun run = Run(root_.Path(), {"f_dir.csv", "--out", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, std::string(kNoFileList) + "\n");
  }
  {
    SCOPED_TRACE("a file list without rows");
    WriteFile(Path("f_empty.csv"), "");
    const ProgramRun run = Run(root_.Path(), {"f_empty.csv", "--out", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.out), Names{Path("f_empty.csv")});
    EXPECT_NE(run.err.find(kFileListUnreadable), std::string::npos) << run.err;
  }
  {
    SCOPED_TRACE("a temporary file list that cannot be written or read");
    const std::string folder = Folder("blocked");
    WriteFile(folder + "/x.mid", ChordSong(0, 0, 60));
    const std::string list_path = Folder("blocked/file_list_temp.csv");
    const ProgramRun run = Run(root_.Path(), {"blocked/x.mid", "--out", out});
    EXPECT_EQ(run.status, 1);
    const Names lines = Lines(run.out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], folder + "/x.mid");
    EXPECT_EQ(lines[1], Indented(kNotOpened));
    EXPECT_EQ(lines[2], Indented("   問題のある指定  " + list_path));
    EXPECT_NE(run.err.find(kFileListUnreadable), std::string::npos) << run.err;
    EXPECT_EQ(Entries(folder), (Names{"file_list_temp.csv", "x.mid"}));
    EXPECT_EQ(Entries(list_path), Names{});
  }
  EXPECT_EQ(Entries(out), Names{});
  EXPECT_EQ(Entries(temp_), Names{});
}

TEST_F(CliEndToEnd, SameInputAndOutputNamesNeedYes) {
  // Input ./song.mid written back as song.mid into the current folder, which the list's drop
  // made the output folder.
  const std::string folder = Folder("work");
  const std::string original = ChordSong(0, 0, 60);
  WriteFile(folder + "/song.mid", original);
  WriteFile(folder + "/f.csv", FileListBytes({"1,song.mid,song.mid,Title,-"}));
  const std::vector<Note> notes = NotesOf(folder + "/song.mid");

  const ProgramRun refused = Run(folder, {"f.csv"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(Lines(refused.out), Names{folder + "/f.csv"});
  EXPECT_EQ(FirstLine(refused.err), kSameNamesQuestion);
  EXPECT_EQ(ReadFile(folder + "/song.mid"), original);

  const ProgramRun run = Run(folder, {"f.csv", "--yes"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Lines(run.out),
            Joined({{folder + "/f.csv", "song.mid", Indented(kNoCopyright)}, CountLines(2, 2)}));
  EXPECT_EQ(FirstLine(run.err), kSameNamesQuestion);
  // The input was read whole before its converted form replaced it.
  EXPECT_EQ(HeaderFormat(folder + "/song.mid"), 0);
  EXPECT_EQ(NotesOf(folder + "/song.mid"), notes);
  EXPECT_EQ(FirstTrackTexts(folder + "/song.mid", MetaType::SequenceName), Names{"Title"});
  EXPECT_EQ(Entries(folder), (Names{"f.csv", "song.mid"}));
}

TEST_F(CliEndToEnd, UsageErrorsExitWithTwoAndOneLineReason) {
  const std::string input = Examples("input");
  const std::string out = Path("out");
  struct Case {
    Args arguments;
    std::string reason;
  };
  const Case cases[] = {
      {{"--out", out, "f_examples.csv", "--bogus"}, "unknown option --bogus"},
      {{"--out", out, "f_examples.csv", "--slot", "7"},
       "--slot takes a number from 1 to 6, not '7'"},
      {{"--out", out, "--formats", "2", "f_examples.csv"},
       "unknown format '2' (use same, 0 and 1)"},
      {{"f_examples.csv", "--out"}, "--out needs a value"},
      {{"--work", Path("nowhere"), "--out", out, "f_examples.csv"},
       "--work needs an existing folder: " + Path("nowhere")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const ProgramRun run = Run(input, c.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(FirstLine(run.err), "quillmar-cli: " + c.reason);
  }
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(Entries(input), kExampleFiles);

  const ProgramRun help = Run(input, {"--help", "f_examples.csv"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, CliUsage());
  EXPECT_EQ(help.err, "");
  const ProgramRun version = Run(input, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("quillmar-cli (Quillmar Version ", 0), 0u) << version.out;
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(Entries(input), kExampleFiles);
}

TEST_F(CliEndToEnd, UnreadableRowsGetTheirMessageAndLaterRowsStillConvert) {
  const std::string folder = Folder("rows");
  WriteFile(folder + "/a.mid", ChordSong(0, 0, 60));
  WriteFile(folder + "/text.mid", "this is a text, not a song\r\n");
  WriteFile(folder + "/b.mid", ChordSong(1, 1, 48));
  WriteFile(folder + "/format2.mid",
            Smf(2, 480,
                {Chunk(Bytes({0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}))}));
  WriteFile(folder + "/c.mid", ChordSong(0, 9, 36));
  WriteFile(folder + "/f.csv", FileListBytes({"1,missing.mid,m_q.mid,T,C", "2,a.mid,a_q.mid,T,C",
                                              "3,text.mid,t_q.mid,T,C", "4,b.mid,b_q.mid,T,C",
                                              "5,format2.mid,f_q.mid,T,C", "6,c.mid,c_q.mid,T,C"}));
  const std::string out = Path("out");
  const ProgramRun run = Run(folder, {"f.csv", "--formats", "0,1", "--out", out});
  EXPECT_EQ(run.status, 0);
  // The drum chord counts its distinct notes for the voices.
  EXPECT_EQ(Lines(run.out),
            Joined({{folder + "/f.csv", "missing.mid", Indented(kNotOpened), "a.mid"},
                    CountLines(2, 2),
                    {"text.mid", Indented(kNotMidi), "b.mid"},
                    CountLines(2, 2),
                    {"format2.mid", Indented(kNotMidi), "c.mid"},
                    CountLines(3, 2)}));
  EXPECT_EQ(run.err, kDone);
  EXPECT_EQ(Entries(out), (Names{"a_q.mid", "b_q.mid", "c_q.mid"}));
  EXPECT_EQ(NotesOf(out + "/c_q.mid"), NotesOf(folder + "/c.mid"));
}

TEST_F(CliEndToEnd, NothingIsLeftInTheCurrentOrTemporaryFolder) {
  const std::string current = Folder("current");
  const std::string inputs = Folder("inputs");
  WriteFile(inputs + "/a.mid", ChordSong(0, 0, 60));
  WriteFile(inputs + "/b.mid", ChordSong(1, 0, 62));
  const std::string list = Path("f_list.csv");
  WriteFile(list, FileListBytes(
                      {"1," + inputs + "/a.mid,a.mid,T,C", "2," + inputs + "/b.mid,last.mid,T,C"}));
  const std::string out = Path("out");
  const ProgramRun run = Run(current, {list, "--formats", "same,0,1", "--out", out});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Entries(out), (Names{"a.mid", "last.mid"}));
  EXPECT_EQ(Entries(current), Names{});
  EXPECT_EQ(Entries(temp_), Names{});
  EXPECT_EQ(Entries(inputs), (Names{"a.mid", "b.mid"}));

  // A work folder of one's own keeps each row's work file under its output name, in its
  // format-0 form, and nothing else.
  const std::string work = Folder("work");
  const ProgramRun kept = Run(current, {list, "--formats", "1", "--out", out, "--work", work});
  EXPECT_EQ(kept.status, 0);
  EXPECT_EQ(Entries(work), (Names{"a.mid", "last.mid"}));
  EXPECT_EQ(HeaderFormat(work + "/a.mid"), 0);
  EXPECT_EQ(HeaderFormat(work + "/last.mid"), 0);
  EXPECT_EQ(HeaderFormat(out + "/last.mid"), 1);
  EXPECT_EQ(Entries(current), Names{});
  EXPECT_EQ(Entries(temp_), Names{});
}

TEST_F(CliEndToEnd, OutputCellFolderIsIgnoredAndKeptTitleReportsItsAbsence) {
  const std::string current = Folder("current");
  const std::string inputs = Folder("inputs");
  WriteFile(inputs + "/a.mid", ChordSong(1, 0, 60));
  WriteFile(inputs + "/b.mid", ChordSong(0, 0, 64));
  const std::string list = Path("f_list.csv");
  WriteFile(list, FileListBytes({"1," + inputs + "/a.mid,sub\\x.mid,-,(C) me",
                                 "2," + inputs + "/b.mid,sub/y.mid,Song,-"}));
  const std::string format0 = Path("format0");
  const std::string format1 = Path("format1");
  const ProgramRun run =
      Run(current, {list, "--formats", "0,1", "--out0", format0, "--out1", format1});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Lines(run.out), Joined({{list, inputs + "/a.mid", Indented(kNoTitle)},
                                    CountLines(2, 2),
                                    {inputs + "/b.mid", Indented(kNoCopyright)},
                                    CountLines(2, 2)}));
  EXPECT_EQ(Entries(format0), (Names{"x.mid", "y.mid"}));
  EXPECT_EQ(Entries(format1), (Names{"x.mid", "y.mid"}));
  EXPECT_EQ(Entries(current), Names{});
  EXPECT_EQ(Entries(root_.Path()),
            (Names{"current", "f_list.csv", "format0", "format1", "inputs", "tmp"}));
  // "-" adds no title; a copyright cell adds its text.
  EXPECT_EQ(FirstTrackTexts(format1 + "/x.mid", MetaType::SequenceName), Names{});
  EXPECT_EQ(FirstTrackTexts(format0 + "/x.mid", MetaType::SequenceName), Names{});
  EXPECT_EQ(FirstTrackTexts(format1 + "/x.mid", MetaType::Copyright), Names{"(C) me"});
  EXPECT_EQ(FirstTrackTexts(format0 + "/y.mid", MetaType::SequenceName), Names{"Song"});
}

// Kept fast on purpose: three tiny songs, format-0 output only.
TEST_F(CliEndToEnd, ThousandRowListOverTwoSlotsRunsToTheEnd) {
  const std::string inputs = Folder("inputs");
  const std::string songs[] = {inputs + "/a.mid", inputs + "/b.mid", inputs + "/c.mid"};
  WriteFile(songs[0], ChordSong(0, 0, 60));
  WriteFile(songs[1], ChordSong(1, 1, 50));
  WriteFile(songs[2], ChordSong(0, 2, 40));
  std::string list = Sjis(kHeader) + "\r\n";
  constexpr int kRows = 999;
  for (int row = 1; row <= kRows; ++row) {
    list += std::to_string(row) + "," + songs[row % 3] + ",r" + std::to_string(row % 3) +
            ".mid,T,C\r\n";
  }
  const std::string list_path = Path("f_list.csv");
  WriteFile(list_path, list);
  const std::string volume_folder = Folder("slot2");
  const std::string volume_path = volume_folder + "/v_list.csv";
  WriteFile(volume_path, "ch,volume,pan,expression,reverb\r\n");
  const std::string slot1 = Path("slot1");

  const ProgramRun run = Run(Folder("current"), {"--formats", "0", list_path, "--out0", slot1,
                                                 "--slot", "2", volume_path});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, kDone);
  const Names lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u + 2u * kRows * 3u);
  EXPECT_EQ(lines[0], list_path);
  // A list of 1,000 lines is read whole, with its message.
  EXPECT_EQ(lines[1], Indented("リストの件数が多すぎます。"));
  EXPECT_EQ(lines[2], volume_path);
  const auto name_lines = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line == songs[0] || line == songs[1] || line == songs[2];
  });
  EXPECT_EQ(name_lines, 2 * kRows);
  EXPECT_EQ(lines.back(), CountLines(2, 2).back());
  // Slot 2's output folder is the one its list was taken from.
  EXPECT_EQ(Entries(slot1), (Names{"r0.mid", "r1.mid", "r2.mid"}));
  EXPECT_EQ(Entries(volume_folder), (Names{"r0.mid", "r1.mid", "r2.mid", "v_list.csv"}));
  EXPECT_EQ(HeaderFormat(volume_folder + "/r1.mid"), 0);
  EXPECT_EQ(NotesOf(volume_folder + "/r1.mid"), NotesOf(songs[1]));
}

}  // namespace
}  // namespace quillmar
