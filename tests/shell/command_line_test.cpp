#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace quillmar {
namespace {

using Paths = std::vector<std::string>;

TEST(SplitCommandLine, QuotedPathKeepsItsBlanks) {
  EXPECT_EQ(SplitCommandLine("\"/home/me/My Songs/a b.mid\" /tmp/list.csv"),
            (Paths{"/home/me/My Songs/a b.mid", "/tmp/list.csv"}));
  // A path may follow the closing quote directly; a quote inside a plain path is kept.
  EXPECT_EQ(SplitCommandLine("\"a b\"c d\"e"), (Paths{"a b", "c", "d\"e"}));
  // An unclosed quote runs to the end of the text.
  EXPECT_EQ(SplitCommandLine("x \"y z"), (Paths{"x", "y z"}));
}

TEST(SplitCommandLine, RunsOfBlanksSeparateAndNoPathIsEmpty) {
  EXPECT_EQ(SplitCommandLine("a.mid   b.mid"), (Paths{"a.mid", "b.mid"}));
  EXPECT_EQ(SplitCommandLine("  a.mid \"b.mid\"   "), (Paths{"a.mid", "b.mid"}));
  EXPECT_EQ(SplitCommandLine(""), Paths{});
  EXPECT_EQ(SplitCommandLine("   "), Paths{});
  EXPECT_EQ(SplitCommandLine("\"\" \"\"a"), Paths{"a"});
}

TEST(SplitCommandLine, ShiftJisPathsAndAnyNumberOfLongPathsSurvive) {
  const std::string japanese = Sjis("/曲/表ソ 能.mid");
  EXPECT_EQ(SplitCommandLine("\"" + japanese + "\""), Paths{japanese});

  const std::string long_path = "/" + std::string(400, 'x') + ".mid";
  std::string text;
  for (int i = 0; i < 1500; ++i) text += long_path + " ";
  const Paths paths = SplitCommandLine(text);
  ASSERT_EQ(paths.size(), 1500u);
  EXPECT_EQ(paths.back(), long_path);
}

}  // namespace
}  // namespace quillmar
