#include "report/report.h"

#include <cstdio>
#include <mutex>

#include "platform/encoding.h"
#include "report/repeat_limiter.h"

namespace quillmar {
namespace {}  // namespace

// A sink and the limiter of the lines sent to its result list. The mutex guards both but is
// never held while the sink runs: a front end's AppendLine may wait for a thread that is
// reporting at the same moment. Each thread's lines therefore keep their order, while lines
// of two threads may pass one another between the decision and the sink.
struct InstalledSink {
  std::mutex mutex;
  ReportSink* sink = nullptr;
  RepeatLimiter limiter;
  int list_errors = 0;
};

namespace {

// The sink that front ends install, and the one a thread may take for itself instead.
InstalledSink installed;
thread_local InstalledSink* thread_sink = nullptr;

InstalledSink& Current() {
  return thread_sink != nullptr ? *thread_sink : installed;
}

// Stands in for the message box until a front end installs a sink: the bare text on
// standard error, one report at a time.
void FallbackMessage(std::string_view text) {
  static std::mutex mutex;
  const std::string utf8 = SjisToUtf8(text);
  std::lock_guard lock(mutex);
  std::fprintf(stderr, "%s\n", utf8.c_str());
}

// Sends a line to the result list through the limiter; false when no sink is installed.
bool PassToResultList(std::string_view line) {
  ReportSink* sink = nullptr;
  RepeatLimiter::Passed passed;
  {
    InstalledSink& current = Current();
    std::lock_guard lock(current.mutex);
    sink = current.sink;
    if (sink == nullptr) return false;
    passed = current.limiter.Feed(line);
  }
  if (!passed.summary.empty()) sink->AppendLine(passed.summary);
  if (passed.line) sink->AppendLine(line);
  return true;
}

}  // namespace

void InstallReportSink(ReportSink* sink) {
  std::lock_guard lock(installed.mutex);
  installed.sink = sink;
  installed.limiter = RepeatLimiter();
  installed.list_errors = 0;
}

int ListErrorsReported() {
  InstalledSink& current = Current();
  std::lock_guard lock(current.mutex);
  return current.list_errors;
}

ReportSink* InstalledReportSink() {
  InstalledSink& current = Current();
  std::lock_guard lock(current.mutex);
  return current.sink;
}

ThreadReportSink::ThreadReportSink(ReportSink& sink)
    : own_(std::make_unique<InstalledSink>()), previous_(thread_sink) {
  own_->sink = &sink;
  thread_sink = own_.get();
}

ThreadReportSink::~ThreadReportSink() {
  FlushRepeatedLines();
  thread_sink = previous_;
}

void ReportText(std::string_view text, Finding finding) {
  if (finding == Finding::ListError) {
    InstalledSink& current = Current();
    std::lock_guard lock(current.mutex);
    ++current.list_errors;
  }
  ReportSink* sink = InstalledReportSink();
  if (sink != nullptr && sink->HasResultList()) {
    std::string line;
    line.reserve(kReportIndent.size() + text.size());
    line.append(kReportIndent).append(text);
    if (PassToResultList(line)) return;
  }
  ShowMessageBox(text);
}

void FlushRepeatedLines() {
  ReportSink* sink = nullptr;
  std::string summary;
  {
    InstalledSink& current = Current();
    std::lock_guard lock(current.mutex);
    sink = current.sink;
    summary = current.limiter.Flush();
  }
  if (sink != nullptr && !summary.empty()) sink->AppendLine(summary);
}

void ShowMessageBox(std::string_view text) {
  // Every line reported before the box is in the list when it appears.
  FlushRepeatedLines();
  if (ReportSink* sink = InstalledReportSink()) {
    sink->ShowMessage(text);
  } else {
    FallbackMessage(text);
  }
}

void AppendResultLine(std::string_view line) {
  if (!PassToResultList(line)) FallbackMessage(line);
}

void ReportDetail(std::string_view text) {
  static const std::string label = Sjis("   問題のある指定  ");
  std::string detail;
  detail.reserve(label.size() + text.size());
  detail.append(label).append(text);
  ReportText(detail);
}

}  // namespace quillmar
