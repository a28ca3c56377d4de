#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/repeat_limiter.h"

namespace quillmar {

// Where reported findings go. A front end implements one; its implementation must accept
// calls from any thread and keep the order in which each thread reports. All texts are
// Shift_JIS.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  // Appends one line to the result list.
  virtual void AppendLine(std::string_view line) = 0;
  // Shows a message box (OK only) and returns when it is closed.
  virtual void ShowMessage(std::string_view text) = 0;
  // False until the result list exists; reports are then shown as message boxes.
  virtual bool HasResultList() const { return true; }
};

// What a reported text tells: that a list or one of its rows is wrong (the run then ends with
// its own exit status), or anything else (notices of what a row did, faults of files).
enum class Finding { Other, ListError };

// The findings of one piece of work: a run, a preview, or what a window or the command line
// does between runs. It passes them to a sink through a limiter of repeated lines of its own
// and counts the list errors among them. The front end makes one for its own work, the run
// control one for each run and the preview one for each preview, so that findings of two of
// them never mix; it is handed down to whatever reports. One thread uses it at a time;
// several may feed one sink.
class Reporter {
 public:
  explicit Reporter(ReportSink& sink) : sink_(&sink) {}
  // Passes on the lines still held back.
  ~Reporter();
  Reporter(const Reporter&) = delete;
  Reporter& operator=(const Reporter&) = delete;

  ReportSink& Sink() const { return *sink_; }
  // The list errors reported so far.
  int ListErrors() const { return list_errors_; }
  // How many lines and message boxes were reported so far (held-back repeats included).
  std::uint64_t LinesReported() const { return lines_reported_; }

 private:
  friend void ReportText(Reporter& reporter, std::string_view text, Finding finding);
  friend void AppendResultLine(Reporter& reporter, std::string_view line);
  friend void FlushRepeatedLines(Reporter& reporter);
  friend void ShowMessageBox(Reporter& reporter, std::string_view text);

  ReportSink* sink_;
  RepeatLimiter limiter_;
  int list_errors_ = 0;
  std::uint64_t lines_reported_ = 0;
};

// The indent of every reported line: twelve blanks.
inline constexpr std::string_view kReportIndent = "            ";

// Appends kReportIndent + text to the result list; while there is no result list, shows the
// bare text in a message box.
void ReportText(Reporter& reporter, std::string_view text, Finding finding = Finding::Other);

// Shows a message box; repeated lines held back are flushed first.
void ShowMessageBox(Reporter& reporter, std::string_view text);

// Appends a line as it stands (the unindented file lines and the count lines).
void AppendResultLine(Reporter& reporter, std::string_view line);

// Lines to the result list pass through the reporter's limiter: of identical lines in a row,
// the first 100 are appended and the rest only counted, until a different line or this
// flush appends one indented "上と同じメッセージがさらに N 件ありました。" line for them.
void FlushRepeatedLines(Reporter& reporter);

// Reports "   問題のある指定  " followed by the text.
void ReportDetail(Reporter& reporter, std::string_view text);

}  // namespace quillmar
