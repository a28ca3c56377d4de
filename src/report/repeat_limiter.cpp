#include "report/repeat_limiter.h"

#include "platform/encoding.h"
#include "report/report.h"

namespace quillmar {

RepeatLimiter::Passed RepeatLimiter::Feed(std::string_view line) {
  Passed passed;
  if (run_ > 0 && line == last_) {
    if (run_ < kMaxRun) {
      ++run_;
      passed.line = true;
    } else {
      ++held_;
    }
    return passed;
  }
  passed.summary = Flush();
  passed.line = true;
  last_.assign(line);
  run_ = 1;
  return passed;
}

std::string RepeatLimiter::Flush() {
  static const std::string before = Sjis("上と同じメッセージがさらに ");
  static const std::string after = Sjis(" 件ありました。");
  if (held_ == 0) return {};
  std::string summary;
  summary.append(kReportIndent).append(before).append(std::to_string(held_)).append(after);
  // The summary now stands between the run and whatever follows, so a new run begins.
  last_.clear();
  run_ = 0;
  held_ = 0;
  return summary;
}

}  // namespace quillmar
