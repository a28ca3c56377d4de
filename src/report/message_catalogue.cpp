#include "report/message_catalogue.h"

#include <algorithm>
#include <array>

#include "platform/encoding.h"
#include "report/message_table.h"
#include "report/report.h"

namespace quillmar {

const std::string& MessageText(int code) {
  static const MessageTable table(
      {
          {1, "OCXが登録されていません。readme.txtを読んでOCXを登録してください。"},
          {2,
           "ボリュームが設定されていないチャネルがあったので、１００を基準に計算して値を"
           "設定しました。"},
          {4, "オクターブの指定方法に誤りがありました。"},
          {5, "代替音色の指定方法に誤りがありました。"},
          {6, "ドラムの代替音色の指定方法に誤りがありました。"},
          {7, "パンが設定されていないチャネルがあったので、64を基準に計算して値を設定しました。"},
          {8, "オクターブのシフトで音域を越えるため、シフトできない音がありました。"},
          {9, "ソングタイトルが設定されていませんでした。"},
          {10, "著作権情報が設定されていませんでした。"},
          {11, "編集リストに誤りがあります。"},
          {12, "編集リストか順序リストに誤りがあります。"},
          {13, "編集リストで、削除の位置に誤りがあります。"},
          {14, "リストファイルの名前から種別を特定できませんでした。"},
          {15, "すでにリスト内に登録されているMidiファイルです。"},
          {16,
           "音量の設定のないトラックがありましたが、同じチャネルの他のトラックで設定されている"
           "ので、設定しませんでした。"},
          {17,
           "編集リストのコントロールチェンジの追加か削除でサポートされていない番号が指定されま"
           "した。"},
          {18, "ゲートタイムを操作した結果、発音されなくなった音があります。"},
      },
      "エラーがおきました。");
  return table.Text(static_cast<std::uint32_t>(code));
}

const std::string& UnusableFileText() {
  static const std::string text = Sjis("このファイルは使用できません。");
  return text;
}

void ReportMessage(Reporter& reporter, int code) {
  // The messages that say a list or a row of it is wrong; the others tell what a row did.
  constexpr std::array kListErrors = {kGeneralMessage,    kBadOctave,
                                      kBadSubstituteTone, kBadDrumSubstitute,
                                      kEditListError,     kEditOrOrderListError,
                                      kBadDeletePosition, kUnsupportedController};
  const bool list_error =
      std::find(kListErrors.begin(), kListErrors.end(), code) != kListErrors.end();
  ReportText(reporter, MessageText(code), list_error ? Finding::ListError : Finding::Other);
}

}  // namespace quillmar
