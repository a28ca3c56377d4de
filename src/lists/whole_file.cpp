#include "lists/whole_file.h"

#include "lists/general_error.h"
#include "platform/files.h"
#include "report/report.h"

namespace quillmar {

bool ReadWholeFile(std::string_view path, std::string& out) {
  if (!ReadFileBytes(path, kWholeFileLimit, out)) {
    ReportGeneralError(kFileNotOpened);
    return false;
  }
  if (out.size() == kWholeFileLimit) ReportGeneralError(kDataTooLarge);
  return true;
}

void TakeWholeImage(std::string_view bytes, std::string& out) {
  out.assign(bytes.substr(0, kWholeFileLimit));
  if (out.size() == kWholeFileLimit) ReportGeneralError(kDataTooLarge);
}

bool WriteWholeFile(std::string_view path, std::string_view bytes) {
  if (WriteFileReplacing(path, bytes)) return true;
  ReportGeneralError(kFileNotOpened);
  ReportDetail(path);
  return false;
}

}  // namespace quillmar
