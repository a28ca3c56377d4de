// quillmar-cli never loses a user's file: inputs and lists are not written over without the
// question, one file is not written twice without it, hostile names and inputs get their
// message, interrupted runs leave nothing behind, and the exit status tells what happened.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sys/types.h>

#include <thread>

#include "cli/cli_fixture.h"

namespace quillmar {
namespace {

using namespace cli_testing;

constexpr char kUnusable[] = "このファイルは使用できません。";
constexpr char kGeneral[] = "エラーがおきました。";
constexpr char kDetail[] = "   問題のある指定  ";

class CliSafety : public CliFixture {
 protected:
  // A folder holding a.mid (format 0) and b.mid (format 1); gives its path.
  std::string Songs(std::string_view name) const {
    const std::string folder = Folder(name);
    WriteFile(folder + "/a.mid", ChordSong(0, 0, 60));
    WriteFile(folder + "/b.mid", ChordSong(1, 1, 50));
    return folder;
  }
};

// Every path below the folder whose name starts like a temporary file.
Names TemporaryFilesUnder(const std::string& folder) {
  Names found;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (it->path().filename().string().rfind(".quillmar-", 0) == 0) found.push_back(it->path());
  }
  return found;
}

TEST_F(CliSafety, InputsAndListsAreNeverWrittenOverWithoutYes) {
  struct Case {
    const char* what;
    Args arguments;       // run in the folder "in" that Songs made
    const char* written;  // the first file named, relative to "in"; "" when nothing is asked
  };
  const Case cases[] = {
      {"MIDI files given", {"a.mid", "b.mid"}, "a.mid"},
      {"their folder given", {"."}, "a.mid"},
      {"a spelling with ./", {"./b.mid"}, "b.mid"},
      {"a list writing into the input's folder", {"f_back.csv", "--out", "."}, "a.mid"},
      {"an output named like the file list", {"f_self.csv"}, "f_self.csv"},
      {"--out before the paths holds", {"--out", "converted", "a.mid", "b.mid"}, ""},
      {"--out after the paths holds", {"a.mid", "--out", "converted"}, ""},
      {"a list with equal names into another folder", {"f_back.csv", "--out", "o"}, ""},
  };
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    const Case& c = cases[index];
    SCOPED_TRACE(c.what);
    const std::string in = Songs("in" + std::to_string(index));
    WriteFile(in + "/f_back.csv", FileListBytes({"1,a.mid,a.mid,T,C"}));
    WriteFile(in + "/f_self.csv", FileListBytes({"1,a.mid,f_self.csv,T,C"}));
    const std::string a = ReadFile(in + "/a.mid"), b = ReadFile(in + "/b.mid");
    const std::string lists = ReadFile(in + "/f_back.csv") + ReadFile(in + "/f_self.csv");

    const ProgramRun refused = Run(in, c.arguments);
    if (*c.written != '\0') {
      EXPECT_EQ(refused.status, 1);
      EXPECT_EQ(FirstLine(refused.err), kSameNamesQuestion);
      EXPECT_TRUE(Contains(refused.err, "quillmar-cli: the first such file: " + in + "/" +
                                            c.written +
                                            "\n-> Cancel: choose other output "
                                            "folders with --out"))
          << refused.err;
      EXPECT_EQ(Entries(in), (Names{"a.mid", "b.mid", "f_back.csv", "f_self.csv"}))
          << "a refused run leaves nothing beside the songs";
    } else {
      EXPECT_EQ(refused.status, 0) << refused.err;
      EXPECT_EQ(refused.err, kDone);
    }
    EXPECT_EQ(ReadFile(in + "/a.mid"), a);
    EXPECT_EQ(ReadFile(in + "/b.mid"), b);
    EXPECT_EQ(ReadFile(in + "/f_back.csv") + ReadFile(in + "/f_self.csv"), lists);
  }
  // With --yes the question is answered and the input is replaced by its conversion.
  const std::string in = Songs("yes");
  Args arguments = {"a.mid", "--yes"};
  const ProgramRun run = Run(in, arguments);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Contains(run.err, "-> OK (--yes)")) << run.err;
  EXPECT_NE(ReadFile(in + "/a.mid"), ChordSong(0, 0, 60));
}

