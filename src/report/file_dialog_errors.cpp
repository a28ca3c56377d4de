#include "report/file_dialog_errors.h"

#include "report/message_table.h"
#include "report/report.h"

namespace quillmar {

const std::string& FileDialogErrorText(unsigned code) {
  // Several texts end with a blank that belongs to them.
  static const MessageTable table(
      {
          {1, "初期化構造体の lStructSize メンバが無効です。"},
          {2, "処理に失敗しました。もう１度クリックしてみてください。"},
          {3,
           "初期化構造体の Flags メンバに ENABLETEMPLATE フラグがセットされていますが、"
           "対応するテンプレートが正しく提供されませんでした。 "},
          {4,
           "初期化構造体の Flags メンバに ENABLETEMPLATE フラグがセットされていますが、"
           "対応するインスタンスハンドルが正しく提供されませんでした。 "},
          {5, "文字列のロードに失敗しました。"},
          {6, "リソースを見つけられませんでした。"},
          {7, "リソースのロードに失敗しました。 "},
          {8, "リソースのロックに失敗しました。"},
          {9, "内部の構造体のメモリ確保に失敗しました。"},
          {10, "ハンドルに関連付けられているメモリをロックできませんでした。 "},
          {11,
           "初期化構造体の Flags メンバに ENABLEHOOK フラグがセットされていますが、"
           "対応するフックプロシージャを指すポインタが正しく提供されませんでした。 "},
          {12,
           "コモンダイアログボックス関数に呼び出された RegisterWindowMessage 関数が、"
           "エラーコードを返しました。"},
          {0x3001, "メモリ不足のため、リストボックスをサブクラス化できませんでした。 "},
          {0x3002, "ファイル名が無効です。 "},
          {0x3003,
           "OPENFILENAME 構造体の lpstrFile メンバが指すバッファが小さすぎて、"
           "ユーザーが指定したファイル名が入り切りません。LpstrFile バッファの最初の 2 "
           "バイトに、名前全体を受け取るために必要なバイト数 (ANSI 版) または文字数 "
           "(Unicode 版) を格納します。 "},
          {0xFFFF,
           "ダイアログボックスが作成できませんでした。たとえば、無効なウィンドウの"
           "ハンドルが指定されたときに発生します。 "},
      },
      "未定義のエラーです。");
  return table.Text(code);
}

void ReportFileDialogError(Reporter& reporter, unsigned code) {
  if (code != 0) ShowMessageBox(reporter, FileDialogErrorText(code));
}

}  // namespace quillmar
