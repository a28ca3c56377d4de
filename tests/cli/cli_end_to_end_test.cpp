// quillmar-cli end to end: conversions, refusals, usage errors and what is left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "cli/cli_fixture.h"
#include "cli/cli_options.h"

namespace quillmar {
namespace {

using namespace cli_testing;
using CliEndToEnd = CliFixture;

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

// --timeline writes NAME.timeline.csv beside every output: its highest count is the row's
// simultaneous-notes figure, and it agrees with the notes of the file counted here.
TEST_F(CliEndToEnd, TimelinesBesideEveryOutputMatchTheFigures) {
  const std::string input = Examples("input");
  const std::string format0 = Path("format0");
  const std::string format1 = Path("format1");
  const ProgramRun run = Run(input, {"f_examples.csv", "--formats", "0,1", "--out0", format0,
                                     "--out1", format1, "--timeline", "--wav-limit", "2"});
  EXPECT_EQ(run.status, 0) << run.err;
  const Names lines = Lines(run.out);
  EXPECT_EQ(lines, ExampleResultLines(input + "/f_examples.csv")) << "the result list is unchanged";
  for (const ExampleFile& file : kExamples) {
    SCOPED_TRACE(file.output);
    const std::string stem = file.output.substr(0, file.output.size() - 4);
    const std::string csv = ReadFile(format0 + "/" + stem + ".timeline.csv");
    EXPECT_EQ(ReadFile(format1 + "/" + stem + ".timeline.csv"), csv);
    // Beside it the song as a handset of two notes plays it, the same in both folders.
    const std::string wav = ReadFile(format0 + "/" + stem + ".wav");
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(ReadFile(format1 + "/" + stem + ".wav").size(), wav.size());
    const Names rows = Lines(csv);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], "tick,seconds,notes");
    std::map<Ticks, int> changes;
    double last_seconds = -1;
    for (std::size_t i = 1; i < rows.size(); ++i) {
      long long tick = 0;
      double seconds = 0;
      int notes = 0;
      ASSERT_EQ(std::sscanf(rows[i].c_str(), "%lld,%lf,%d", &tick, &seconds, &notes), 3) << rows[i];
      EXPECT_TRUE(changes.empty() || tick > changes.rbegin()->first) << rows[i];
      EXPECT_GT(seconds, last_seconds) << rows[i];
      last_seconds = seconds;
      changes[tick] = notes;
    }
    EXPECT_EQ(changes.begin()->first, 0);
    EXPECT_EQ(changes.rbegin()->second, 0);
    int peak = 0;
    for (const auto& [tick, notes] : changes) peak = std::max(peak, notes);
    const auto row = std::find(lines.begin(), lines.end(), file.input);
    ASSERT_NE(row, lines.end());
    const std::string figure = Indented("同時発音数 ");
    const auto count = std::find_if(
        row, lines.end(), [&](const std::string& line) { return line.starts_with(figure); });
    ASSERT_NE(count, lines.end());
    EXPECT_EQ(*count, figure + std::to_string(peak));
    // Independently: the notes sounding at each listed tick, from the written file.
    const std::vector<Note> notes = NotesOf(format0 + "/" + file.output);
    for (const auto& [tick, expected] : changes) {
      const auto sounding = std::count_if(notes.begin(), notes.end(), [tick = tick](const Note& n) {
        return std::get<0>(n) <= tick && tick < std::get<0>(n) + std::get<3>(n);
      });
      EXPECT_EQ(sounding, expected) << "tick " << tick;
    }
  }
  // A timeline that would replace the file list is asked about like any output.
  const std::string folder = Folder("own");
  WriteFile(folder + "/a.mid", ChordSong(0, 0, 60));
  WriteFile(folder + "/f_t.timeline.csv", std::string(kHeader) + "\r\n1,a.mid,f_t.mid,T,C\r\n");
  EXPECT_EQ(Run(folder, {"f_t.timeline.csv", "--timeline"}).status, 1);
  EXPECT_EQ(Entries(folder), (Names{"a.mid", "f_t.timeline.csv"}));
  EXPECT_EQ(Run(folder, {"f_t.timeline.csv"}).status, 0);
}

