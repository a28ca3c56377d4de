#include "edit/event_keyword.h"

#include <gtest/gtest.h>

#include "edit/edit_fixture.h"

namespace quillmar::testing {
namespace {

TEST(EventKeyword, EveryKeyGivesItsKindAndSub) {
  struct Case {
    const char* key;
    int kind;
    int sub;
  };
  const Case cases[] = {
      {"ProgramChange", 192, -1},
      {"PitchBend", 224, -1},
      {"PitchBendSensitivity", -1, -1},
      {"DataEntryLSB", 176, 38},
      {"DataEntryMSB", 176, 6},
      {"RPNMSB", 176, 101},
      {"RPNLSB", 176, 100},
      {"ChanelVolume", 176, 7},
      {"BankSelectMSB", 176, 0},
      {"BankSelectLSB", 176, 32},
      {"Pan", 176, 10},
      {"Modulation", 176, 1},
      {"ExpressionMSB", 176, 11},
      {"ExpressionLSB", 176, 43},
      {"Marker", 255, 6},
      {"Text", 255, 1},
      {"Lyric", 255, 5},
      {"KeySignature", 255, 89},
      {"SequenceName", 255, 3},
      {"TimeSign", 255, 88},
      {"Copyright", 255, 2},
      {"Tempo", 255, 81},
      {"CuePoint", 255, 7},
      {"SequencerSpecific", 255, 127},
      {"SysExF0", 240, -1},
      {"SysExF7", 247, -1},
      {"LoopSysExStart", 240, -1},
      {"LoopSysExStop", 240, -1},
      {"MasterVolume", 240, 1},
      {"VoiceMode", 240, 127},
      {"Note", 16, -1},
      {"Velocity", 16, -1},
      {"GateTime", 16, -1},
      {"Top", -1, -1},
      {"Track", -1, -1},
      {"Chanel", -1, -1},
      {"Beat", -1, -1},
      {"File", -1, -1},
      {"ControlChange=55", 176, 55},
  };
  RecordingSink sink;
  for (const Case& c : cases) {
    const EventKeyword keyword = ParseEventKeyword(sink.Reports(), c.key);
    EXPECT_EQ(keyword.kind, c.kind) << c.key;
    EXPECT_EQ(keyword.sub, c.sub) << c.key;
    EXPECT_FALSE(keyword.refused) << c.key;
  }
  EXPECT_TRUE(sink.Lines().empty());
}

TEST(EventKeyword, ValuesAndRefusals) {
  struct Case {
    const char* cell;
    int kind;
    int number;
    std::string value_text;
    bool refused;
    std::vector<std::string> lines;
  };
  const std::string indent(kReportIndent);
  const Case cases[] = {
      {"Tempo=80", 255, 80, "80", false, {}},
      {"SequenceName=12 Piano=x", 255, 12, "12 Piano=x", false, {}},
      {"ProgramChange", 192, 0, "", false, {}},
      {"ControlChange=55", 176, 55, "", false, {}},
      {"ControlChange=55=SequenceName", 176, 55, "55=SequenceName", false, {}},
      {"LoopSysExStop=3",
       240,
       3,
       std::string("\xF0\x09\x59\x7F\x48\x4D\x02\x0D\x00\x01\xF7", 11),
       false,
       {}},
      {"ControlChange=7",
       176,
       7,
       "7",
       true,
       {indent + "編集リストのコントロールチェンジの追加か削除でサポートされていない番号が指定され"
                 "ました。"}},
      {"programchange=1",
       0,
       1,
       "1",
       false,
       {indent + "編集リストか順序リストに誤りがあります。",
        indent + "   問題のある指定  programchange"}},
      {"Tempo =80",
       0,
       80,
       "80",
       false,
       {indent + "編集リストか順序リストに誤りがあります。", indent + "   問題のある指定  Tempo "}},
  };
  for (const Case& c : cases) {
    RecordingSink sink;
    const EventKeyword keyword = ParseEventKeyword(sink.Reports(), c.cell);
    EXPECT_EQ(keyword.kind, c.kind) << c.cell;
    EXPECT_EQ(keyword.number, c.number) << c.cell;
    EXPECT_EQ(keyword.value_text, c.value_text) << c.cell;
    EXPECT_EQ(keyword.refused, c.refused) << c.cell;
    EXPECT_EQ(sink.Lines(), c.lines) << c.cell;
  }
}

}  // namespace
}  // namespace quillmar::testing