// The result list is saved after the run: it must not replace a file the run reads or writes.
TEST_F(CliSafety, ResultIsNeverSavedOverAFileOfTheRunWithoutYes) {
  const std::string in = Songs("in");
  WriteFile(in + "/f.csv", FileListBytes({"1,a.mid,x.mid,T,C"}));
  WriteFile(in + "/e.csv", "c,t,ch,p\r\nSave,File=snap,-,-\r\n");
  const std::string out = Path("out");
  for (const std::string& result :
       {in + "/f.csv", in + "/e.csv", in + "/./a.mid", out + "/x.mid", out + "/snap/x.mid"}) {
    SCOPED_TRACE(result);
    const bool exists = fs::exists(result);
    const std::string before = ReadFile(result);
    const ProgramRun refused = Run(in, {"f.csv", "e.csv", "--out", out, "--save-result", result});
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(Contains(refused.out, "同時")) << "no row was converted";
    EXPECT_EQ(FirstLine(refused.err),
              "quillmar-cli: --save-result names a file that this run reads or writes: " + result);
    EXPECT_EQ(fs::exists(result), exists);
    EXPECT_EQ(ReadFile(result), before);
  }
  EXPECT_FALSE(fs::exists(out)) << "nothing was converted, no folder made";
  const ProgramRun yes = Run(in, {"f.csv", "--out", out, "--save-result", in + "/f.csv", "--yes"});
  EXPECT_EQ(yes.status, 0);
  EXPECT_EQ(ReadFile(in + "/f.csv").rfind(in + "/f.csv\r\n", 0), 0u) << "saved as told";
}

TEST_F(CliSafety, OneFileWrittenTwiceNeedsYesAndTheLaterWriteStays) {
  const std::string in = Songs("in");
  WriteFile(in + "/f_two.csv", FileListBytes({"1,a.mid,x.mid,T,C", "2,b.mid,sub\\x.mid,T,C"}));
  struct Case {
    const char* what;
    Args arguments;
  };
  const Case cases[] = {
      {"formats 0 and 1 in one folder", {"a.mid", "--formats", "0,1", "--out", Path("o1")}},
      {"same and 0 in one folder", {"a.mid", "--formats", "same,0", "--out", Path("o2")}},
      {"two rows, one name", {"f_two.csv", "--out", Path("o3")}},
      {"two slots, one folder",
       {"a.mid", "--out", Path("o4"), "--slot", "2", "v.csv", "--out", Path("o4")}},
  };
  WriteFile(in + "/v.csv", "ch,volume,velocity,pan,gate\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ProgramRun refused = Run(in, c.arguments);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(FirstLine(refused.err), kWrittenTwiceQuestion);
    EXPECT_TRUE(Contains(refused.err, "quillmar-cli: the first such file: ")) << refused.err;
  }
  EXPECT_FALSE(fs::exists(Path("o1/a.mid")));
  Args yes = cases[0].arguments;
  yes.push_back("--yes");
  EXPECT_EQ(Run(in, yes).status, 0);
  EXPECT_EQ(HeaderFormat(Path("o1/a.mid")), 0) << "format 0 is written after format 1";
}

