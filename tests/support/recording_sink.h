#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "report/report.h"

namespace quillmar::testing {

// Records every report of a test, made through its reporter (or any other reporter over it).
// Lines and message boxes are kept in UTF-8 so that assertions read like the catalogue.
class RecordingSink : public ReportSink {
 public:
  RecordingSink() = default;
  RecordingSink(const RecordingSink&) = delete;
  RecordingSink& operator=(const RecordingSink&) = delete;

  void AppendLine(std::string_view line) override;
  void ShowMessage(std::string_view text) override;

  // A reporter into this sink; held-back repeated lines reach the sink when it is flushed.
  Reporter& Reports() { return reporter_; }

  // Lines as appended (Shift_JIS) and their UTF-8 forms.
  std::vector<std::string> RawLines() const;
  std::vector<std::string> Lines() const;
  std::vector<std::string> Messages() const;
  // How many lines equal the indent followed by `utf8_text`.
  int CountReported(std::string_view utf8_text) const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::vector<std::string> messages_;
  Reporter reporter_{*this};
};

}  // namespace quillmar::testing
