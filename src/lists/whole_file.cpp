#include "lists/whole_file.h"

#include "lists/general_error.h"
#include "platform/files.h"
#include "report/report.h"

namespace quillmar {

bool ReadWholeFile(Reporter& reporter, std::string_view path, std::string& out) {
  if (!ReadFileBytes(path, kWholeFileLimit, out)) {
    ReportGeneralError(reporter, kFileNotOpened);
    return false;
  }
  if (out.size() == kWholeFileLimit) ReportGeneralError(reporter, kDataTooLarge);
  return true;
}

void TakeWholeImage(Reporter& reporter, std::string_view bytes, std::string& out) {
  out.assign(bytes.substr(0, kWholeFileLimit));
  if (out.size() == kWholeFileLimit) ReportGeneralError(reporter, kDataTooLarge);
}

bool WriteWholeFile(Reporter& reporter, std::string_view path, std::string_view bytes) {
  if (WriteFileReplacing(path, bytes)) return true;
  ReportGeneralError(reporter, kFileNotOpened);
  ReportDetail(reporter, path);
  return false;
}

}  // namespace quillmar
