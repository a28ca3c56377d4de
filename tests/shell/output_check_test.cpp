#include "shell/output_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingSink;
using testing::TempFolder;

// Each case sets up a workspace over the folder `in` (holding song.mid, other.mid and the
// file list f.csv) and the empty folder `out`, and names the conflicts expected.
struct Case {
  const char* what;
  std::vector<std::string> rows;  // input and output cells, "in/" and "out/" taken from the root
  std::function<void(Workspace&, const std::string& root)> setup;
  const char* overwritten;  // the path expected, relative to the root; "" for none
  const char* written_twice;
};

void Folders(Workspace& workspace, int slot, const std::string& folder) {
  workspace.SelectSlot(slot);
  workspace.SetCurrentFolders(Sjis(folder));
  workspace.SelectSlot(0);
}

// Loads e/e.csv with the rows into slot 1 and switches it on.
void EditList(Workspace& workspace, const std::string& root, const std::string& rows) {
  RecordingSink sink;
  std::filesystem::create_directories(root + "/e");
  std::ofstream(root + "/e/e.csv") << "c,t,ch,p\r\n" << rows << "\r\n";
  workspace.LoadList(sink.Reports(), ListKind::Edit, Sjis(root + "/e/e.csv"));
  workspace.SetSwitch(3, true);
  workspace.SaveSwitches();
}

