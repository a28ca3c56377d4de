#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quillmar {

// Where reported findings go. A front end installs one; its implementation must accept
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

// Installs the sink that receives every report from now on (nullptr: none) and forgets the
// repeated lines held back for the previous one. Install before any worker starts and remove
// after it has ended.
void InstallReportSink(ReportSink* sink);
ReportSink* InstalledReportSink();

struct InstalledSink;

// While it lives, every report of the thread that made it goes to `sink`, through a repeat
// limiter of its own, instead of to the installed sink: a preview converts a song and shows
// its reports apart while a run goes on reporting into the result list. Made and destroyed
// on one thread; they nest.
class ThreadReportSink {
 public:
  explicit ThreadReportSink(ReportSink& sink);
  // Passes on the lines still held back.
  ~ThreadReportSink();
  ThreadReportSink(const ThreadReportSink&) = delete;
  ThreadReportSink& operator=(const ThreadReportSink&) = delete;

 private:
  std::unique_ptr<InstalledSink> own_;
  InstalledSink* previous_;
};

// The indent of every reported line: twelve blanks.
inline constexpr std::string_view kReportIndent = "            ";

// What a reported text tells: that a list or one of its rows is wrong (the run then ends with
// its own exit status), or anything else (notices of what a row did, faults of files).
enum class Finding { Other, ListError };

// Appends kReportIndent + text to the result list; while there is no result list, shows the
// bare text in a message box (standard error when no sink is installed).
void ReportText(std::string_view text, Finding finding = Finding::Other);

// The number of list errors reported to the sink in use since it was installed (or, for a
// thread's own sink, made).
int ListErrorsReported();

// Shows a message box through the sink, or the fallback without one; repeated lines held
// back are flushed first.
void ShowMessageBox(std::string_view text);

// Appends a line as it stands (the unindented file lines and the count lines).
void AppendResultLine(std::string_view line);

// Lines to the result list pass through one limiter: of identical lines in a row, the first
// 100 are appended and the rest only counted, until a different line or this flush appends
// one indented "上と同じメッセージがさらに N 件ありました。" line for them.
void FlushRepeatedLines();

// Reports "   問題のある指定  " followed by the text.
void ReportDetail(std::string_view text);

}  // namespace quillmar
