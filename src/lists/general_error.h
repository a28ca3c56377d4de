#pragma once

#include "report/report.h"

namespace quillmar {

// Errors of the "General" context.
enum GeneralErrorCode : int {
  kGeneralInternalError = 0,
  kDataTooLarge = 1,
  kOutOfMemory = 2,
  kFileNotOpened = 3,
};

// Reports the code's text with ReportText; any code outside the table gives
// "Generalでエラーが発生しました。".
void ReportGeneralError(Reporter& reporter, int code);

}  // namespace quillmar
