// quillmar-cli under faults and load: a full disk, folders and inputs that change during a
// run, a process killed outright, and a long run with few descriptors and bounded memory.
// Each case ends with its message, the run goes on, no output is ever partial and no input is
// touched.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <thread>

#include "cli/cli_fixture.h"

namespace quillmar {
namespace {

using namespace cli_testing;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr char kGeneral[] = "エラーがおきました。";
constexpr char kDetail[] = "   問題のある指定  ";
constexpr std::string_view kTemporaryPrefix = ".quillmar-";

using Limits = std::vector<std::pair<int, rlim_t>>;
using FileBytes = std::map<std::string, std::string>;

// A track of `notes` short notes on one channel, ended.
std::string NotesTrack(int notes, int channel) {
  std::string track;
  for (int i = 0; i < notes; ++i) {
    const int key = 40 + i % 40;
    track += Bytes({0x00, 0x90 | channel, key, 100, 0x10, 0x80 | channel, key, 0});
  }
  return track + Bytes({0x00, 0xFF, 0x2F, 0x00});
}

// A format 0 song long enough that a row takes a while: 8 bytes a note.
std::string LongSong(int notes) {
  return Smf(0, 480, {Chunk(NotesTrack(notes, 0))});
}

// The largest legal input: a format 1 song of 16 channel tracks just under 262,144 bytes,
// about 65,000 events.
std::string LargestSong() {
  constexpr int kTrackNotes = (262144 - 14 - 16 * 12) / 16 / 8;
  std::vector<std::string> chunks;
  for (int channel = 0; channel < 16; ++channel) {
    chunks.push_back(Chunk(NotesTrack(kTrackNotes, channel)));
  }
  return Smf(1, 480, chunks);
}

bool IsTemporary(const std::string& name) {
  return name.rfind(kTemporaryPrefix, 0) == 0;
}

// Every file below a folder with its bytes, by path relative to the folder.
FileBytes FilesUnder(const std::string& folder) {
  FileBytes files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (std::error_code type_error; it->is_regular_file(type_error)) {
      files[fs::relative(it->path(), folder).string()] = ReadFile(it->path());
    }
  }
  return files;
}

// The names of the files that differ between two sets (for a readable failure).
Names Differing(const FileBytes& before, const FileBytes& after) {
  Names names;
  for (const auto& [name, bytes] : before) {
    if (!after.contains(name) || after.at(name) != bytes) names.push_back(name);
  }
  for (const auto& [name, bytes] : after) {
    if (!before.contains(name)) names.push_back(name);
  }
  return names;
}

// Every path below the folder whose name starts like a temporary file.
Names TemporariesUnder(const std::string& folder) {
  Names found;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (IsTemporary(it->path().filename().string())) found.push_back(it->path());
  }
  return found;
}

// The result lines of each row: its input name and the indented lines under it. The first
// line, the file list's path, is left out.
std::vector<Names> RowsOf(const std::string& out) {
  std::vector<Names> rows;
  const Names lines = Lines(out);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].rfind(kReportIndent, 0) != 0) rows.emplace_back();
    if (!rows.empty()) rows.back().push_back(lines[i]);
  }
  return rows;
}

// True when a row reports a failed write: the general message or the unopened file,
// followed by the detail line naming a path that ends in `/name`.
bool ReportsFailedWrite(const Names& row, const std::string& name) {
  for (std::size_t i = 0; i + 1 < row.size(); ++i) {
    const std::string& detail = row[i + 1];
    if ((row[i] == Indented(kGeneral) || row[i] == Indented(kNotOpened)) &&
        detail.rfind(Indented(kDetail), 0) == 0 && detail.size() > name.size() &&
        detail.compare(detail.size() - name.size() - 1, std::string::npos, "/" + name) == 0) {
      return true;
    }
  }
  return false;
}

// A file list of the given rows, ended by CR LF (ASCII cells need no conversion).
std::string ListOf(const Names& rows) {
  std::string list = Sjis(kHeader) + "\r\n";
  for (const std::string& row : rows) list += row + "\r\n";
  return list;
}

