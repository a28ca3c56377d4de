#include "lists/settings_list.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>

#include "lists/list_error.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "report/report.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingSink;
using testing::TempFolder;
using Rows = std::vector<std::vector<std::string>>;

constexpr char kDataError[] = "リストファイルのデータにエラーがあります。";
constexpr char kTooManyRows[] = "リストの件数が多すぎます。";
constexpr char kOpenFailed[] =
    "リストファイルが開けません。ドラッグ＆ドロップの操作はコピーではなく、ショートカットに対して"
    "行ってください。";

SettingsList LoadBytes(RecordingSink& sink, std::string_view bytes, int column_count,
                       std::size_t cell_limit = kListCellByteLimit) {
  const TempFolder folder;
  return SettingsList::Load(sink.Reports(), folder.Write("list.csv", bytes), column_count, ',',
                            cell_limit);
}

// The report of a list whose rows from `row` on are not read.
std::vector<std::string> RowsDropped(const char* message, int row) {
  return {std::string(kReportIndent) + message,
          std::string(kReportIndent) + "   問題のある指定  list.csv の " + std::to_string(row) +
              " 行目: ここから後は読み込んでいません"};
}

// The text in UTF-16 with a byte-order mark.
std::string Utf16(std::u16string_view text, std::endian order) {
  std::string bytes;
  for (const char16_t unit : u"\uFEFF" + std::u16string(text)) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += order == std::endian::little ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

Rows RowsOf(const SettingsList& list) {
  Rows rows(static_cast<std::size_t>(list.RowCount()));
  for (int r = 0; r < list.RowCount(); ++r) {
    for (int c = 0; c < list.ColumnCount(); ++c) rows[r].push_back(list.Cell(r, c));
  }
  return rows;
}

// `count` lines "i,x" ended by CR LF.
std::string NumberedLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += std::to_string(i) + ",x\r\n";
  return lines;
}

