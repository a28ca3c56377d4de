#include "pipeline/conversion_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "audio/synthesizer.h"
#include "lists/whole_file.h"
#include "model/midi_file_loader.h"
#include "model/model_builders.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

// A format-1 song: a conductor track with the given meta events, a chord of three notes on
// channel 0 and drums 36, 38, 42 on channel 9.
std::string BandFile(std::string conductor_body = "") {
  conductor_body += Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00});
  const std::string chord =
      Chunk(Bytes({0x00, 0x90, 60, 90, 0x00, 0x90, 64, 90, 0x00, 0x90, 67,   90,  0x60, 0x80, 60, 0,
                   0x00, 0x80, 64, 0,  0x00, 0x80, 67, 0,  0x00, 0xFF, 0x2F, 0x00}));
  const std::string drums =
      Chunk(Bytes({0x00, 0x99, 36, 90, 0x30, 0x89, 36, 0, 0x00, 0x99, 38,   90,  0x30, 0x89, 38, 0,
                   0x00, 0x99, 42, 90, 0x30, 0x89, 42, 0, 0x00, 0xFF, 0x2F, 0x00}));
  return Smf(1, 96, {Chunk(conductor_body), chord, drums});
}

std::string NameEvent(std::string_view name) {
  return Bytes({0x00, 0xFF, 0x03, static_cast<int>(name.size())}) + std::string(name);
}

class ConversionDriverTest : public ::testing::Test {
 protected:
  ConversionDriverTest() {
    slot_.folders[OutputFormat::SameAsOriginal] = Sjis(same_.Path());
    slot_.folders[OutputFormat::Format0] = Sjis(format0_.Path());
    slot_.folders[OutputFormat::Format1] = Sjis(format1_.Path());
  }

  void Convert(const std::string& input, std::string output, std::string_view title = "-",
               std::string_view copyright = "-") {
    ConversionDriver driver(context_, notices_, slot_, formats_, Sjis(work_.Path()));
    row_ = driver.Convert(Sjis(input), output, Sjis(title), Sjis(copyright));
    output_name_ = output;
  }

  // The first track of a written file, read back.
  std::vector<std::string> MetaTexts(const std::string& file, std::int32_t type) {
    MidiFileLoader loader(context_, MidiSource::Bytes(file));
    std::vector<std::string> texts;
    for (const MusicEvent& event : loader.Song()->Track(0).Events()) {
      if (event.IsMeta(type)) texts.push_back(SjisToUtf8(event.data));
    }
    return texts;
  }

  RecordingSink sink_;
  ModelContext context_{sink_.Reports()};
  EditNotices notices_;
  TempFolder input_, work_, same_, format0_, format1_;
  OutputSlot slot_;
  FormatChoices formats_{true, true, true};
  std::string output_name_;
  ConversionDriver::RowResult row_;
};

TEST_F(ConversionDriverTest, WritesBothFormatsAndReportsTheCounts) {
  Convert(input_.Write("band.mid", BandFile()), "out.mid");
  const auto lines = sink_.Lines();
  EXPECT_EQ(sink_.CountReported("ボイス数 6"), 1) << "three voices of chord, three drum notes";
  EXPECT_EQ(sink_.CountReported("同時発音数 4"), 1);
  EXPECT_EQ(sink_.CountReported("ソングタイトルが設定されていませんでした。"), 1);
  EXPECT_EQ(sink_.CountReported("著作権情報が設定されていませんでした。"), 1);
  EXPECT_EQ(format1_.Read("out.mid").substr(8, 2), std::string("\0\1", 2));
  EXPECT_EQ(format0_.Read("out.mid").substr(8, 4), std::string("\0\0\0\1", 4));
  EXPECT_EQ(same_.Read("out.mid"), format1_.Read("out.mid")) << "the input was format 1";
  EXPECT_EQ(work_.Read("out.mid"), format0_.Read("out.mid")) << "the work file ends as format 0";
}