// Counts the temporary files created in a folder, as the system reports them.
class TemporaryCreations {
 public:
  explicit TemporaryCreations(const std::string& folder) : fd_(::inotify_init1(IN_CLOEXEC)) {
    EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_CREATE), 0) << folder;
  }
  ~TemporaryCreations() { ::close(fd_); }
  TemporaryCreations(const TemporaryCreations&) = delete;
  TemporaryCreations& operator=(const TemporaryCreations&) = delete;

  // Waits until `count` temporaries in all have been created; false when none came for a
  // minute.
  bool WaitFor(int count) {
    while (seen_ < count) {
      if (!Read(60000)) return false;
    }
    return true;
  }

  // Waits for a temporary created after the call.
  bool WaitForNext() {
    while (Read(0)) {
    }
    return WaitFor(seen_ + 1);
  }

 private:
  // Counts the creations reported within `timeout_ms`; false when there were none.
  bool Read(int timeout_ms) {
    pollfd wait{fd_, POLLIN, 0};
    if (::poll(&wait, 1, timeout_ms) <= 0) return false;
    alignas(inotify_event) char buffer[4096];
    const ssize_t size = ::read(fd_, buffer, sizeof buffer);
    for (ssize_t at = 0; at < size;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->len > 0 && IsTemporary(event->name)) ++seen_;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    return size > 0;
  }

  int fd_;
  int seen_ = 0;
};

class CliFaults : public CliFixture {
 protected:
  // Starts quillmar-cli as Start does, with resource limits set in the child before exec.
  pid_t StartLimited(const std::string& current_folder, const Args& arguments,
                     const Limits& limits) const {
    Args words = {QUILLMAR_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string out = capture_.Path() + "/out", err = capture_.Path() + "/err";
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int in_fd = ::open("/dev/null", O_RDONLY);
      const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in_fd < 0 || out_fd < 0 || err_fd < 0 || ::dup2(in_fd, 0) < 0 || ::dup2(out_fd, 1) < 0 ||
          ::dup2(err_fd, 2) < 0 || ::chdir(current_folder.c_str()) != 0 ||
          ::setenv("TMPDIR", temp_.c_str(), 1) != 0) {
        ::_exit(126);
      }
      ::close(in_fd);
      ::close(out_fd);
      ::close(err_fd);
      for (const auto& [resource, value] : limits) {
        const rlimit limit{value, value};
        if (::setrlimit(resource, &limit) != 0) ::_exit(126);
      }
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    return pid;
  }

  // Waits (bounded) until the running program has reported `rows` converted rows.
  void WaitForConvertedRows(int rows) const {
    const std::string count_label = Indented("同時発音数");
    for (int waited_ms = 0; waited_ms < 20000; ++waited_ms) {
      const std::string out = ReadFile(capture_.Path() + "/out");
      int converted = 0;
      for (std::size_t at = 0; (at = out.find(count_label, at)) != std::string::npos; ++at) {
        ++converted;
      }
      if (converted >= rows) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "the run reported fewer than " << rows << " rows";
  }
};

// A file size limit stands for a full disk: the row whose output is larger than the limit
// gets its message and writes nothing, the smaller rows before and after it are written.
TEST_F(CliFaults, WritesPastAFullDiskFailTheirRowOnly) {
  const std::string in = Folder("in");
  WriteFile(in + "/a.mid", ChordSong(0, 0, 60));
  WriteFile(in + "/big.mid", LongSong(8000));  // 64 KB, twice the limit
  WriteFile(in + "/b.mid", ChordSong(1, 1, 50));
  WriteFile(in + "/f.csv",
            ListOf({"1,a.mid,a.mid,T,C", "2,big.mid,big.mid,T,C", "3,b.mid,b.mid,T,C"}));
  const FileBytes inputs = FilesUnder(in);
  const std::string out = Path("out");
  const Args arguments = {"f.csv",  "--formats", "same,0,1", "--out-same", out + "/s",
                          "--out0", out + "/0",  "--out1",   out + "/1"};

  const ProgramRun run = Finish(StartLimited(in, arguments, {{RLIMIT_FSIZE, 32 * 1024}}));
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.err, kDone);
  const std::vector<Names> rows = RowsOf(run.out);
  ASSERT_EQ(rows.size(), 3u) << run.out;
  EXPECT_EQ(rows[0], Joined({{"a.mid"}, CountLines(2, 2)}));
  EXPECT_EQ(rows[1].front(), "big.mid");
  EXPECT_TRUE(ReportsFailedWrite(rows[1], "big.mid")) << run.out;
  EXPECT_EQ(rows[2], Joined({{"b.mid"}, CountLines(2, 2)}));
  for (const char* folder : {"/s", "/0", "/1"}) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(Entries(out + folder), (Names{"a.mid", "b.mid"}));
    EXPECT_EQ(NotesOf(out + folder + "/a.mid"), NotesOf(in + "/a.mid"));
    EXPECT_EQ(NotesOf(out + folder + "/b.mid"), NotesOf(in + "/b.mid"));
  }
  EXPECT_EQ(TemporariesUnder(root_.Path()), Names{});
  EXPECT_EQ(Entries(temp_), Names{}) << "the work folder is removed";
  EXPECT_EQ(Differing(inputs, FilesUnder(in)), Names{});
}

