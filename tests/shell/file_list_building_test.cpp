#include "shell/file_list_building.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/encoding.h"
#include "platform/files.h"
#include "report/report.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingSink;
using testing::TempFolder;
using Lines = std::vector<std::string>;
using Folders = std::array<std::string, 3>;

constexpr char kHeader[] = "番号,入力ファイル名,出力ファイル名,タイトル,著作権情報\r\n";
constexpr char kUnusable[] = "このファイルは使用できません。";
constexpr char kAlreadyListed[] = "すでにリスト内に登録されているMidiファイルです。";
constexpr char kUnknownKind[] = "リストファイルの名前から種別を特定できませんでした。";
constexpr char kNotOpened[] =
    "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。";
constexpr char kListNotOpened[] =
    "リストファイルが開けません。ドラッグ＆ドロップの操作はコピーではなく、ショートカットに対して"
    "行ってください。";
constexpr int kVolume = 0;
constexpr int kDrum = 2;

std::string Indented(std::string_view utf8_text) {
  return std::string(kReportIndent) + std::string(utf8_text);
}

// A drop target in a fresh folder; names and paths in the tests are UTF-8 and become
// Shift_JIS where they enter the system.
class FileListBuilding : public ::testing::Test {
 protected:
  // Makes a subfolder and gives its UTF-8 path.
  std::string Folder(std::string_view name) const {
    std::filesystem::create_directory(folder_ / name);
    return folder_ / name;
  }
  // Writes a file (the bytes do not matter here) and gives its UTF-8 path.
  std::string File(std::string_view name, std::string_view bytes = "MThd") const {
    return folder_.Write(name, bytes);
  }
  void Drop(std::string_view utf8_path) {
    AddDroppedPath(sink_.Reports(), workspace_, Sjis(utf8_path));
  }
  // The loaded file list's input cells, header row included.
  Lines InputCells() const {
    Lines cells;
    const auto& list = workspace_.FileList();
    for (int row = 0; list && row < list->RowCount(); ++row) {
      cells.push_back(SjisToUtf8(list->Cell(row, 1)));
    }
    return cells;
  }
  std::string TempList(std::string_view folder) const {
    return SjisToUtf8(folder_.Read(std::string(folder) + "/file_list_temp.csv"));
  }
  Folders CurrentFolders() const {
    const auto& folders = workspace_.Slot(workspace_.CurrentSlot()).folders.values;
    return {SjisToUtf8(folders[0]), SjisToUtf8(folders[1]), SjisToUtf8(folders[2])};
  }

  TempFolder folder_;
  RecordingSink sink_;
  Workspace workspace_{"/start"};
};

TEST_F(FileListBuilding, MidiFilesOfOneFolderGoIntoItsTempFileListInDropOrder) {
  const std::string dir = Folder("表ソ");
  const std::string c = File("表ソ/c.mid"), a = File("表ソ/ソa.mid"), b = File("表ソ/b.mid");
  Drop(c);
  Drop(a);
  Drop(b);
  EXPECT_EQ(TempList("表ソ"), std::string(kHeader) + "-," + c + ",c.mid,-,-\r\n-," + a +
                                  ",ソa.mid,-,-\r\n-," + b + ",b.mid,-,-\r\n");
  EXPECT_EQ(SjisToUtf8(workspace_.FileList()->Path()), dir + "/file_list_temp.csv");
  EXPECT_EQ(workspace_.FileList()->Name(), "file_list_temp.csv");
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", c, a, b}));
  EXPECT_EQ(sink_.Lines(), (Lines{c, a, b}));
  EXPECT_EQ(CurrentFolders(), (Folders{dir, dir, dir}));
}

