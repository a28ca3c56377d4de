#pragma once

#include <string>

#include "report/report.h"

namespace quillmar {

// The Shift_JIS text for a file dialog's extended error code (the platform's common dialog
// codes); any unknown code gives "未定義のエラーです。".
const std::string& FileDialogErrorText(unsigned code);

// Shows the text of a non-zero code in a message box; code 0 (the user cancelled) shows
// nothing. Never writes to the result list.
void ReportFileDialogError(Reporter& reporter, unsigned code);

}  // namespace quillmar
