#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmar {

// Keeps a flood of one message from swamping the result list: of a run of identical lines
// in a row, the first kMaxRun are passed on and the rest only counted; the count then
// stands as one summary line, passed on before the next different line or at a flush. Only
// the last line and the counts are kept. Not thread-safe: the caller serialises the calls.
class RepeatLimiter {
 public:
  static constexpr int kMaxRun = 100;

  // What to pass on for one fed line, in this order.
  struct Passed {
    std::string summary;  // the summary of the held-back lines; empty when none
    bool line = false;    // whether the fed line itself is passed on
  };

  Passed Feed(std::string_view line);
  // The summary of the lines held back so far (empty when none); a summary ends the run.
  std::string Flush();

 private:
  std::string last_;
  int run_ = 0;             // lines of the current run passed on, up to kMaxRun
  std::uint64_t held_ = 0;  // lines of the current run held back
};

}  // namespace quillmar