TEST_F(ConversionDriverTest, SameAsOriginalFollowsAFormatZeroInput) {
  formats_ = {true, false, false};
  const std::string body = Bytes({0x00, 0x90, 60, 90, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
  Convert(input_.Write("zero.mid", Smf(0, 96, {Chunk(body)})), "z.mid");
  EXPECT_EQ(same_.Read("z.mid").substr(8, 2), std::string("\0\0", 2));
  EXPECT_EQ(format0_.Read("z.mid"), "");
  EXPECT_EQ(format1_.Read("z.mid"), "");
}

TEST_F(ConversionDriverTest, OutputCellKeepsOnlyItsName) {
  Convert(input_.Write("band.mid", BandFile()), "sub\\x.mid");
  EXPECT_EQ(output_name_, "x.mid");
  EXPECT_NE(format1_.Read("x.mid"), "");
}

TEST_F(ConversionDriverTest, TitleCellReplacesEveryNameOfTheFirstTrack) {
  Convert(input_.Write("band.mid", BandFile(NameEvent("a") + NameEvent("b"))), "t.mid", "曲名",
          "著作者");
  EXPECT_EQ(MetaTexts(format1_.Read("t.mid"), MetaType::SequenceName),
            (std::vector<std::string>{"曲名", "曲名"}));
  EXPECT_EQ(MetaTexts(format1_.Read("t.mid"), MetaType::Copyright),
            (std::vector<std::string>{"著作者"}));
  EXPECT_EQ(sink_.CountReported("ソングタイトルが設定されていませんでした。"), 0);
}

TEST_F(ConversionDriverTest, KeepDashLeavesTheTitleAndAddsNone) {
  Convert(input_.Write("band.mid", BandFile()), "k.mid", "-", "-");
  EXPECT_TRUE(MetaTexts(format1_.Read("k.mid"), MetaType::SequenceName).empty());
}

TEST_F(ConversionDriverTest, AnInputThatDoesNotLoadWritesNothing) {
  std::string output = "never.mid";
  Convert(input_ / "missing.mid", output);
  EXPECT_EQ(output_name_, "never.mid");
  EXPECT_EQ(sink_.Lines(), (std::vector<std::string>{
                               "            ファイルが開けませんでした。ファイルリストを絶対パスで"
                               "記述してみてください。"}));
  EXPECT_EQ(work_.Read("never.mid"), "");
}

// The input is read once, yet the size limit's message stands twice, for the format check and
// for the song; so it does for the format-1 file read back when it has outgrown the limit.
TEST_F(ConversionDriverTest, TheSizeLimitIsReportedForTheInputAndForTheFileReadBack) {
  std::string at_limit = Smf(0, 96, {Chunk(Bytes({0x00, 0xFF, 0x2F, 0x00}))});
  at_limit.resize(kWholeFileLimit, '\0');
  // Notes in running status get their status byte back when written.
  std::string notes;
  for (int i = 0; i < 37000; ++i) notes += Bytes({0x00, 0x90, 60, 100, 0x10, 60, 0});
  const std::string growing = Smf(0, 96, {Chunk(notes + Bytes({0x00, 0xFF, 0x2F, 0x00}))});
  for (const std::string& input : {at_limit, growing}) {
    sink_.Clear();
    Convert(input_.Write("big.mid", input), "big.mid");
    EXPECT_EQ(sink_.CountReported("データが大きすぎます。"), 2) << input.size();
  }
}

TEST_F(ConversionDriverTest, AFailedCopyIsReportedAndTheRestGoesOn) {
  slot_.folders[OutputFormat::Format1] = Sjis(format1_ / "no-such-folder");
  Convert(input_.Write("band.mid", BandFile()), "c.mid");
  EXPECT_EQ(sink_.CountReported("エラーがおきました。"), 1);
  EXPECT_NE(format0_.Read("c.mid"), "") << "the format-0 output is still written";
}

// A row is complete when it wrote every output, and names the lists that reported an error
// in it; notices of what a list did are no errors.
TEST_F(ConversionDriverTest, RowResultTellsCompletenessAndTheListsInError) {
  struct Case {
    const char* what;
    const char* volume;  // a volume list row, or "" for none
    const char* edit;    // an edit list row, or "" for none
    const char* save;    // the folder Save writes into, relative to format 1's folder
    const char* wav;     // "" for no WAV files; "gm", "not a SoundFont" or "a folder in the way"
    bool complete;
    std::vector<std::string> lists_with_errors;
  };
  const Case cases[] = {
      {"no lists", "", "", "", "", true, {}},
      {"a notice only", "1,+10,-,-,-", "", "", "", true, {}},
      {"a bad volume cell", "1,1 0x,-,-,-", "", "", "", true, {"v.csv"}},
      {"a bad edit row", "", "Bogus,-,-,-", "", "", true, {"e.csv"}},
      {"both", "1,x,-,-,-", "Bogus,-,-,-", "", "", true, {"v.csv", "e.csv"}},
      {"a snapshot that cannot be written", "", "Save,File=snap,-,-", "snap", "", false, {}},
      {"a WAV file beside the output", "", "", "", "gm", true, {}},
      {"a SoundFont that cannot be read", "", "", "", "not a SoundFont", false, {}},
      {"a WAV file that cannot be written", "", "", "", "a folder in the way", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder lists;
    slot_ = OutputSlot{};
    slot_.folders = {Sjis(same_.Path()), Sjis(format0_.Path()), Sjis(format1_.Path())};
    if (*c.save != '\0') format1_.Write(c.save, "a file where the snapshot folder should be");
    formats_.wav_soundfont.reset();
    if (*c.wav != '\0') {
      formats_.wav_soundfont = std::string(c.wav) == "not a SoundFont"
                                   ? lists.Write("bad.sf2", "RIFF")
                                   : std::string(kDefaultSoundFont);
    }
    if (std::string(c.wav) == "a folder in the way") {
      std::filesystem::create_directories(format1_.Path() + "/r.wav");
    }
    for (const auto& [kind, name, row] : {std::tuple{ListKind::Volume, "v.csv", c.volume},
                                          std::tuple{ListKind::Edit, "e.csv", c.edit}}) {
      if (*row == '\0') continue;
      const std::string header = "h" + std::string(ColumnCountOf(kind) - 1, ',') + "\r\n";
      slot_.lists[static_cast<std::size_t>(*SlotListIndex(kind))] = SettingsList::Load(
          sink_.Reports(), Sjis(lists.Write(name, header + row + "\r\n")), ColumnCountOf(kind));
      slot_.enabled[static_cast<std::size_t>(*SlotListIndex(kind))] = true;
    }
    Convert(input_.Write("band.mid", BandFile()), "r.mid");
    EXPECT_EQ(row_.complete, c.complete);
    EXPECT_EQ(row_.lists_with_errors, c.lists_with_errors);
    EXPECT_EQ(std::filesystem::is_regular_file(format1_.Path() + "/r.wav"),
              std::string(c.wav) == "gm");
    std::filesystem::remove_all(format1_.Path() + "/r.wav");
  }
}

TEST_F(ConversionDriverTest, OneSongNameIsKeptInFormatZero) {
  Convert(input_.Write("band.mid", BandFile(NameEvent("only"))), "n.mid", "-");
  MidiFileLoader loader(context_, MidiSource::Bytes(format0_.Read("n.mid")));
  EXPECT_EQ(loader.Song()->CountMeta(MetaType::SequenceName), 1);
}

TEST_F(ConversionDriverTest, ASongOfEmptyTracksIsWrittenInBothFormats) {
  const std::string empty = Chunk(Bytes({0x00, 0xFF, 0x2F, 0x00}));
  Convert(input_.Write("empty.mid", Smf(1, 96, {empty, empty, empty})), "e.mid");
  EXPECT_EQ(format1_.Read("e.mid"), Smf(1, 96, {empty})) << "the first track stays";
  MidiFileLoader loader(context_, MidiSource::Bytes(format0_.Read("e.mid")));
  ASSERT_TRUE(loader.Loaded());
  EXPECT_EQ(loader.InputFormat(), 0);
  EXPECT_EQ(sink_.CountReported("同時発音数 0"), 1);
}

}  // namespace
}  // namespace quillmar
