#include "edit/text_width.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/encoding.h"

namespace quillmar {
namespace {

using FoldCases = std::vector<std::pair<std::string, std::string>>;

void ExpectFolds(void (*fold)(std::string&), const FoldCases& cases) {
  for (const auto& [text, folded] : cases) {
    SCOPED_TRACE(SjisToUtf8(text));
    std::string result = text;
    fold(result);
    EXPECT_EQ(result, folded);
  }
}

TEST(TextWidth, AlphanumericFoldingTurnsFullWidthDigitsAndLettersIntoAscii) {
  ExpectFolds(FoldAlphanumericToHalfWidth,
              {
                  {"", ""},
                  {Sjis("ＡＢＣ１２３"), "ABC123"},
                  {Sjis("０１２３４５６７８９ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
                        "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"),
                   "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
                  // Codes just outside the three runs stay, as do katakana.
                  {"\x82\x4E\x82\x59\x82\x5F\x82\x80\x82\x9B" + Sjis("ア"),
                   "\x82\x4E\x82\x59\x82\x5F\x82\x80\x82\x9B" + Sjis("ア")},
                  // 浮 is 95 82: its trail byte and the next byte are not a full-width digit.
                  {Sjis("浮O浮０表Ａソ１"), Sjis("浮O浮0表Aソ1")},
                  {Sjis("Ａ") + '\0' + Sjis("Ｂ") + '\x82', std::string("A") + '\0' + "B\x82"},
              });
}

TEST(TextWidth, KatakanaFoldingTurnsFullWidthKatakanaIntoHalfWidth) {
  ExpectFolds(FoldKatakanaToHalfWidth,
              {
                  {"", ""},
                  {Sjis("カラオケ ガッツ パン"), Sjis("ｶラｵｹ ｶﾞｯﾂ パﾝ")},
                  {Sjis("アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
                        "ヤユヨワヲンャュョッ"),
                   Sjis("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾜｦﾝｬｭｮｯ")},
                  {Sjis("ガギグゲゴザジズゼゾダヂヅデドバビブベボヴ"),
                   Sjis("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞｳﾞ")},
                  {Sjis("ラリルレロァィゥェォヮパピプペポーあ漢Ａ"),
                   Sjis("ラリルレロァィゥェォヮパピプペポーあ漢Ａ")},
                  // 父 is 95 83: its trail byte and the next byte are not ア.
                  {Sjis("父A父アソ表"), Sjis("父A父ｱｿ表")},
                  {Sjis("ア") + '\0' + Sjis("ガ") + '\x83', Sjis("ｱ") + '\0' + Sjis("ｶﾞ") + '\x83'},
              });
}

}  // namespace
}  // namespace quillmar