// The example edit and order lists in a third slot: set-up and loop messages, a tempo, the
// drums and bass reshaped and renamed, bank, program and volume first in their tick.
TEST_F(CliEndToEnd, ExampleEditAndOrderListsApplyInTheirSlot) {
  const std::string input = Examples("input");
  const std::string plain = Path("plain"), edited = Path("edited");
  const ProgramRun run = Run(input, {"f_examples.csv", "--formats", "1", "--out1", plain, "--slot",
                                     "3", "e_examples.csv", "o_examples.csv", "--out1", edited});
  EXPECT_EQ(run.status, 0) << run.err;
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiFileLoader loader(context, MidiSource::Bytes(ReadFile(edited + "/band_q.mid")));
  ASSERT_TRUE(loader.Loaded());
  const MidiF1Data& song = *loader.Song();
  std::vector<std::string> piano_start;
  for (int i = 0; i < 5; ++i) {
    const MusicEvent& event = song.Track(1).Event(i);
    piano_start.push_back(std::to_string(static_cast<int>(event.kind)) + ":" +
                          std::to_string(event.type) + ":" + std::to_string(event.value));
  }
  // Bank select, the two programs and the volume come first; then master volume and GM on.
  EXPECT_EQ(piano_start, (Names{"176:0:0", "192:0:0", "192:0:0", "176:7:100", "240:1:100"}));
  EXPECT_EQ(song.Track(2).GetMetaText(MetaType::SequenceName), "BASS");
  EXPECT_EQ(song.FindTempo(), 500000);
  // The bass an octave up, the hi-hat 120 bpm x 0.32 ticks long.
  const std::vector<Note> before = NotesOf(plain + "/band_q.mid");
  const std::vector<Note> after = NotesOf(edited + "/band_q.mid");
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    const auto& [time, channel, note, gate] = before[i];
    const bool hi_hat = channel == 9 && note == 42;
    EXPECT_EQ(after[i], Note(time, channel, note + (channel == 1 ? 12 : 0), hi_hat ? 38 : gate))
        << i;
  }
}

// Every message of an edit- or order-list row is followed by the row's place; --explain adds
// what each row did, in counts that the written files bear out.
TEST_F(CliEndToEnd, RowsAreNamedAfterTheirMessagesAndExplainedOnRequest) {
  const std::string input = Examples("input");
  WriteFile(input + "/e_rows.csv",
            "c,t,ch,p\r\nDel,Note=42,10,-\r\nConv,Velocity=10,-,-\r\nFoo,x,-,-\r\n"
            "Del,Track,-,Chanel=2\r\n");
  WriteFile(input + "/o_rows.csv", "n,e\r\n1,Bogus\r\n");
  const std::string plain = Path("plain"), edited = Path("edited");
  ASSERT_EQ(Run(input, {"band.mid", "--formats", "1", "--out", plain}).status, 0);
  const Names rows = {
      Indented("e_rows.csv 2行目 Del,Note=42,10,- → 音符の削除 32"),
      Indented("e_rows.csv 3行目 Conv,Velocity=10,-,- → "
               "当てはまるものがなく、何も変わりませんでした。"),
      Indented("編集リストに誤りがあります。"),
      Indented("e_rows.csv 4行目: Foo,x,-,-"),
      Indented("e_rows.csv 4行目 Foo,x,-,- → 当てはまるものがなく、何も変わりませんでした。"),
      Indented("e_rows.csv 5行目 Del,Track,-,Chanel=2 → "
               "音符の削除 16、イベントの削除 2、トラックの削除 1"),
      Indented("編集リストか順序リストに誤りがあります。"),
      Indented("   問題のある指定  Bogus"),
      Indented("o_rows.csv 2行目: 1,Bogus"),
      Indented("o_rows.csv 2行目 1,Bogus → 当てはまるものがなく、何も変わりませんでした。"),
  };
  for (const bool explain : {false, true}) {
    Args arguments = {"band.mid", "e_rows.csv", "o_rows.csv", "--formats", "1", "--out", edited};
    if (explain) arguments.push_back("--explain");
    const ProgramRun run = Run(input, arguments);
    EXPECT_EQ(run.status, 4) << run.err;
    Names expected;
    for (const std::string& line : rows) {
      if (explain || line.find("→") == std::string::npos) expected.push_back(line);
    }
    const Names lines = Lines(run.out);
    const auto first = std::find(lines.begin(), lines.end(), expected.front());
    ASSERT_NE(first, lines.end()) << run.out;
    EXPECT_EQ(Names(first, first + static_cast<std::ptrdiff_t>(expected.size())), expected);
  }
  // The written song bears the counts out: 32 hi-hats and the bass's 16 notes fewer.
  EXPECT_EQ(NotesOf(plain + "/band.mid").size() - NotesOf(edited + "/band.mid").size(), 48u);
}

// Save writes a snapshot of the song as it stands at its row into a folder inside the
// slot's folder of each checked format; the rows after it go on editing.
TEST_F(CliEndToEnd, SaveSnapshotsLandInsideTheChosenFolders) {
  const std::string folder = Folder("in");
  WriteFile(folder + "/a.mid", ChordSong(1, 0, 60));
  WriteFile(folder + "/e_steps.csv",
            "c,t,ch,p\r\nSave,File=step1,-,-\r\nDel,Note=64,-,-\r\nSave,File=../up,-,-\r\n");
  const std::string out = Path("out");
  const ProgramRun run = Run(folder, {"a.mid", "e_steps.csv", "--formats", "0", "--out0", out});
  EXPECT_EQ(run.status, 4) << "a row of the edit list is wrong";
  EXPECT_TRUE(Contains(run.out, Indented("編集リストに誤りがあります。"))) << run.out;
  EXPECT_EQ(Lines(run.out).back(), Indented("誤りを報告したリスト: e_steps.csv (output 1)"));
  EXPECT_EQ(Entries(out), (Names{"a.mid", "step1"}));
  EXPECT_EQ(HeaderFormat(out + "/step1/a.mid"), 0);
  EXPECT_EQ(NotesOf(out + "/step1/a.mid").size(), 3u);
  EXPECT_EQ(NotesOf(out + "/a.mid").size(), 2u) << "note 64 deleted after the snapshot";
  EXPECT_EQ(Entries(root_.Path()), (Names{"in", "out", "tmp"}));
}