// The output folder vanishes, or an input becomes garbage or vanishes, while a long run is
// under way. Wherever the change lands, the rows it hits before it are converted, every row
// after it gets the change's message, the other rows convert and the run goes to its end.
TEST_F(CliFaults, FoldersAndInputsChangingDuringARunFailOnlyTheRowsTheyHit) {
  constexpr int kRows = 60;  // odd rows take long.mid, even rows steady.mid
  const std::string long_song = LongSong(20000);
  const std::string steady_song = ChordSong(1, 2, 50);
  const std::string garbage = "this is a text, not a song\r\n";
  Names list_rows;
  for (int row = 1; row <= kRows; ++row) {
    list_rows.push_back(std::to_string(row) + (row % 2 == 1 ? ",long.mid" : ",steady.mid") + ",r" +
                        std::to_string(row) + ".mid,T,C");
  }
  enum class Change { OutputFolderGone, InputGarbage, InputGone };
  struct Case {
    const char* what;
    Change change;
  };
  const Case cases[] = {
      {"the output folder is renamed away", Change::OutputFolderGone},
      {"long.mid is replaced with garbage", Change::InputGarbage},
      {"long.mid is deleted", Change::InputGone},
  };
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    const Case& c = cases[index];
    SCOPED_TRACE(c.what);
    const std::string folder = Folder("case" + std::to_string(index));
    const std::string in = Folder("case" + std::to_string(index) + "/in");
    WriteFile(in + "/long.mid", long_song);
    WriteFile(in + "/steady.mid", steady_song);
    WriteFile(in + "/f.csv", ListOf(list_rows));
    const std::vector<Note> long_notes = NotesOf(in + "/long.mid");
    const std::vector<Note> steady_notes = NotesOf(in + "/steady.mid");
    FileBytes inputs = FilesUnder(in);
    const std::string out = folder + "/out";
    const std::string moved = folder + "/moved";

    fs::create_directories(out);
    TemporaryCreations watch(out);
    WriteFile(capture_.Path() + "/out", "");  // not the last run's lines
    const pid_t pid = Start(in, {"f.csv", "--formats", "0", "--out0", out});
    WaitForConvertedRows(3);
    switch (c.change) {
      case Change::OutputFolderGone:  // as an output is being written into it
        EXPECT_TRUE(watch.WaitForNext());
        EXPECT_EQ(std::rename(out.c_str(), moved.c_str()), 0);
        break;
      case Change::InputGarbage:  // replaced whole, as a saving editor does
        WriteFile(in + "/garbage.tmp", garbage);
        EXPECT_EQ(std::rename((in + "/garbage.tmp").c_str(), (in + "/long.mid").c_str()), 0);
        inputs["long.mid"] = garbage;
        break;
      case Change::InputGone:
        EXPECT_TRUE(fs::remove(in + "/long.mid"));
        inputs.erase("long.mid");
        break;
    }
    const ProgramRun run = Finish(pid);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, kDone);

    const std::vector<Names> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows)) << run.out;
    const std::string output_folder = c.change == Change::OutputFolderGone ? moved : out;
    Names written;
    int converted_before = 0, failed = 0;
    for (int row = 1; row <= kRows; ++row) {
      SCOPED_TRACE("row " + std::to_string(row));
      const bool is_long = row % 2 == 1;
      const std::string output = "r" + std::to_string(row) + ".mid";
      const Names converted = Joined(
          {{is_long ? "long.mid" : "steady.mid"}, is_long ? CountLines(1, 1) : CountLines(2, 2)});
      const std::vector<Note>& notes = is_long ? long_notes : steady_notes;
      const Names& lines = rows[static_cast<std::size_t>(row - 1)];
      const bool hit = is_long || c.change == Change::OutputFolderGone;
      if (!hit || (failed == 0 && lines == converted)) {
        EXPECT_EQ(lines, converted);
        written.push_back(output);
        // Outputs of one input are the same bytes: the first one is read back whole.
        const std::string first = output_folder + (is_long ? "/r1.mid" : "/r2.mid");
        if (row <= 2) {
          EXPECT_EQ(NotesOf(first), notes);
        }
        EXPECT_EQ(ReadFile(output_folder + "/" + output), ReadFile(first));
        if (hit) ++converted_before;
        continue;
      }
      ++failed;
      switch (c.change) {
        case Change::OutputFolderGone:
          EXPECT_EQ(lines, Joined({converted,
                                   {Indented(kGeneral), Indented(kDetail + out + "/" + output)}}));
          break;
        case Change::InputGarbage:
          // The row being read as the file was replaced may have read the song's header
          // before and its track after.
          if (failed > 1 || lines != Names{"long.mid",
                                           Indented("MIDIファイルではないか、ファイルにマック"
                                                    "バイナリがついています。"),
                                           Indented("Format 0のファイルではありません。")}) {
            EXPECT_EQ(lines, (Names{"long.mid", Indented(kNotMidi)}));
          }
          break;
        case Change::InputGone:
          EXPECT_EQ(lines, (Names{"long.mid", Indented(kNotOpened)}));
          break;
      }
    }
    EXPECT_GE(converted_before, 2) << "the change came after some rows";
    EXPECT_GE(failed, 1) << "the change came before the end";
    std::sort(written.begin(), written.end());
    EXPECT_EQ(Entries(output_folder), written) << "nothing else is left in the output folder";
    if (c.change == Change::OutputFolderGone) {
      EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(TemporariesUnder(folder), Names{});
    EXPECT_EQ(Entries(temp_), Names{}) << "the work folder is removed";
    EXPECT_EQ(Differing(inputs, FilesUnder(in)), Names{});
  }
}

