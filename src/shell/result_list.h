#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "report/report.h"

namespace quillmar {

// The lines of the result list (Shift_JIS), kept for the whole life of the program and never
// cleared. Lines may be appended from any thread while others read.
class ResultList {
 public:
  void Append(std::string_view line);
  std::size_t Count() const;
  std::string Line(std::size_t index) const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

// Writes every line, each ended by CR LF, into the file, replacing it whole; lines appended
// while it writes are included. A file that cannot be written reports General error 3 and
// returns false, with errno telling why.
[[nodiscard]] bool SaveResultList(Reporter& reporter, const ResultList& list,
                                  std::string_view path);

}  // namespace quillmar
