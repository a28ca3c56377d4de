#include "support/recording_sink.h"

#include <algorithm>

#include "platform/encoding.h"

namespace quillmar::testing {

void RecordingSink::AppendLine(std::string_view line) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(line);
}

void RecordingSink::ShowMessage(std::string_view text) {
  std::lock_guard lock(mutex_);
  messages_.emplace_back(text);
}

std::vector<std::string> RecordingSink::RawLines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

std::vector<std::string> RecordingSink::Lines() const {
  std::vector<std::string> utf8;
  for (const auto& line : RawLines()) utf8.push_back(SjisToUtf8(line));
  return utf8;
}

std::vector<std::string> RecordingSink::Messages() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> utf8;
  for (const auto& text : messages_) utf8.push_back(SjisToUtf8(text));
  return utf8;
}

int RecordingSink::CountReported(std::string_view utf8_text) const {
  const std::string wanted = std::string(kReportIndent) + std::string(utf8_text);
  const auto lines = Lines();
  return static_cast<int>(std::count(lines.begin(), lines.end(), wanted));
}

void RecordingSink::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
  messages_.clear();
}

}  // namespace quillmar::testing
