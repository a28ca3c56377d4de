#include "shell/result_list.h"

#include <cerrno>

#include "lists/general_error.h"
#include "platform/files.h"

namespace quillmar {

void ResultList::Append(std::string_view line) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(line);
}

std::size_t ResultList::Count() const {
  std::lock_guard lock(mutex_);
  return lines_.size();
}

std::string ResultList::Line(std::size_t index) const {
  std::lock_guard lock(mutex_);
  return index < lines_.size() ? lines_[index] : std::string();
}

bool SaveResultList(Reporter& reporter, const ResultList& list, std::string_view path) {
  std::string bytes;
  // The count is asked again after every line, so lines that a running conversion appends
  // meanwhile are saved too.
  for (std::size_t index = 0; index < list.Count(); ++index) {
    bytes.append(list.Line(index)).append("\r\n");
  }
  if (!WriteFileReplacing(path, bytes)) {
    const int reason = errno;  // kept for the caller through the report
    ReportGeneralError(reporter, kFileNotOpened);
    errno = reason;
    return false;
  }
  return true;
}

}  // namespace quillmar