TEST_F(FileListBuilding, SameMidiFileAgainIsReportedAndNotAddedTwice) {
  const std::string dir = Folder("表");
  const std::string a = File("表/a.mid");
  Drop(a);
  const std::string before = TempList("表");
  Drop(a);
  EXPECT_EQ(TempList("表"), before);
  EXPECT_EQ(sink_.Lines(), (Lines{a, a, Indented(kAlreadyListed)}));
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", a}));
}

TEST_F(FileListBuilding, MidiFileOfAnotherFolderStartsANewTempFileList) {
  Folder("one");
  const std::string two = Folder("two");
  const std::string a = File("one/a.mid"), b = File("one/b.mid"), c = File("two/c.mid");
  Drop(a);
  Drop(b);
  const std::string first = TempList("one");
  Drop(c);
  EXPECT_EQ(TempList("one"), first);
  EXPECT_EQ(TempList("two"), std::string(kHeader) + "-," + c + ",c.mid,-,-\r\n");
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", c}));
  EXPECT_EQ(CurrentFolders(), (Folders{two, two, two}));
}

TEST_F(FileListBuilding, MidiFileAfterAFileListReplacesItWithATempFileList) {
  Folder("ソ");
  File("ソ/file_list_temp.csv", Sjis(kHeader) + "-,/old.mid,old.mid,-,-\r\n");
  const std::string list = File("ソ/Flist.csv", "h,h,h,h,h\r\n1,x.mid,y.mid,t,c\r\n");
  const std::string a = File("ソ/a.mid");
  Drop(list);
  EXPECT_EQ(InputCells(), (Lines{"h", "x.mid"}));
  Drop(a);
  EXPECT_EQ(TempList("ソ"), std::string(kHeader) + "-," + a + ",a.mid,-,-\r\n");
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", a}));
  EXPECT_EQ(workspace_.Switch(kVolume), false);
}

TEST_F(FileListBuilding, FolderGivesItsListsFirstThenItsMidiFiles) {
  const std::string dir = Folder("表ソ");
  const std::string f = File("表ソ/f.csv", "h,h,h,h,h\r\n1,x.mid,y.mid,t,c\r\n");
  const std::string v = File("表ソ/v.csv", "ch,vol,vel,pan,gate\r\n1,100,-,-,-\r\n");
  const std::string b = File("表ソ/b.mid"), a = File("表ソ/a.MID");
  File("表ソ/readme.txt");
  Folder("表ソ/sub.mid");
  Drop(dir);
  EXPECT_EQ(sink_.Lines(), (Lines{f, v, a, b}));
  // The folder's MIDI files replace its f-list.
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", a, b}));
  EXPECT_TRUE(workspace_.Switch(kVolume));
  EXPECT_EQ(workspace_.Current().lists[kVolume]->Cell(1, 1), "100");
  EXPECT_EQ(CurrentFolders(), (Folders{dir, dir, dir}));
}

TEST_F(FileListBuilding, PathThatNamesNothingGivesNothing) {
  Drop(folder_ / "missing");
  Drop(folder_ / "missing.mid");
  EXPECT_EQ(sink_.Lines(), Lines{});
  EXPECT_FALSE(workspace_.FileList().has_value());
  EXPECT_EQ(CurrentFolders(), Folders{});
}

TEST_F(FileListBuilding, CapitalExtensionsAndNamesAreTakenLikeSmallOnes) {
  const std::string x = File("X.MID");
  const std::string drum = File("DRUMS.CSV", "note,name,vel,sub\r\n36,kick,100,-\r\n");
  Drop(x);
  Drop(drum);
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", x}));
  ASSERT_TRUE(workspace_.Current().lists[kDrum].has_value());
  EXPECT_EQ(workspace_.Current().lists[kDrum]->ColumnCount(), 4);
  EXPECT_EQ(workspace_.Current().lists[kDrum]->Cell(1, 1), "kick");
  EXPECT_TRUE(workspace_.Switch(kDrum));
  EXPECT_FALSE(workspace_.Switch(kVolume));
}