// SIGKILL cannot be caught: whatever it cuts short, the outputs in place are complete, a
// leftover temporary is recognisable and no MIDI file, and the inputs are untouched. The
// kill is aimed at the moment a file is being written into an output folder.
TEST_F(CliFaults, KilledRunLeavesOnlyCompleteOutputsAndRecognisableTemporaries) {
  const std::string in = Folder("in");
  WriteFile(in + "/long.mid", LongSong(20000));
  Names list_rows;
  for (int row = 1; row <= 100; ++row) {
    list_rows.push_back(std::to_string(row) + ",long.mid,r" + std::to_string(row) + ".mid,T,C");
  }
  WriteFile(in + "/f.csv", ListOf(list_rows));
  const FileBytes inputs = FilesUnder(in);
  const std::vector<Note> notes = NotesOf(in + "/long.mid");
  for (const int creations : {1, 8}) {
    SCOPED_TRACE("killed at temporary file " + std::to_string(creations));
    const std::string out = Path("out" + std::to_string(creations));
    for (const char* folder : {"/s", "/0", "/1"}) fs::create_directories(out + folder);
    TemporaryCreations watch(out + "/0");
    const pid_t pid = Start(in, {"f.csv", "--formats", "same,0,1", "--out-same", out + "/s",
                                 "--out0", out + "/0", "--out1", out + "/1"});
    EXPECT_TRUE(watch.WaitFor(creations));
    ::kill(pid, SIGKILL);
    EXPECT_EQ(Finish(pid).status, 128 + SIGKILL);

    for (const char* folder : {"/s", "/0", "/1"}) {
      SCOPED_TRACE(folder);
      std::string complete;  // every output of a folder is the same complete file
      for (const std::string& name : Entries(out + folder)) {
        const std::string path = out + folder + "/" + name;
        if (IsTemporary(name)) {
          EXPECT_FALSE(name.ends_with(".mid")) << name;
          continue;
        }
        EXPECT_TRUE(name.ends_with(".mid")) << name;
        if (complete.empty()) {
          EXPECT_EQ(NotesOf(path), notes) << name;
          complete = ReadFile(path);
        }
        EXPECT_EQ(ReadFile(path), complete) << name;
      }
    }
    EXPECT_FALSE(Entries(out + "/1").empty()) << "the kill came after the first row's format 1";
  }
  EXPECT_EQ(Differing(inputs, FilesUnder(in)), Names{});
}

