#include "lists/list_error.h"

#include "report/message_table.h"
#include "report/report.h"

namespace quillmar {

void ListError(Reporter& reporter, std::uint32_t code) {
  static const MessageTable table(
      {
          {kListOpenFailed,
           "リストファイルが開けません。ドラッグ＆ドロップの操作はコピーではなく、"
           "ショートカットに対して行ってください。"},
          {kListDataError, "リストファイルのデータにエラーがあります。"},
          {kListTooManyRows, "リストの件数が多すぎます。"},
          {kListExtraSpace, "リストファイルに無駄なスペースが含まれています。"},
      },
      "エラーがおきました。");
  ReportText(reporter, table.Text(code), Finding::ListError);
}

}  // namespace quillmar