TEST_F(FileListBuilding, ListOfUnknownKindIsReportedAndStillMovesTheFolders) {
  const std::string dir = Folder("表");
  const std::string x = File("表/xlist.csv"), japanese = File("表/表list.csv");
  Drop(x);
  EXPECT_EQ(CurrentFolders(), (Folders{dir, dir, dir}));
  Drop(japanese);
  EXPECT_EQ(sink_.Lines(), (Lines{x, Indented(kUnknownKind), japanese, Indented(kUnknownKind)}));
  EXPECT_FALSE(workspace_.FileList().has_value());
  EXPECT_FALSE(workspace_.Current().HasEnabledList());
  for (int index = 0; index < kSlotListCount; ++index) EXPECT_FALSE(workspace_.Switch(index));
}

TEST_F(FileListBuilding, OtherExtensionsAreRefusedWithAMessageBox) {
  const std::string dir = Folder("ソ");
  const std::string midi4 = File("ソ/song.midi");
  Drop(midi4);
  EXPECT_EQ(sink_.Lines(), Lines{midi4});
  EXPECT_EQ(sink_.Messages(), Lines{kUnusable});
  EXPECT_FALSE(workspace_.FileList().has_value());
  EXPECT_FALSE(std::filesystem::exists(dir + "/file_list_temp.csv"));
  EXPECT_EQ(CurrentFolders(), (Folders{dir, dir, dir}));
}

TEST_F(FileListBuilding, VolumeListGoesToTheShownSlotOnly) {
  const std::string dir = Folder("vols");
  const std::string v = File("vols/Vol.csv", "ch,vol,vel,pan,gate\r\n1,90,-,-,-\r\n");
  workspace_.SelectSlot(2);
  Drop(v);
  EXPECT_TRUE(workspace_.Switch(kVolume));
  EXPECT_EQ(workspace_.Slot(2).lists[kVolume]->Name(), "Vol.csv");
  EXPECT_EQ(CurrentFolders(), (Folders{dir, dir, dir}));
  workspace_.SelectSlot(0);
  EXPECT_FALSE(workspace_.Switch(kVolume));
  EXPECT_EQ(workspace_.Slot(0).folders.values, Folders{});
  EXPECT_FALSE(workspace_.Slot(0).lists[kVolume].has_value());
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(workspace_.Slot(slot).enabled[kVolume], slot == 2) << slot;
  }
}

TEST_F(FileListBuilding, CommasInMidiPathsRoundTripThroughTheTempFileList) {
  Folder("a,b");
  const std::string song = File("a,b/表,ソ.mid");
  Drop(song);
  EXPECT_EQ(TempList("a,b"), std::string(kHeader) + "-," + folder_.Path() +
                                 "/a\\\\b/表\\\\ソ.mid,表\\\\ソ.mid,-,-\r\n");
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", song}));
  EXPECT_EQ(SjisToUtf8(workspace_.FileList()->Cell(1, 2)), "表,ソ.mid");
  Drop(song);
  EXPECT_EQ(sink_.CountReported(kAlreadyListed), 1);
}

TEST_F(FileListBuilding, MidiPathWithALineBreakIsRefused) {
  const std::string song = File("two\nlines.mid");
  Drop(song);
  EXPECT_EQ(sink_.Messages(), Lines{kUnusable});
  EXPECT_FALSE(workspace_.FileList().has_value());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "file_list_temp.csv"));
}

TEST_F(FileListBuilding, NamesWithoutShiftJisFormAreShownAndRefused) {
  const std::string dir = Folder("mixed");
  const std::string a = File("mixed/a.mid");
  File("mixed/\xF0\x9F\x8E\xB5.mid");
  Drop(dir);
  EXPECT_EQ(sink_.Lines(), (Lines{a, dir + "/?.mid"}));
  EXPECT_EQ(sink_.Messages(), Lines{kUnusable});
  EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", a}));
}