TEST_F(CliSafety, HostileNamesAndInputsGetTheirMessage) {
  const std::string drop = Songs("top/drop");
  WriteFile(drop + "/..\\..\\evil.mid", ChordSong(0, 0, 40));
  const ProgramRun folder_run = Run(Path("top"), {"drop", "--out", Path("out1")});
  EXPECT_EQ(folder_run.status, 0);
  EXPECT_TRUE(Contains(folder_run.out, drop + "/..\\..\\evil.mid\n")) << folder_run.out;
  EXPECT_TRUE(Contains(folder_run.err, kUnusable));
  EXPECT_EQ(Entries(Path("out1")), (Names{"a.mid", "b.mid"}));
  EXPECT_EQ(Entries(Path("top")), Names{"drop"}) << "nothing is written above the folder";

  // A backslash in a name given on the command line is no separator.
  const std::string in = Songs("in");
  fs::create_directories(in + "/back");
  WriteFile(in + "/back/slash.mid", ChordSong(0, 0, 40));
  const ProgramRun backslash = Run(in, {"back\\slash.mid", "--out", Path("out2")});
  EXPECT_EQ(backslash.status, 1) << "no file list";
  EXPECT_TRUE(Contains(backslash.err, kUnusable));
  EXPECT_FALSE(fs::exists(Path("out2/slash.mid")));
  EXPECT_FALSE(fs::exists(in + "/back/file_list_temp.csv"));

  // A FIFO as input is unreadable at once; an output cell with a NUL byte writes nothing.
  ASSERT_EQ(::mkfifo((in + "/pipe.mid").c_str(), 0644), 0);
  WriteFile(in + "/f_bad.csv",
            FileListBytes({"1,pipe.mid,p.mid,T,C", "2,a.mid,x", "3,b.mid,b.mid,T,C"}));
  std::string list = ReadFile(in + "/f_bad.csv");
  list.insert(list.find(",x") + 2, std::string("\0y.mid,T,C", 10));
  WriteFile(in + "/f_bad.csv", list);
  const ProgramRun bad = Run(in, {"f_bad.csv", "--out", Path("out3")});
  EXPECT_EQ(bad.status, 3);
  EXPECT_EQ(Lines(bad.out),
            Joined({{in + "/f_bad.csv", "pipe.mid", Indented(kNotOpened), "a.mid",
                     Indented(kUnusable), Indented(std::string(kDetail) + "x?y.mid"), "b.mid"},
                    CountLines(2, 2)}));
  EXPECT_EQ(Entries(Path("out3")), Names{"b.mid"});
}

TEST_F(CliSafety, ExitStatusTellsWhetherEveryOutputWasWritten) {
  const std::string in = Songs("in");
  fs::create_directories(Path("out/b.mid"));  // a folder where an output should go
  const ProgramRun partly = Run(in, {"a.mid", "b.mid", "--out", Path("out")});
  EXPECT_EQ(partly.status, 3);
  EXPECT_TRUE(Contains(partly.out,
                       Indented(kGeneral) + "\n" + Indented(kDetail + Path("out/b.mid")) + "\n"))
      << partly.out;
  EXPECT_EQ(HeaderFormat(Path("out/a.mid")), 0);

  // A song of empty tracks still gives both formats as valid files.
  const std::string end = Bytes({0x00, 0xFF, 0x2F, 0x00});
  WriteFile(in + "/empty.mid", Smf(1, 480, {Chunk(end), Chunk(end)}));
  const ProgramRun empty =
      Run(in, {"empty.mid", "--formats", "0,1", "--out0", Path("e0"), "--out1", Path("e1")});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(HeaderFormat(Path("e0/empty.mid")), 0);
  EXPECT_EQ(HeaderFormat(Path("e1/empty.mid")), 1);
  EXPECT_EQ(NotesOf(Path("e0/empty.mid")), std::vector<Note>{});

  WriteFile(Path("file"), "x");
  const ProgramRun no_folder = Run(in, {"a.mid", "--out", Path("file/sub")});
  EXPECT_EQ(no_folder.status, 1);
  EXPECT_EQ(Lines(no_folder.out),
            (Names{in + "/a.mid", Indented("出力フォルダを作れませんでした。"),
                   Indented(std::string(kDetail) + Path("file/sub") + " (Not a directory)")}));

  // 4: every output written, but a list or a row of it was wrong; 3 still wins.
  WriteFile(in + "/e_bad.csv", "c,t,ch,p\r\nBogus,-,-,-\r\n");
  WriteFile(in + "/v_bad.csv", "ch,vol,vel,pan,gate\r\n1,9 0,-,-,-\r\n");
  WriteFile(in + "/e_snap.csv", "c,t,ch,p\r\nSave,File=snap,-,-\r\n");
  fs::create_directories(Path("out4"));
  WriteFile(Path("out4/snap"), "a file where the snapshot folder should be");
  struct Case {
    const char* what;
    Args arguments;
    int status;
    const char* last_line;
  };
  WriteFile(in + "/f_gone.csv", FileListBytes({"1,gone.mid,g.mid,T,C", "2,a.mid,a.mid,T,C"}));
  const std::string o = Path("out4");
  const Case cases[] = {
      {"an edit row that is no command",
       {"a.mid", "e_bad.csv", "--out", o},
       4,
       "誤りを報告したリスト: e_bad.csv (output 1)"},
      {"a needless space in a volume cell",
       {"a.mid", "--out", o, "--slot", "2", "v_bad.csv", "--out", o + "/2"},
       4,
       "誤りを報告したリスト: v_bad.csv (output 2)"},
      {"an unreadable input as well",
       {"f_gone.csv", "e_bad.csv", "--out", o},
       3,
       "誤りを報告したリスト: e_bad.csv (output 1)"},
      {"a snapshot that cannot be written", {"a.mid", "e_snap.csv", "--out", o}, 3, "同時発音数 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ProgramRun run = Run(in, c.arguments);
    EXPECT_EQ(run.status, c.status) << run.out;
    EXPECT_EQ(Lines(run.out).back(), Indented(c.last_line));
  }

  const ProgramRun unsaved =
      Run(in, {"a.mid", "--out", Path("out2"), "--save-result", Path("missing/r.txt")});
  EXPECT_EQ(unsaved.status, 1);
  EXPECT_TRUE(Contains(unsaved.err, "quillmar-cli: cannot save the result list to " +
                                        Path("missing/r.txt") + ": No such file or directory"))
      << unsaved.err;
}

// A folder of more MIDI files than a list holds: the first 999 are taken, the message is
// given once, and the run says that it left files out (exit 3).
TEST_F(CliSafety, FolderOfMoreFilesThanAListHoldsSaysSoOnce) {
  const std::string in = Folder("many");
  const std::string song = ChordSong(0, 0, 60);
  for (int file = 0; file < 1003; ++file) WriteFile(in + "/" + std::to_string(file) + ".mid", song);
  const ProgramRun run = Run(in, {".", "--formats", ""});
  EXPECT_EQ(run.status, 3);
  const Names lines = Lines(run.out);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), Indented("リストの件数が多すぎます。")), 1);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line == Indented("同時発音数 2"); }),
            999);
}