TEST(SettingsList, EachRowTakesExactlyTheColumnCountOfCells) {
  RecordingSink sink;
  EXPECT_EQ(RowsOf(LoadBytes(sink, "a,b,c\r\nd,e,f\ng,h,i\r\n", 3)),
            (Rows{{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}}));
  // The LF of CR LF ends an empty last cell.
  EXPECT_EQ(RowsOf(LoadBytes(sink, "a,b\r\nc,d,e\r\n", 3)),
            (Rows{{"a", "b", ""}, {"c", "d", "e"}}));
  // Extra cells carry into the next row.
  EXPECT_EQ(RowsOf(LoadBytes(sink, "a,b,c,d\r\ne,f\r\n", 3)),
            (Rows{{"a", "b", "c"}, {"d", "", "e"}, {"f", "", ""}}));
  // An empty line is a row of two empty cells that takes the rest from the next line.
  EXPECT_EQ(RowsOf(LoadBytes(sink, "h,h,h,h\r\n\r\na,b,c,d\r\n", 4)),
            (Rows{{"h", "h", "h", "h"}, {"", "", "a", "b"}, {"c", "d", "", ""}}));
  // At most 16 columns.
  const SettingsList wide = LoadBytes(sink, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17\n", 20);
  EXPECT_EQ(wide.ColumnCount(), 16);
  EXPECT_EQ(wide.Cell(1, 0), "17");
  EXPECT_EQ(sink.CountReported(kDataError), 0);
}

TEST(SettingsList, CellsMissingAtTheEndAreEmptyButACutCellIsReported) {
  RecordingSink sink;
  EXPECT_EQ(RowsOf(LoadBytes(sink, "h,h,h\r\nx,", 3)), (Rows{{"h", "h", "h"}, {"x", "", ""}}));
  EXPECT_EQ(RowsOf(LoadBytes(sink, "a,b,c\r\n\r\n", 3)), (Rows{{"a", "b", "c"}, {"", "", ""}}));
  EXPECT_EQ(sink.CountReported(kDataError), 0);
  EXPECT_EQ(RowsOf(LoadBytes(sink, "h,h,h\r\nx,y", 3)), (Rows{{"h", "h", "h"}, {"x", "y", ""}}));
  EXPECT_EQ(sink.CountReported(kDataError), 1);
}

TEST(SettingsList, KeepsAtMostAThousandRows) {
  RecordingSink sink;
  EXPECT_EQ(LoadBytes(sink, NumberedLines(999), 2).RowCount(), 999);
  EXPECT_TRUE(sink.Lines().empty());
  const SettingsList full = LoadBytes(sink, NumberedLines(1000), 2);
  EXPECT_EQ(full.RowCount(), 1000);
  EXPECT_FALSE(full.Cut());
  EXPECT_EQ(sink.Lines(), std::vector<std::string>{std::string(kReportIndent) + kTooManyRows})
      << "nothing lost, no row named";
  sink.Clear();
  const SettingsList list = LoadBytes(sink, NumberedLines(1500), 2);
  EXPECT_EQ(list.RowCount(), 1000);
  EXPECT_TRUE(list.Cut());
  EXPECT_EQ(list.Cell(999, 0), "999");
  EXPECT_EQ(list.Cell(1000, 0), "");
  EXPECT_EQ(sink.Lines(), RowsDropped(kTooManyRows, 1001));
}

TEST(SettingsList, ReadsWhatTheTableHoldsAndCutsTheRowWhereTheBytesEnd) {
  RecordingSink sink;
  std::string bytes = "n,in,out,title,copyright\r\n";  // 998 rows, 82 KB
  for (int i = 1; i < 998; ++i) {
    bytes += std::to_string(i) + ",/home/someone/music/a long folder name/songs of 2024/song" +
             std::to_string(i) + ".mid,-,-,-\r\n";
  }
  const SettingsList whole = LoadBytes(sink, bytes, 5, CellLimitOf(ListKind::FileList));
  EXPECT_EQ(whole.Data(), bytes);
  EXPECT_EQ(whole.RowCount(), 998);
  EXPECT_FALSE(whole.Cut());
  EXPECT_TRUE(sink.Lines().empty());
  const SettingsList cut = LoadBytes(sink, "n,in\r\n1," + std::string(kListFileByteLimit, 'p'), 2,
                                     CellLimitOf(ListKind::FileList));
  EXPECT_EQ(RowsOf(cut), (Rows{{"n", "in"}}));
  EXPECT_TRUE(cut.Cut());
  EXPECT_EQ(sink.Lines(), RowsDropped(kDataError, 2));
}

TEST(SettingsList, TwoBackslashesAreACommaOutsideDoubleByteCharacters) {
  RecordingSink sink;
  const std::string hyo = Sjis("表"), so = Sjis("ソ"), no = Sjis("能");  // trail byte 0x5C
  const SettingsList list =
      LoadBytes(sink, "a\\\\b," + hyo + "\\\\" + so + "," + no + "\\," + so + "\\\\\\\r\n", 4);
  EXPECT_EQ(RowsOf(list), (Rows{{"a,b", Sjis("表,ソ"), no + "\\", Sjis("ソ,\\")}}));
  EXPECT_EQ(list.ColumnWidth(0), 4);  // measured before unescaping
  EXPECT_EQ(list.ColumnWidth(1), 6);
}

TEST(SettingsList, ShiftJisHeaderIsStoredAndMeasured) {
  RecordingSink sink;
  const std::string header = Sjis("番号,入力ファイル名,出力ファイル名,タイトル,著作権情報");
  const SettingsList list = LoadBytes(sink, header + "\r\n1,a.mid,b.mid,t,c\r\n", 5);
  EXPECT_EQ(list.Cell(0, 1), Sjis("入力ファイル名"));
  EXPECT_EQ(list.Cell(0, 4), Sjis("著作権情報"));
  EXPECT_EQ(list.Cell(1, 2), "b.mid");
  EXPECT_EQ(list.ColumnWidth(0), 4);
  EXPECT_EQ(list.ColumnWidth(1), 14);
}

TEST(SettingsList, LongCellsKeepTheirFirst127BytesWithoutHalfCharacters) {
  RecordingSink sink;
  std::string hyo100;
  for (int i = 0; i < 100; ++i) hyo100 += Sjis("表");
  SettingsList list =
      LoadBytes(sink, std::string(200, 'x') + "," + hyo100 + ",x" + hyo100 + "\n", 3);
  EXPECT_EQ(list.Cell(0, 0), std::string(127, 'x'));
  EXPECT_EQ(list.Cell(0, 1), hyo100.substr(0, 126));
  EXPECT_EQ(list.Cell(0, 2), "x" + hyo100.substr(0, 126));
  EXPECT_EQ(list.ColumnWidth(1), 126);
  ASSERT_EQ(sink.CountReported(kDataError), 3);
  EXPECT_EQ(sink.Lines()[1], std::string(kReportIndent) +
                                 "   問題のある指定  list.csv の 1 行目: 長すぎるセル「" +
                                 std::string(127, 'x') + "」");
  list.SetCell(0, 0, "out.mid");
  list.SetCell(1, 0, "ignored");
  EXPECT_EQ(RowsOf(list)[0][0], "out.mid");
  EXPECT_EQ(list.RowCount(), 1);
}

TEST(SettingsList, ANameAloneOpensInTheCurrentFolder) {
  RecordingSink sink;
  const TempFolder folder;
  folder.Write("vol.csv", "ch,vol,vel,pan,gate\r\n");
  folder.Write("表.csv", "a,b\r\n");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  const std::optional<std::string> here = CurrentFolder();
  const SettingsList volume = SettingsList::Load(sink.Reports(), "vol.csv", 5);
  const SettingsList hyo = SettingsList::Load(sink.Reports(), Sjis("表.csv"), 2);
  std::filesystem::current_path(previous);
  EXPECT_EQ(volume.Path(), here.value_or("") + "/vol.csv");
  EXPECT_EQ(volume.Name(), "vol.csv");
  EXPECT_EQ(volume.Cell(0, 4), "gate");
  EXPECT_EQ(hyo.Name(), Sjis("表.csv"));
  EXPECT_EQ(hyo.Cell(0, 1), "b");
  EXPECT_TRUE(sink.Lines().empty());
}

TEST(SettingsList, UnopenableFilesGiveAnEmptyTable) {
  RecordingSink sink;
  const TempFolder folder;
  const SettingsList missing = SettingsList::Load(sink.Reports(), folder / "missing.csv", 5);
  EXPECT_EQ(missing.Name(), "missing.csv");
  EXPECT_EQ(missing.Path(), folder / "missing.csv");
  EXPECT_EQ(missing.RowCount(), 0);
  EXPECT_EQ(missing.Cell(0, 0), "");
  EXPECT_EQ(SettingsList::Load(sink.Reports(), folder.Path(), 5).RowCount(), 0);
  EXPECT_EQ(sink.CountReported(kOpenFailed), 2);
}

TEST(ListKind, FirstLetterSelectsTheKindAndItsColumns) {
  EXPECT_EQ(ListKindOfFileName("file_list_temp.csv"), ListKind::FileList);
  EXPECT_EQ(ListKindOfFileName("Vol.csv"), ListKind::Volume);
  EXPECT_EQ(ListKindOfFileName("order.csv"), ListKind::Order);
  EXPECT_EQ(ListKindOfFileName("x.csv"), std::nullopt);
  EXPECT_EQ(ListKindOfFileName(""), std::nullopt);
  const int columns[] = {5, 5, 7, 4, 4, 2};
  const char letters[] = "fvtdeo";
  for (int kind = 0; kind < 6; ++kind) {
    EXPECT_EQ(ColumnCountOf(static_cast<ListKind>(kind)), columns[kind]);
    EXPECT_EQ(FileLetterOf(static_cast<ListKind>(kind)), letters[kind]);
  }
}

TEST(ListError, OtherCodesGiveTheGeneralText) {
  RecordingSink sink;
  ListError(sink.Reports(), kListExtraSpace);
  ListError(sink.Reports(), 0x1E000005);
  EXPECT_EQ(sink.Lines(), (std::vector<std::string>{
                              "            リストファイルに無駄なスペースが含まれています。",
                              "            エラーがおきました。"}));
}

// Lists written in UTF-8 (by any Linux editor) read like the same list in Shift_JIS; a
// Shift_JIS or ASCII list reads as it stands.
TEST(SettingsList, Utf8ListsAreReadAsShiftJis) {
  const std::string utf8 = "番号,入力\r\n1,曲／表ソ.mid\r\n";
  const std::u16string utf16 = u"番号,入力\r\n1,曲／表ソ.mid\r\n";
  const Rows japanese = {{Sjis("番号"), Sjis("入力")}, {"1", Sjis("曲／表ソ.mid")}};
  struct Case {
    const char* what;
    std::string bytes;
    Rows rows;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"UTF-8", utf8, japanese, {}},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, japanese, {}},
      {"Shift_JIS", Sjis(utf8), japanese, {}},
      {"ASCII", "n,in\r\n1,a.mid\r\n", {{"n", "in"}, {"1", "a.mid"}}, {}},
      {"UTF-16 LE", Utf16(utf16, std::endian::little), japanese, {}},
      {"UTF-16 BE", Utf16(utf16, std::endian::big), japanese, {}},
      {"UTF-16 with a lone surrogate",
       Utf16(u"n,in\r\n1,a\r\n2,\xD800\r\n", std::endian::little),
       {{"n", "in"}, {"1", "a"}},
       RowsDropped(kDataError, 3)},
      {"a character Shift_JIS lacks",
       "n,in\r\n1,\xF0\x9F\x8E\xB5.mid\r\n2,曲\r\n",
       {{"n", "in"}, {"1", ""}, {"2", Sjis("曲")}},
       {std::string(kReportIndent) + kDataError,
        std::string(kReportIndent) + "   問題のある指定  list.csv の 2 行目: ?.mid"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingSink sink;
    EXPECT_EQ(RowsOf(LoadBytes(sink, c.bytes, 2)), c.rows);
    EXPECT_EQ(sink.Lines(), c.lines);
  }
}

}  // namespace
}  // namespace quillmar

namespace quillmar {
namespace {

TEST(SettingsList, FileListPathsAreNeverCut) {
  testing::RecordingSink sink;
  testing::TempFolder folder;
  const std::string path(300, 'p');
  const std::string list_path = folder.Write("f.csv", "a,b,c,d,e\r\n1," + path + ",x,-,-\r\n");
  const SettingsList cut = SettingsList::Load(sink.Reports(), list_path, 5);
  EXPECT_EQ(cut.Cell(1, 1).size(), kListCellByteLimit);
  const SettingsList whole =
      SettingsList::Load(sink.Reports(), list_path, 5, ',', CellLimitOf(ListKind::FileList));
  EXPECT_EQ(whole.Cell(1, 1), path);
  EXPECT_EQ(CellLimitOf(ListKind::Volume), kListCellByteLimit);
}

}  // namespace
}  // namespace quillmar