TEST_F(FileListBuilding, UnwritableTempFileListIsReportedAndStillLoaded) {
  const std::string dir = Folder("blocked");
  Folder("blocked/file_list_temp.csv");  // a folder where the file should go
  const std::string a = File("blocked/a.mid");
  Drop(a);
  EXPECT_EQ(sink_.Lines(), (Lines{a, Indented(kNotOpened),
                                  Indented("   問題のある指定  " + dir + "/file_list_temp.csv"),
                                  Indented(kListNotOpened)}));
  ASSERT_TRUE(workspace_.FileList().has_value());
  EXPECT_EQ(workspace_.FileList()->RowCount(), 0);

  // A folder that cannot be written (sysfs refuses new files, also to root) is named.
  sink_.Clear();
  AddListOrMidiFile(sink_.Reports(), workspace_, "/sys/a.mid");
  EXPECT_EQ(sink_.Lines(),
            (Lines{"/sys/a.mid",
                   Indented("このフォルダには書き込めないため、ファイルリスト file_list_temp.csv "
                            "を作れませんでした。"),
                   Indented("   問題のある指定  /sys"), Indented(kListNotOpened)}));
}

// What another process (or another run) writes into the file meanwhile never becomes part of
// the list loaded here: the list grows from the loaded one.
TEST_F(FileListBuilding, TempFileListGrowsFromTheLoadedListWhateverTheFileHoldsMeanwhile) {
  const std::string dir = Folder("shared");
  const std::string a = File("shared/a.mid"), b = File("shared/b.mid");
  for (const char* meanwhile : {"replaced", "removed"}) {
    SCOPED_TRACE(meanwhile);
    workspace_.FileList().reset();
    Drop(a);
    if (std::string(meanwhile) == "replaced") {
      folder_.Write("shared/file_list_temp.csv",
                    Sjis(kHeader) + "-," + dir + "/other.mid,o.mid,-,-\r\n");
    } else {
      std::filesystem::remove(dir + "/file_list_temp.csv");
    }
    Drop(b);
    EXPECT_EQ(InputCells(), (Lines{"入力ファイル名", a, b}));
    EXPECT_EQ(TempList("shared"),
              std::string(kHeader) + "-," + a + ",a.mid,-,-\r\n-," + b + ",b.mid,-,-\r\n");
  }
}

// A temporary file list takes MIDI files while it has rows and bytes for them; after that
// the files are not added and the too-many-rows message is given once.
TEST_F(FileListBuilding, FullTempFileListTakesNoMoreFilesAndSaysSoOnce) {
  constexpr char kTooMany[] = "リストの件数が多すぎます。";
  struct Case {
    const char* what;
    int rows;             // rows written before the drops, header included
    std::size_t padding;  // extra bytes in each written row's path
    int added;            // of the three files dropped
  };
  const Case cases[] = {
      {"one row left", 999, 0, 1},
      {"no bytes left", 2, kListFileByteLimit - 100, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = Folder(c.what);
    std::string list = Sjis(kHeader);
    for (int row = 1; row < c.rows; ++row) {
      list += "-,/x/" + std::string(c.padding, 'p') + std::to_string(row) + ".mid,y.mid,-,-\r\n";
    }
    const std::string list_path = folder_.Write(std::string(c.what) + "/file_list_temp.csv", list);
    workspace_.LoadList(sink_.Reports(), ListKind::FileList, Sjis(list_path));
    sink_.Clear();
    for (const char* name : {"/a.mid", "/b.mid", "/c.mid"}) Drop(File(c.what + std::string(name)));
    EXPECT_EQ(workspace_.FileList()->RowCount(), c.rows + c.added);
    const auto lines = sink_.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), Indented(kTooMany)), 1);
    EXPECT_EQ(folder_.Read(std::string(c.what) + "/file_list_temp.csv").size() > list.size(),
              c.added > 0);
  }
}

}  // namespace
}  // namespace quillmar
