#include <gtest/gtest.h>

#include <filesystem>

#include "edit/edit_fixture.h"
#include "model/midi_f1_data.h"

namespace quillmar::testing {
namespace {

// The format field of a written file's header; -1 without one.
int HeaderFormat(const std::string& bytes) {
  if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) return -1;
  return static_cast<unsigned char>(bytes[9]);
}

TEST_F(EditTest, SaveWritesSnapshotsOfTheSongAsItStandsIntoTheCheckedFormatsFolders) {
  song_.SetDivision(480);
  AddTrackEndingAt(960, {Tempo(0, 500000)});
  AddTrackEndingAt(960, {GateNote(0, 0, 60, 480)});
  TempFolder out;
  struct Case {
    std::array<bool, 3> checked;  // same, 0, 1
    int input_format;
    std::vector<std::pair<std::string, int>> files;  // written, with their format
  };
  const Case cases[] = {
      {{false, true, false}, 1, {{"f0/step1/song.mid", 0}}},
      {{true, false, true}, 0, {{"same/step1/song.mid", 0}, {"f1/step1/song.mid", 1}}},
      {{true, false, false}, 1, {{"same/step1/song.mid", 1}}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(out.Path() + "/f0");
    std::filesystem::remove_all(out.Path() + "/f1");
    std::filesystem::remove_all(out.Path() + "/same");
    const SettingsList list = List(ListKind::Edit, {"Save,File=step1,-,-", "Add,PitchBend=0,-,0"});
    EditEnvironment environment{notices_, {}};
    environment.snapshots = {c.checked,
                             {Sjis(out / "same"), Sjis(out / "f0"), Sjis(out / "f1")},
                             c.input_format,
                             "song.mid"};
    const int before = song_.Track(1).Count();
    ApplyEditList(song_, list, environment);
    EXPECT_EQ(song_.Track(1).Count(), before + 1) << "the song is edited on after the save";
    EXPECT_EQ(song_.Form(), TrackForm::GateTimeForm);
    for (const auto& [file, format] : c.files) {
      EXPECT_EQ(HeaderFormat(out.Read(file)), format) << file;
    }
    EXPECT_EQ(sink_.Lines(), std::vector<std::string>{});
  }
}

TEST_F(EditTest, SaveRefusesNamesThatLeaveTheFolderAndNamesWhatItCannotWrite) {
  AddTrackEndingAt(960, {GateNote(0, 0, 60, 480)});
  TempFolder out;
  out.Write("file", "x");  // a file where the snapshot folder's parent should be
  for (const char* row : {"Save,File=..,-,-", "Save,File=a/b,-,-", "Save,File=a\\b,-,-",
                          "Save,File=,-,-", "Save,Name=x,-,-"}) {
    SCOPED_TRACE(row);
    const SettingsList list = List(ListKind::Edit, {row});
    EditEnvironment environment{notices_, {}};
    environment.snapshots = {
        {true, true, true}, {Sjis(out.Path()), Sjis(out.Path()), Sjis(out.Path())}, 1, "s.mid"};
    ApplyEditList(song_, list, environment);
    EXPECT_EQ(Reported(), std::vector<std::string>{"編集リストに誤りがあります。"});
    EXPECT_TRUE(environment.snapshots_written);
  }
  // 0x85 0x5C is no Shift_JIS character: natively its 0x5C turns into a separator.
  EXPECT_FALSE(
      SnapshotPath({{}, {Sjis(out.Path())}, 1, "s.mid"}, "\x85\\..", OutputFormat::SameAsOriginal));
  const SettingsList list = List(ListKind::Edit, {"Save,File=snap,-,-"});
  EditEnvironment environment{notices_, {}};
  environment.snapshots = {{false, true, false}, {"", Sjis(out / "file"), ""}, 1, "s.mid"};
  ApplyEditList(song_, list, environment);
  EXPECT_FALSE(environment.snapshots_written);
  EXPECT_EQ(Reported(),
            (std::vector<std::string>{
                "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。",
                "   問題のある指定  " + (out / "file") + "/snap"}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace quillmar::testing
