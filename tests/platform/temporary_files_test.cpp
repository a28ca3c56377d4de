#include "platform/temporary_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/encoding.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

namespace fs = std::filesystem;

// An interrupted process removes the temporary files and folders it made and nothing else;
// files renamed into place stay.
TEST(TemporaryFiles, AreRemovedWhenTheProcessEndsAtOnce) {
  testing::TempFolder folder;
  const std::string root = folder.Path();
  const pid_t child = ::fork();
  if (child == 0) {
    const auto work = MakeTemporaryFolder(Sjis(root));
    const std::string pending = root + "/" + std::string(kTemporaryPrefix) + "pending";
    const bool made = MakeTemporary(pending, [&] {
      const int fd = ::open(pending.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
      return fd >= 0 && ::close(fd) == 0;
    });
    const bool written = WriteFileReplacing(Sjis(root + "/done.mid"), "x");
    if (!work || !made || !written || !WriteFileReplacing(*work + "/w.mid", "x")) ::_exit(1);
    RemoveTemporariesAndExit(7);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(root)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"done.mid"});
}

}  // namespace
}  // namespace quillmar
