#include "lists/general_error.h"

#include "report/message_table.h"
#include "report/report.h"

namespace quillmar {

void ReportGeneralError(Reporter& reporter, int code) {
  static const MessageTable table(
      {
          {kDataTooLarge, "データが大きすぎます。"},
          {kOutOfMemory, "メモリーが不足しています。"},
          {kFileNotOpened,
           "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。"},
      },
      "Generalでエラーが発生しました。");
  ReportText(reporter, table.Text(static_cast<unsigned>(code)));
}

}  // namespace quillmar