// A flood of one message within a row: 100 lines, then one line counting the rest.
TEST_F(CliSafety, RepeatedMessagesAreCountedAfterTheHundredth) {
  const std::string in = Folder("flood");
  std::string notes = Bytes({0x00, 0xB0, 7, 100, 0x00, 0xC0, 0});
  for (int note = 0; note < 20; ++note) notes += Bytes({0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0});
  WriteFile(in + "/song.mid", Smf(0, 480, {Chunk(notes + Bytes({0x00, 0xFF, 0x2F, 0x00}))}));
  std::string tones = "program,name,volume,velocity,octave,bank,substitute\r\n";
  for (int row = 0; row < 10; ++row) tones += "1,Piano,-,-,+20,-,-\r\n";
  WriteFile(in + "/t_flood.csv", tones);
  const ProgramRun run = Run(in, {"song.mid", "t_flood.csv", "--out", Path("out")});
  EXPECT_EQ(run.status, 0);
  const std::string shifted =
      Indented("オクターブのシフトで音域を越えるため、シフトできない音がありました。");
  const Names lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u + 2u + 100u + 1u + 2u) << run.out;  // paths, no title or copyright
  EXPECT_EQ(std::count(lines.begin(), lines.end(), shifted), 100);
  // Each note is folded 6 times by the first row and 11 times by each later one.
  EXPECT_EQ(lines[105], Indented("上と同じメッセージがさらに " +
                                 std::to_string(20 * (6 + 9 * 11) - 100) + " 件ありました。"));
}

