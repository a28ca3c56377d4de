#include "report/report.h"

#include "platform/encoding.h"

namespace quillmar {

Reporter::~Reporter() {
  FlushRepeatedLines(*this);
}

void AppendResultLine(Reporter& reporter, std::string_view line) {
  ++reporter.lines_reported_;
  const RepeatLimiter::Passed passed = reporter.limiter_.Feed(line);
  if (!passed.summary.empty()) reporter.sink_->AppendLine(passed.summary);
  if (passed.line) reporter.sink_->AppendLine(line);
}

void ReportText(Reporter& reporter, std::string_view text, Finding finding) {
  if (finding == Finding::ListError) ++reporter.list_errors_;
  if (!reporter.Sink().HasResultList()) {
    ShowMessageBox(reporter, text);
    return;
  }
  std::string line;
  line.reserve(kReportIndent.size() + text.size());
  line.append(kReportIndent).append(text);
  AppendResultLine(reporter, line);
}

void FlushRepeatedLines(Reporter& reporter) {
  const std::string summary = reporter.limiter_.Flush();
  if (!summary.empty()) reporter.sink_->AppendLine(summary);
}

void ShowMessageBox(Reporter& reporter, std::string_view text) {
  // Every line reported before the box is in the list when it appears.
  FlushRepeatedLines(reporter);
  ++reporter.lines_reported_;
  reporter.Sink().ShowMessage(text);
}

void ReportDetail(Reporter& reporter, std::string_view text) {
  static const std::string label = Sjis("   問題のある指定  ");
  std::string detail;
  detail.reserve(label.size() + text.size());
  detail.append(label).append(text);
  ReportText(reporter, detail);
}

}  // namespace quillmar
