#include "lists/path_helpers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "platform/encoding.h"
#include "platform/files.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

TEST(BaseName, TakesTheTextAfterTheLastSeparator) {
  EXPECT_EQ(BaseName("C:\\a\\b.mid"), "b.mid");
  EXPECT_EQ(BaseName("b.mid"), "b.mid");
  EXPECT_EQ(BaseName("/home/u/b.mid"), "b.mid");
  EXPECT_EQ(BaseName("sub\\"), "");
}

TEST(BaseName, KeepsNamesWhoseTrailByteIsBackslash) {
  EXPECT_EQ(BaseName(Sjis("C:\\曲\\表ソ能.mid")), Sjis("表ソ能.mid"));
  EXPECT_EQ(BaseName(Sjis("ソ")), Sjis("ソ"));
}

TEST(DirectoryOf, TakesTheTextBeforeTheLastSeparator) {
  EXPECT_EQ(DirectoryOf("C:\\a\\b.mid"), "C:\\a");
  EXPECT_EQ(DirectoryOf("C:\\b.mid"), "C:");
  EXPECT_EQ(DirectoryOf("/b.mid"), "/");
  EXPECT_EQ(DirectoryOf(Sjis("/曲/表\\能.mid")), Sjis("/曲/表"));
  EXPECT_EQ(DirectoryOf(Sjis("表ソ/x.mid")), Sjis("表ソ"));
}

TEST(DirectoryOf, ANameAloneLiesInTheCurrentFolder) {
  EXPECT_EQ(DirectoryOf("b.mid"), CurrentFolder().value());
  EXPECT_EQ(DirectoryOf(Sjis("表")), CurrentFolder().value());
}

TEST(ExtensionOf, LowersCapitalsButNotTrailBytes) {
  EXPECT_EQ(ExtensionOf("X.MID"), "mid");
  EXPECT_EQ(ExtensionOf("README"), "readme");
  EXPECT_EQ(ExtensionOf("a.b.Csv"), "csv");
  // "ア" is 0x83 0x41: its trail byte looks like 'A'.
  EXPECT_EQ(ExtensionOf(Sjis("x.アMID")), Sjis("アmid"));
}

TEST(IsPlainName, TakesOneNameInShiftJisAndNativelyAlike) {
  for (const auto& [name, plain] : std::initializer_list<std::pair<std::string, bool>>{
           {"a.mid", true},
           {Sjis("表.mid"), true},  // its trail byte 0x5C is no separator
           {"", false},
           {".", false},
           {"..", false},
           {"a/b", false},
           {"a\\b", false},
           {std::string("a\0b", 3), false},
           {"a\rb", false},
           {"\x85\\..", false},  // no Shift_JIS character: natively "?/.."
           {"\x85\\", false}}) {
    EXPECT_EQ(IsPlainName(name), plain) << SjisToUtf8(name);
  }
}

TEST(JoinPath, AddsOneSeparatorUnlessTheFolderEndsInOne) {
  EXPECT_EQ(JoinPath("/out", "x.mid"), "/out/x.mid");
  EXPECT_EQ(JoinPath("/", "x.mid"), "/x.mid");
  EXPECT_EQ(JoinPath("C:\\", "x.mid"), "C:\\x.mid");
  EXPECT_EQ(JoinPath("C:", "x.mid"), "C:/x.mid");
  EXPECT_EQ(JoinPath("", "x.mid"), "x.mid");
  // A folder ending in "ソ" ends in byte 0x5C but not in a separator.
  EXPECT_EQ(JoinPath(Sjis("/ソ"), "x.mid"), Sjis("/ソ/x.mid"));
}

}  // namespace
}  // namespace quillmar