// Two runs that take MIDI files of one folder at the same time each convert their own.
TEST_F(CliSafety, RunsDroppingIntoOneFolderAtOnceKeepTheirOwnFiles) {
  const std::string in = Songs("in");
  for (int round = 0; round < 8; ++round) {
    const std::string out_a = Path("a" + std::to_string(round));
    const std::string out_b = Path("b" + std::to_string(round));
    TempFolder capture_b;
    const pid_t first = Start(in, {"a.mid", "--out", out_a});
    const pid_t second =
        StartProgram(QUILLMAR_CLI_PATH, {"b.mid", "--out", out_b}, in, temp_, capture_b.Path());
    EXPECT_EQ(Finish(first).status, 0);
    EXPECT_EQ(FinishProgram(second, capture_b.Path()).status, 0);
    EXPECT_EQ(Entries(out_a), Names{"a.mid"}) << round;
    EXPECT_EQ(Entries(out_b), Names{"b.mid"}) << round;
  }
}

// Reads the program's output from a FIFO until `text` has come, and then no more: a program
// that writes much more than a pipe holds cannot finish before the FIFO is drained.
class OutputFifo {
 public:
  explicit OutputFifo(std::string path) : path_(std::move(path)) {
    ::unlink(path_.c_str());
    EXPECT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  }
  // Opens the FIFO (once the program has opened it for writing) and reads up to `text`.
  void ReadUntil(std::string_view text) {
    fd_ = ::open(path_.c_str(), O_RDONLY);
    ASSERT_GE(fd_, 0);
    char buffer[4096];
    for (ssize_t n; !Contains(read_, text) && (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      read_.append(buffer, static_cast<std::size_t>(n));
    }
  }
  // Reads the rest and leaves it in a plain file of the FIFO's name, for FinishProgram.
  void Drain() {
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      read_.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd_);
    ::unlink(path_.c_str());
    WriteFile(path_, read_);
  }

 private:
  std::string path_;
  int fd_ = -1;
  std::string read_;
};

TEST_F(CliSafety, SignalsStopTheRunAndLeaveNothingBehind) {
  const std::string in = Songs("in");
  // 999 rows whose long input names make far more output than a pipe holds.
  const std::string input = std::string(240, '/').insert(0, ".") + "a.mid";
  std::string list = Sjis(kHeader) + "\r\n";
  for (int row = 1; row <= 999; ++row) {
    list += std::to_string(row) + "," + input + ",r" + std::to_string(row) + ".mid,T,C\r\n";
  }
  WriteFile(in + "/f_long.csv", list);
  struct Case {
    const char* what;
    std::vector<int> signals;
    int status;
  };
  const Case cases[] = {
      {"SIGINT stops after the current row", {SIGINT}, 128 + SIGINT},
      {"SIGHUP too", {SIGHUP}, 128 + SIGHUP},
      {"a second signal ends the run at once", {SIGINT, SIGTERM}, 128 + SIGTERM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string out = Path(std::string("out-") + c.what);
    OutputFifo fifo(capture_.Path() + "/out");
    const pid_t pid = Start(in, {"f_long.csv", "--formats", "same,0,1", "--out-same", out + "/s",
                                 "--out0", out + "/0", "--out1", out + "/1"});
    // Once the first row is converted, the run is under way, and it cannot end before the
    // output is read.
    fifo.ReadUntil("同時");
    for (const int signal : c.signals) ::kill(pid, signal);
    fifo.Drain();
    const ProgramRun run = Finish(pid);
    EXPECT_EQ(run.status, c.status) << run.err;
    const Names lines = Lines(run.out);
    const auto converted = std::count(lines.begin(), lines.end(), input);
    EXPECT_GT(converted, 0);
    EXPECT_LT(converted, 999) << "the run stopped early";
    if (c.signals.size() == 1) {
      EXPECT_TRUE(Contains(run.err, "quillmar-cli: stopped by ")) << run.err;
      EXPECT_EQ(lines.back(), Indented("処理を中止しました（999 行のうち " +
                                       std::to_string(converted) + " 行を変換しました）。"));
    }
    EXPECT_EQ(Entries(temp_), Names{}) << "the work folder is removed";
    EXPECT_EQ(TemporaryFilesUnder(out), Names{});
    EXPECT_EQ(TemporaryFilesUnder(in), Names{});
  }
}

}  // namespace
}  // namespace quillmar
