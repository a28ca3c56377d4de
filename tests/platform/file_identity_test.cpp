#include "platform/file_identity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/encoding.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

namespace fs = std::filesystem;

TEST(FileIdentity, SpellingsOfOneFileAreTheSameFile) {
  testing::TempFolder folder;
  const std::string root = folder.Path();
  fs::create_directories(root + "/in/sub");
  std::ofstream(root + "/in/song.mid") << "x";
  std::ofstream(root + "/in/other.mid") << "y";
  fs::create_symlink(root + "/in", root + "/link");
  fs::create_hard_link(root + "/in/song.mid", root + "/hard.mid");
  const std::string song = root + "/in/song.mid";
  struct Case {
    std::string path;
    bool same;
  };
  const Case cases[] = {
      {root + "/in/./song.mid", true}, {root + "/in/sub/../song.mid", true},
      {root + "\\in\\song.mid", true}, {root + "/link/song.mid", true},
      {root + "/hard.mid", true},      {root + "/in/other.mid", false},
      {root + "/in/Song.mid", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameFile(IdentityOf(Sjis(c.path)), IdentityOf(Sjis(song))), c.same) << c.path;
  }
  // Files that do not exist yet are compared by their resolved paths.
  EXPECT_TRUE(SameFile(IdentityOf(Sjis(root + "/link/new.mid")),
                       IdentityOf(Sjis(root + "/in/sub/../new.mid"))));
  EXPECT_FALSE(
      SameFile(IdentityOf(Sjis(root + "/in/new.mid")), IdentityOf(Sjis(root + "/in/new2.mid"))));
  // A relative path is taken from the current folder.
  const fs::path current = fs::current_path();
  fs::current_path(root + "/in");
  EXPECT_TRUE(SameFile(IdentityOf("song.mid"), IdentityOf(Sjis(song))));
  fs::current_path(current);
}

}  // namespace
}  // namespace quillmar
