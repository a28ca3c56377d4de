#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "report/report.h"

namespace quillmar::testing {

// Records every report of a test, installed for the test's lifetime. Lines and message
// boxes are kept in UTF-8 so that assertions read like the catalogue.
class RecordingSink : public ReportSink {
 public:
  RecordingSink();
  ~RecordingSink() override;
  RecordingSink(const RecordingSink&) = delete;
  RecordingSink& operator=(const RecordingSink&) = delete;

  void AppendLine(std::string_view line) override;
  void ShowMessage(std::string_view text) override;

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
};

}  // namespace quillmar::testing
