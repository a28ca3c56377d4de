#include "report/report.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/encoding.h"

namespace quillmar {
namespace {

std::atomic<ReportSink*> installed_sink{nullptr};

// Stands in for the message box until a front end installs a sink: the bare text on
// standard error, one report at a time.
void FallbackMessage(std::string_view text) {
  static std::mutex mutex;
  const std::string utf8 = SjisToUtf8(text);
  std::lock_guard lock(mutex);
  std::fprintf(stderr, "%s\n", utf8.c_str());
}

}  // namespace

void InstallReportSink(ReportSink* sink) {
  installed_sink.store(sink);
}

ReportSink* InstalledReportSink() {
  return installed_sink.load();
}

void ReportText(std::string_view text) {
  ReportSink* sink = installed_sink.load();
  if (sink == nullptr || !sink->HasResultList()) {
    ShowMessageBox(text);
    return;
  }
  std::string line;
  line.reserve(kReportIndent.size() + text.size());
  line.append(kReportIndent).append(text);
  sink->AppendLine(line);
}

void ShowMessageBox(std::string_view text) {
  if (ReportSink* sink = installed_sink.load()) {
    sink->ShowMessage(text);
  } else {
    FallbackMessage(text);
  }
}

void AppendResultLine(std::string_view line) {
  if (ReportSink* sink = installed_sink.load()) {
    sink->AppendLine(line);
  } else {
    FallbackMessage(line);
  }
}

void ReportDetail(std::string_view text) {
  static const std::string label = Sjis("   問題のある指定  ");
  std::string detail;
  detail.reserve(label.size() + text.size());
  detail.append(label).append(text);
  ReportText(detail);
}

}  // namespace quillmar