TEST(OutputCheck, FindsOutputsOverInputsAndOutputsWrittenTwice) {
  const auto none = [](Workspace&, const std::string&) {};
  const Case cases[] = {
      {"into another folder", {"in/song.mid,song.mid"}, none, "", ""},
      {"back into the input's folder",
       {"in/song.mid,song.mid"},
       [](Workspace& w, const std::string& root) { Folders(w, 0, root + "/in"); },
       "in/song.mid",
       ""},
      {"over another row's input",
       {"in/song.mid,other.mid", "in/other.mid,x.mid"},
       [](Workspace& w, const std::string& root) { Folders(w, 0, root + "/in"); },
       "in/other.mid",
       ""},
      {"through a spelling with . and ..",
       {"in/song.mid,song.mid"},
       [](Workspace& w, const std::string& root) { Folders(w, 0, root + "/out/../in/."); },
       "out/../in/./song.mid",
       ""},
      {"through a link to the input's folder",
       {"in/song.mid,song.mid"},
       [](Workspace& w, const std::string& root) {
         std::filesystem::create_directory_symlink(root + "/in", root + "/link");
         Folders(w, 0, root + "/link");
       },
       "link/song.mid",
       ""},
      {"over the file list itself",
       {"in/song.mid,f.csv"},
       [](Workspace& w, const std::string& root) { Folders(w, 0, root + "/in"); },
       "in/f.csv",
       ""},
      {"letter case differs",
       {"in/song.mid,Song.mid"},
       [](Workspace& w, const std::string& root) { Folders(w, 0, root + "/in"); },
       "",
       ""},
      {"two formats in one folder",
       {"in/song.mid,a.mid"},
       [](Workspace& w, const std::string&) {
         w.Formats() = {false, true, true};
       },
       "",
       "out/a.mid"},
      {"same counts as both formats",
       {"in/song.mid,a.mid"},
       [](Workspace& w, const std::string&) {
         w.Formats() = {true, true, false};
       },
       "",
       "out/a.mid"},
      {"formats into folders of their own",
       {"in/song.mid,a.mid"},
       [](Workspace& w, const std::string& root) {
         w.Formats() = {true, true, true};
         w.Slot(0).folders[OutputFormat::Format0] = Sjis(root + "/out/0");
         w.Slot(0).folders[OutputFormat::Format1] = Sjis(root + "/out/1");
       },
       "",
       ""},
      {"two rows with one output name",
       {"in/song.mid,a.mid", "in/other.mid,sub\\a.mid"},
       none,
       "",
       "out/a.mid"},
      {"two slots with one folder",
       {"in/song.mid,a.mid"},
       [](Workspace& w, const std::string& root) {
         Folders(w, 2, root + "/out");
         w.Slot(2).enabled[0] = true;
       },
       "",
       "out/a.mid"},
      {"a slot without lists is not converted",
       {"in/song.mid,a.mid"},
       [](Workspace& w, const std::string& root) { Folders(w, 2, root + "/out"); },
       "",
       ""},
      {"a snapshot that the edit list saves over an input",
       {"in/song.mid,song.mid"},
       [](Workspace& w, const std::string& root) {
         EditList(w, root, "Save,File=in,-,-");
         Folders(w, 0, root);
       },
       "in/song.mid",
       ""},
      {"two Save rows of one name",
       {"in/song.mid,song.mid"},
       [](Workspace& w, const std::string& root) {
         EditList(w, root, "Save,File=s,-,-\r\nSave,File=s,-,-");
       },
       "",
       "out/s/song.mid"},
      {"an output cell that names no file writes nothing",
       {"in/song.mid,..", "in/other.mid,sub\\"},
       [](Workspace& w, const std::string& root) { Folders(w, 0, root + "/in"); },
       "",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingSink sink;
    TempFolder folder;
    const std::string root = folder.Path();
    std::filesystem::create_directories(root + "/in");
    std::filesystem::create_directories(root + "/out");
    folder.Write("in/song.mid", "x");
    folder.Write("in/other.mid", "y");
    std::string list = "n,in,out,title,copyright\r\n";
    for (const std::string& row : c.rows) list += "-," + root + "/" + row + ",-,-\r\n";
    folder.Write("in/f.csv", list);
    Workspace workspace("/start");
    workspace.SetCurrentFolders(Sjis(root + "/out"));
    workspace.LoadList(sink.Reports(), ListKind::FileList, Sjis(root + "/in/f.csv"));
    c.setup(workspace, root);
    const OutputConflicts found = FindOutputConflicts(workspace);
    const auto expected = [&](const char* path) {
      return *path == '\0' ? std::nullopt : std::optional<std::string>(Sjis(root + "/" + path));
    };
    EXPECT_EQ(found.overwritten_input, expected(c.overwritten));
    EXPECT_EQ(found.written_twice, expected(c.written_twice));
  }
}

// A result list saved afterwards must not replace a file that the run reads or writes.
TEST(OutputCheck, TellsTheFilesThatTheRunReadsOrWrites) {
  RecordingSink sink;
  TempFolder folder;
  const std::string root = folder.Path();
  std::filesystem::create_directories(root + "/in");
  folder.Write("in/song.mid", "x");
  folder.Write("in/f.csv", "n,in,out,title,copyright\r\n-," + root + "/in/song.mid,a.mid,-,-\r\n");
  Workspace workspace("/start");
  EXPECT_FALSE(RunReadsOrWrites(workspace, Sjis(root + "/in/f.csv"))) << "no file list yet";
  workspace.LoadList(sink.Reports(), ListKind::FileList, Sjis(root + "/in/f.csv"));
  workspace.SetCurrentFolders(Sjis(root + "/out"));
  workspace.Formats().timelines = true;
  workspace.Formats().wav_soundfont = "gm.sf2";
  EditList(workspace, root, "Save,File=snap,-,-");
  for (const auto& [path, touched] :
       std::initializer_list<std::pair<const char*, bool>>{{"in/f.csv", true},
                                                           {"in/../in/song.mid", true},
                                                           {"e/e.csv", true},
                                                           {"out/a.mid", true},
                                                           {"out/a.timeline.csv", true},
                                                           {"out/a.wav", true},
                                                           {"out/snap/a.mid", true},
                                                           {"out/result.txt", false},
                                                           {"in/a.mid", false}}) {
    EXPECT_EQ(RunReadsOrWrites(workspace, Sjis(root + "/" + path)), touched) << path;
  }
}

}  // namespace
}  // namespace quillmar
