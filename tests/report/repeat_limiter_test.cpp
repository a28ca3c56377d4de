#include "report/repeat_limiter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/encoding.h"
#include "report/report.h"

namespace quillmar {
namespace {

// A line repeated `count` times; the line kFlush stands for a call of Flush.
struct Repeat {
  std::string line;
  int count = 1;
};

constexpr const char* kFlush = "<flush>";

std::string Summary(int held) {
  return Sjis("            上と同じメッセージがさらに " + std::to_string(held) + " 件ありました。");
}

std::vector<std::string> Expand(const std::vector<Repeat>& runs) {
  std::vector<std::string> lines;
  for (const Repeat& repeat : runs) lines.insert(lines.end(), repeat.count, repeat.line);
  return lines;
}

TEST(RepeatLimiter, PassesAHundredInARowThenOneSummary) {
  struct Case {
    const char* name;
    std::vector<Repeat> fed;
    std::vector<Repeat> passed;  // ending with what the final Flush passes
  };
  const std::vector<Case> cases = {
      {"one", {{"a"}}, {{"a"}}},
      {"a hundred", {{"a", 100}}, {{"a", 100}}},
      {"a hundred and one", {{"a", 101}}, {{"a", 100}, {Summary(1)}}},
      {"the summary comes before the next line",
       {{"a", 250}, {"b"}},
       {{"a", 100}, {Summary(150)}, {"b"}}},
      {"alternating lines all pass", {{"a"}, {"b"}, {"a"}, {"b"}}, {{"a"}, {"b"}, {"a"}, {"b"}}},
      {"each run has its own summary",
       {{"a", 150}, {"b", 102}, {"a"}},
       {{"a", 100}, {Summary(50)}, {"b", 100}, {Summary(2)}, {"a"}}},
      {"a flush with nothing held keeps the run",
       {{"a", 50}, {kFlush}, {"a", 60}},
       {{"a", 100}, {Summary(10)}}},
      {"a summary ends the run",
       {{"a", 101}, {kFlush}, {"a", 2}},
       {{"a", 100}, {Summary(1)}, {"a", 2}}},
  };
  for (const Case& c : cases) {
    RepeatLimiter limiter;
    std::vector<std::string> passed;
    auto keep = [&](const std::string& summary) {
      if (!summary.empty()) passed.push_back(summary);
    };
    for (const std::string& line : Expand(c.fed)) {
      if (line == kFlush) {
        keep(limiter.Flush());
        continue;
      }
      const RepeatLimiter::Passed step = limiter.Feed(line);
      keep(step.summary);
      if (step.line) passed.push_back(line);
    }
    keep(limiter.Flush());
    EXPECT_EQ(passed, Expand(c.passed)) << c.name;
    EXPECT_EQ(limiter.Flush(), "") << c.name << ": a second flush has nothing left";
  }
}

}  // namespace
}  // namespace quillmar
