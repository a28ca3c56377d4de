#pragma once

#include <cstdint>

#include "report/report.h"

namespace quillmar {

// Errors found while reading list files and their numeric cells.
enum ListErrorCode : std::uint32_t {
  kListOpenFailed = 0x1E000001,
  kListDataError = 0x1E000002,
  kListTooManyRows = 0x1E000003,
  kListExtraSpace = 0x1E000004,
};

// Reports the code's text with ReportText; any code outside the table gives
// "エラーがおきました。".
void ListError(Reporter& reporter, std::uint32_t code);

}  // namespace quillmar
