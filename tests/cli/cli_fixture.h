// Runs the built quillmar-cli on generated MIDI files and lists, and reads what it prints,
// its exit status and the files it writes (read back with the project's own loader).
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
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

#include "model/midi_file_loader.h"
#include "model/model_builders.h"
#include "platform/encoding.h"
#include "report/report.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

extern char** environ;

namespace quillmar::cli_testing {

// What make-examples writes.
inline const std::vector<std::string> kExampleFiles = {
    "band.mid",       "d_examples.csv", "e_examples.csv", "f_examples.csv", "melody.mid",
    "o_examples.csv", "t_examples.csv", "v_examples.csv", "waltz.mid"};

namespace fs = std::filesystem;
using testing::Bytes;
using testing::Chunk;
using testing::RecordingSink;
using testing::Smf;
using testing::TempFolder;
using Args = std::vector<std::string>;
using Names = std::vector<std::string>;

inline constexpr char kDone[] = "処理が終了しました\n";
inline constexpr char kHeader[] = "番号,入力ファイル名,出力ファイル名,タイトル,著作権情報";
inline constexpr char kNoTitle[] = "ソングタイトルが設定されていませんでした。";
inline constexpr char kNoCopyright[] = "著作権情報が設定されていませんでした。";
inline constexpr char kNotOpened[] =
    "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。";
inline constexpr char kNotMidi[] = "Midiファイルではありません。";
inline constexpr char kNoFileList[] = "ファイル設定リストが指定されていません。";
inline constexpr char kFileListUnreadable[] =
    "ファイル設定リストのファイルが開けませんでした。使用中の可能性があります。";
inline constexpr char kWrittenTwiceQuestion[] =
    "同じ出力ファイルに複数の変換結果が書き込まれます。後に書かれたものが残りますが、"
    "よろしいですか？";
inline constexpr char kSameNamesQuestion[] =
    "入力ファイル名と出力ファイル名が同じものがあります。これらのファイルは上書きされますが、"
    "よろしいですか？";

// --- Running a program -------------------------------------------------------------------

struct ProgramRun {
  int status = -1;  // the exit status; 128 + the signal when it was killed
  std::string out;
  std::string err;
};

inline std::string ReadFile(const std::string& path) {
  std::string bytes;
  if (const int fd = ::open(path.c_str(), O_RDONLY); fd >= 0) {
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    ::close(fd);
  }
  return bytes;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

// Starts `program` in `current_folder` with TMPDIR set to `temp_folder`; its standard output
// and error go to files in `capture_folder`, standard input is empty. Gives the process id.
inline pid_t StartProgram(const std::string& program, const Args& arguments,
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
  return pid;
}

// Waits for a started program and reads what it printed. A program still running after five
// minutes (the load tests under the sanitizers on a busy machine take three) is killed (its
// status then tells SIGKILL), so that a hang fails the test instead of stopping it.
inline ProgramRun FinishProgram(pid_t pid, const std::string& capture_folder) {
  ProgramRun run;
  int wait_status = 0;
  for (int waited_ms = 0; pid > 0; waited_ms += 5) {
    const pid_t done = ::waitpid(pid, &wait_status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return run;
    if (waited_ms == 300000) ::kill(pid, SIGKILL);
    ::usleep(5000);
  }
  if (pid <= 0) return run;
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  run.out = ReadFile(capture_folder + "/out");
  run.err = ReadFile(capture_folder + "/err");
  return run;
}

inline ProgramRun RunProgram(const std::string& program, const Args& arguments,
                             const std::string& current_folder, const std::string& temp_folder,
                             const std::string& capture_folder) {
  return FinishProgram(
      StartProgram(program, arguments, current_folder, temp_folder, capture_folder),
      capture_folder);
}

// --- Reading results ---------------------------------------------------------------------

inline Names Lines(std::string_view text) {
  Names lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

inline bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

inline std::string FirstLine(std::string_view text) {
  const Names lines = Lines(text);
  return lines.empty() ? std::string() : lines.front();
}

inline std::string Indented(std::string_view utf8_text) {
  return std::string(kReportIndent) + std::string(utf8_text);
}

// The voice-count and simultaneous-notes lines of one converted row.
inline Names CountLines(int voices, int simultaneous) {
  return {Indented("ボイス数 " + std::to_string(voices)),
          Indented("同時発音数 " + std::to_string(simultaneous))};
}

inline Names Joined(std::initializer_list<Names> parts) {
  Names all;
  for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Names of a folder's entries, sorted; empty for a folder that does not exist.
inline Names Entries(const std::string& folder) {
  Names names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The format field of a Standard MIDI File's header; -1 when there is no header.
inline int HeaderFormat(const std::string& path) {
  const std::string bytes = ReadFile(path);
  if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) return -1;
  return (static_cast<unsigned char>(bytes[8]) << 8) | static_cast<unsigned char>(bytes[9]);
}

// One note as heard: start tick, channel, note number and length.
using Note = std::tuple<Ticks, std::int32_t, std::int32_t, std::int32_t>;

// Every note of a file, over all its tracks, in the order of start, channel and number.
inline std::vector<Note> NotesOf(const std::string& path) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiFileLoader loader(context, MidiSource::Bytes(ReadFile(path)));
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
inline Names FirstTrackTexts(const std::string& path, std::int32_t meta_type) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiFileLoader loader(context, MidiSource::Bytes(ReadFile(path)));
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
inline std::string ChordSong(int format, int channel, int key) {
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
inline std::string FileListBytes(std::initializer_list<std::string> rows) {
  std::string list = Sjis(kHeader) + "\r\n";
  for (const std::string& row : rows) list += Sjis(row) + "\r\n";
  return list;
}

// --- The fixture -------------------------------------------------------------------------

class CliFixture : public ::testing::Test {
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
  pid_t Start(const std::string& current_folder, const Args& arguments) const {
    return StartProgram(QUILLMAR_CLI_PATH, arguments, current_folder, temp_, capture_.Path());
  }
  ProgramRun Finish(pid_t pid) const { return FinishProgram(pid, capture_.Path()); }

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

}  // namespace quillmar::cli_testing
