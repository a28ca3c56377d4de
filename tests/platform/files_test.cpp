#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "platform/encoding.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  // The Shift_JIS path of a name inside the test folder, written with backslashes.
  std::string SjisIn(std::string_view utf8_name) const {
    return Sjis(root_ + "\\" + std::string(utf8_name));
  }

  testing::TempFolder folder_;
  const std::string& root_ = folder_.Path();
};

TEST_F(FilesTest, JapaneseNamesWithBackslashTrailBytesReachTheRightFile) {
  const std::string path = SjisIn("表ソ能.mid");
  ASSERT_TRUE(WriteFileReplacing(path, "MThd"));
  EXPECT_TRUE(fs::exists(root_ + "/表ソ能.mid"));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, 100, bytes));
  EXPECT_EQ(bytes, "MThd");
}

TEST_F(FilesTest, ReadStopsAtTheLimitAndFailsForMissingFiles) {
  ASSERT_TRUE(WriteFileReplacing(SjisIn("a.bin"), std::string(10, 'x')));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(SjisIn("a.bin"), 4, bytes));
  EXPECT_EQ(bytes, "xxxx");
  EXPECT_FALSE(ReadFileBytes(SjisIn("missing.bin"), 4, bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadFileBytes(Sjis(root_), 4, bytes)) << "a folder is no file";
}

TEST_F(FilesTest, ReplacingWriteLeavesNoTemporaryFiles) {
  const std::string path = SjisIn("out.mid");
  ASSERT_TRUE(WriteFileReplacing(path, "old contents"));
  ASSERT_TRUE(WriteFileReplacing(path, "new"));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, 100, bytes));
  EXPECT_EQ(bytes, "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
  EXPECT_FALSE(WriteFileReplacing(SjisIn("no-such-folder/x.mid"), "x"));
}

TEST_F(FilesTest, CopyReplacesAnExistingTarget) {
  ASSERT_TRUE(WriteFileReplacing(SjisIn("from.mid"), "fresh"));
  ASSERT_TRUE(WriteFileReplacing(SjisIn("to.mid"), "stale and longer"));
  ASSERT_TRUE(CopyFileReplacing(SjisIn("from.mid"), SjisIn("to.mid")));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(SjisIn("to.mid"), 100, bytes));
  EXPECT_EQ(bytes, "fresh");
  EXPECT_FALSE(CopyFileReplacing(SjisIn("missing.mid"), SjisIn("to.mid")));
}

TEST_F(FilesTest, FoldersAreMadeAndListedByExtension) {
  const std::string sub = SjisIn("曲");
  ASSERT_TRUE(MakeFolder(sub));
  EXPECT_TRUE(IsFolder(sub));
  EXPECT_FALSE(IsFile(sub));
  EXPECT_FALSE(MakeFolder(sub)) << "already there";
  for (const char* name : {"b.MID", "a.mid", "list.csv", "mid"}) {
    std::ofstream(root_ + "/曲/" + name) << "x";
  }
  fs::create_directory(root_ + "/曲/folder.mid");
  const auto names = ListFolder(sub, ".mid");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], "a.mid");
  EXPECT_EQ(names[1], "b.MID");
}

TEST_F(FilesTest, NamesWithoutShiftJisFormOrWithABackslashAreSetAside) {
  std::ofstream(root_ + "/\xF0\x9F\x8E\xB5.mid") << "x";
  std::ofstream(root_ + "/..\\..\\evil.mid") << "x";
  std::ofstream(root_ + "/ok.mid") << "x";
  std::vector<std::string> unrepresentable;
  const auto names = ListFolder(Sjis(root_), ".mid", &unrepresentable);
  EXPECT_EQ(names, std::vector<std::string>{"ok.mid"});
  EXPECT_EQ(unrepresentable.size(), 2u);
  EXPECT_FALSE(SjisPath(root_ + "/\xF0\x9F\x8E\xB5.mid").has_value());
  EXPECT_FALSE(SjisPath(root_ + "/back\\slash.mid").has_value());
  EXPECT_FALSE(SjisPath(std::string("a\0b.mid", 7)).has_value());
}

// What is no regular file fails at once (a FIFO would wait for a writer for ever), and a
// path with a NUL byte names nothing, so no write ever lands on the name cut at it.
TEST_F(FilesTest, FifosAndPathsWithNulFailWithoutBlocking) {
  const std::string fifo = root_ + "/pipe.mid";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  std::string bytes;
  EXPECT_FALSE(ReadFileBytes(Sjis(fifo), 100, bytes));
  EXPECT_FALSE(CopyFileReplacing(Sjis(fifo), SjisIn("copy.mid")));
  const std::string cut = SjisIn("out.mid") + std::string(1, '\0') + "tail";
  EXPECT_FALSE(WriteFileReplacing(cut, "x"));
  EXPECT_FALSE(IsFile(cut));
  EXPECT_FALSE(MakeFolder(cut));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, FolderTreesAreMadeAtAnyDepthOrGiveTheReason) {
  EXPECT_EQ(MakeFolderTree(SjisIn("a/b/c")), std::nullopt);
  EXPECT_TRUE(IsFolder(SjisIn("a/b/c")));
  EXPECT_EQ(MakeFolderTree(SjisIn("a/b/c")), std::nullopt) << "already there";
  std::ofstream(root_ + "/file") << "x";
  EXPECT_NE(MakeFolderTree(SjisIn("file/sub")), std::nullopt);
}

TEST(NativePath, BothSeparatorsBecomeSlashes) {
  EXPECT_EQ(NativePath(Sjis("a\\表/b.mid")), "a/表/b.mid");
}

}  // namespace
}  // namespace quillmar

namespace quillmar {
namespace {

TEST(TemporaryFolder, IsPrivateAndRemovedWhole) {
  const auto folder = MakeTemporaryFolder(SystemTemporaryFolder());
  ASSERT_TRUE(folder.has_value());
  EXPECT_TRUE(IsFolder(*folder));
  EXPECT_FALSE(MakeTemporaryFolder("").has_value());
  const auto other = MakeTemporaryFolder(*folder);
  ASSERT_TRUE(other.has_value());
  EXPECT_NE(*other, *folder) << "each run gets its own";
  EXPECT_TRUE(RemoveFolderTree(*other));
  ASSERT_TRUE(WriteFileReplacing(*folder + "/a.mid", "x"));
  ASSERT_TRUE(MakeFolder(*folder + "/sub"));
  EXPECT_TRUE(RemoveFolderTree(*folder));
  EXPECT_FALSE(IsFolder(*folder));
}

}  // namespace
}  // namespace quillmar