// A file list saved as UTF-8 by a Linux editor names the same files as in Shift_JIS.
TEST_F(CliEndToEnd, Utf8FileListNamesItsFilesRightly) {
  const std::string folder = Folder("曲");
  WriteFile(folder + "/ソング.mid", ChordSong(0, 0, 60));
  WriteFile(folder + "/f_utf8.csv", std::string(kHeader) + "\r\n1,ソング.mid,表ソ.mid,題名,-\r\n");
  const std::string out = Path("out");
  const ProgramRun run = Run(folder, {"f_utf8.csv", "--out", out});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Entries(out), Names{"表ソ.mid"});
  EXPECT_EQ(FirstTrackTexts(out + "/表ソ.mid", MetaType::SequenceName), Names{"題名"});
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
    EXPECT_EQ(Lines(run.out), Joined({{song, b, song, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2),
                                      {b, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2)}));
    EXPECT_EQ(run.err, kDone);
    EXPECT_EQ(Entries(folder), (Names{"b.mid", "ソング.mid"})) << "the list is kept elsewhere";
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
    EXPECT_EQ(Lines(run.out), Joined({{c1, c2, c1, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2),
                                      {c2, Indented(kNoTitle), Indented(kNoCopyright)},
                                      CountLines(2, 2)}));
    EXPECT_EQ(Entries(out2), (Names{"c1.mid", "c2.mid"}));
    EXPECT_EQ(NotesOf(out2 + "/c1.mid"), NotesOf(c1));
    EXPECT_EQ(NotesOf(out2 + "/c2.mid"), NotesOf(c2));
    EXPECT_EQ(Entries(folder), (Names{"c1.mid", "c2.mid", "notes.txt"}));
  }
}

TEST_F(CliEndToEnd, RefusedRunsExitWithOneAndConvertNothing) {
  const std::string out = Path("out");
  {
    SCOPED_TRACE("no file list");
    const ProgramRun run = Run(Folder("empty"), {".", "--out", out});
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
      {{"--out", out, "--yes"}, "no PATH given"},
      {{"--out", out, "f_examples.csv", "e_lsit.csv"}, "no such file or folder: e_lsit.csv"},
      {{"--out", out, "--formats", "0,1", "f_examples.csv", "--slot", "2", "--formats", "0"},
       "--formats is one setting for all slots; '0' differs from '0,1'"},
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
  EXPECT_EQ(version.out, "quillmar-cli " QUILLMAR_PROJECT_VERSION "\n");
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
  const ProgramRun run =
      Run(folder, {"f.csv", "--formats", "0,1", "--out0", out, "--out1", out + "1"});
  EXPECT_EQ(run.status, 3) << "some rows wrote nothing";
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
  // Output folders that do not exist are made, at any depth.
  const std::string out = Path("out");
  const ProgramRun run = Run(current, {list, "--formats", "same,0,1", "--out-same", out + "/s",
                                       "--out0", out + "/deep/0", "--out1", out + "/1"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Entries(out + "/deep/0"), (Names{"a.mid", "last.mid"}));
  EXPECT_EQ(Entries(current), Names{});
  EXPECT_EQ(Entries(temp_), Names{});
  EXPECT_EQ(Entries(inputs), (Names{"a.mid", "b.mid"}));

  // A work folder of one's own gets a private folder of the run inside it, removed at the
  // end, so its own files are never touched: here one is named like an output.
  const std::string work = Folder("work");
  WriteFile(work + "/a.mid", "mine");
  const ProgramRun kept = Run(current, {list, "--formats", "1", "--out", out, "--work", work});
  EXPECT_EQ(kept.status, 0);
  EXPECT_EQ(Entries(work), Names{"a.mid"});
  EXPECT_EQ(ReadFile(work + "/a.mid"), "mine");
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

  // Three output names over 999 rows: one question for the files written more than once.
  const ProgramRun run = Run(Folder("current"), {"--formats", "0", list_path, "--out0", slot1,
                                                 "--slot", "2", volume_path, "--yes"});
  EXPECT_EQ(run.status, 4) << "every output written, but the file list gave its message";
  EXPECT_EQ(FirstLine(run.err), kWrittenTwiceQuestion);
  EXPECT_EQ(run.err.substr(run.err.size() - std::strlen(kDone)), kDone);
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