// 999 rows over six slots with 32 descriptors and a capped address space, one row in 37 the
// largest legal song (the rest smaller songs): a descriptor or a song's memory kept for every row
// would make rows fail or the process end.
TEST_F(CliFaults, ThousandRowsOverSixSlotsRunInBoundedResources) {
  constexpr int kRows = 999;
  constexpr int kNotes = 500;
  // The sanitizers make the largest song ten times slower: fewer rows of it there.
  constexpr int kLargestEvery = kAddressSanitizer ? 333 : 37;
  const std::string in = Folder("in");
  const std::string songs[] = {
      LargestSong(),
      Smf(1, 480, {Chunk(NotesTrack(kNotes / 2, 0)), Chunk(NotesTrack(kNotes / 2, 1))}),
      ChordSong(0, 9, 36)};
  for (int song = 0; song < 3; ++song) {
    WriteFile(in + "/s" + std::to_string(song) + ".mid", songs[song]);
  }
  Names list_rows;
  for (int row = 1; row <= kRows; ++row) {
    const std::string song = row % kLargestEvery == 0 ? "0" : std::to_string(1 + row % 2);
    list_rows.push_back(std::to_string(row) + ",s" + song + ".mid,r" + song + ".mid,T,C");
  }
  WriteFile(in + "/f.csv", ListOf(list_rows));
  WriteFile(in + "/v.csv", "ch,volume,velocity,pan,gate\r\n");
  const FileBytes inputs = FilesUnder(in);
  Args arguments = {"f.csv", "--formats", "0", "--out0", Path("out1")};
  for (int slot = 2; slot <= 6; ++slot) {
    const std::string number = std::to_string(slot);
    arguments.insert(arguments.end(), {"--slot", number, "v.csv", "--out0", Path("out" + number)});
  }
  arguments.push_back("--yes");  // rows of one song share their output
  Limits limits = {{RLIMIT_NOFILE, 32}, {RLIMIT_STACK, rlim_t{8} << 20}};
  if (!kAddressSanitizer) limits.emplace_back(RLIMIT_AS, rlim_t{256} << 20);

  const ProgramRun run = Finish(StartLimited(in, arguments, limits));
  EXPECT_EQ(run.status, 4) << "all written; a list of 1,000 lines gives its message" << run.err;
  EXPECT_TRUE(run.err.ends_with(kDone)) << run.err;
  const Names lines = Lines(run.out);
  EXPECT_EQ(std::count_if(
                lines.begin(), lines.end(),
                [](const std::string& line) { return line.starts_with(Indented("同時発音数")); }),
            6 * kRows);
  for (int slot = 1; slot <= 6; ++slot) {
    const std::string out = Path("out" + std::to_string(slot));
    SCOPED_TRACE(out);
    EXPECT_EQ(Entries(out), (Names{"r0.mid", "r1.mid", "r2.mid"}));
    for (int song = 0; song < 3; ++song) {
      const std::string name = "/r" + std::to_string(song) + ".mid";
      EXPECT_EQ(NotesOf(out + name), NotesOf(in + "/s" + std::to_string(song) + ".mid"));
    }
  }
  EXPECT_EQ(Differing(inputs, FilesUnder(in)), Names{});
}

// Too little memory, wherever it strikes (starting a thread, converting the largest legal
// song): the shortage is reported, the run fails, nothing temporary is left, every output
// written is complete and no input is touched.
TEST_F(CliFaults, ShortMemoryIsReportedAndLeavesNothingBehind) {
  if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer reserves address space of its own";
  const std::string in = Folder("in");
  WriteFile(in + "/big.mid", LargestSong());
  WriteFile(in + "/a.mid", ChordSong(0, 0, 60));
  WriteFile(in + "/f.csv", ListOf({"1,big.mid,big.mid,T,C", "2,a.mid,a.mid,T,C"}));
  const FileBytes inputs = FilesUnder(in);
  std::set<int> statuses;
  for (rlim_t megabytes = 20; megabytes <= 60; megabytes += 5) {
    SCOPED_TRACE(megabytes);
    const std::string out = Path("out" + std::to_string(megabytes));
    const ProgramRun run =
        Finish(StartLimited(in, {"f.csv", "--out", out}, {{RLIMIT_AS, megabytes << 20}}));
    statuses.insert(run.status);
    if (run.status != 0) {
      EXPECT_TRUE(run.status == 1 || run.status == 3) << run.status << run.err;
      EXPECT_TRUE(run.out.find(Indented("メモリーが不足しています。")) != std::string::npos ||
                  run.err.starts_with("quillmar-cli: cannot go on: "))
          << run.out << run.err;
    }
    for (const std::string& name : Entries(out)) {
      EXPECT_EQ(NotesOf(out + "/" + name), NotesOf(in + "/" + name)) << name;
    }
    EXPECT_EQ(TemporariesUnder(root_.Path()), Names{});
    EXPECT_EQ(Entries(temp_), Names{}) << "the work folder is removed";
  }
  EXPECT_TRUE(statuses.contains(3)) << "a row ran short and the next row went on";
  EXPECT_EQ(Differing(inputs, FilesUnder(in)), Names{});
}

}  // namespace
}  // namespace quillmar
