#include "edit/event_keyword.h"

#include <array>

#include "edit/system_exclusive_images.h"
#include "lists/text_helpers.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

struct KeywordEntry {
  std::string_view key;
  int kind;
  int sub;
};

// The keys in the order they are matched ("Chanel" is spelled as the lists spell it).
constexpr std::array<KeywordEntry, 39> kKeywords{{
    {"ProgramChange", KindCode::kProgramChange, -1},
    {"PitchBend", KindCode::kPitchBend, -1},
    {"ControlChange", KindCode::kControlChange, 55},
    {"PitchBendSensitivity", KindCode::kQualifier, -1},
    {"DataEntryLSB", KindCode::kControlChange, 38},
    {"DataEntryMSB", KindCode::kControlChange, 6},
    {"RPNMSB", KindCode::kControlChange, 101},
    {"RPNLSB", KindCode::kControlChange, 100},
    {"ChanelVolume", KindCode::kControlChange, 7},
    {"BankSelectMSB", KindCode::kControlChange, 0},
    {"BankSelectLSB", KindCode::kControlChange, 32},
    {"Pan", KindCode::kControlChange, 10},
    {"Modulation", KindCode::kControlChange, 1},
    {"ExpressionMSB", KindCode::kControlChange, 11},
    {"ExpressionLSB", KindCode::kControlChange, 43},
    {"Marker", KindCode::kMeta, MetaType::Marker},
    {"Text", KindCode::kMeta, MetaType::Text},
    {"Lyric", KindCode::kMeta, MetaType::Lyric},
    {"KeySignature", KindCode::kMeta, MetaType::KeySignature},
    {"SequenceName", KindCode::kMeta, MetaType::SequenceName},
    {"TimeSign", KindCode::kMeta, MetaType::TimeSign},
    {"Copyright", KindCode::kMeta, MetaType::Copyright},
    {"Tempo", KindCode::kMeta, MetaType::Tempo},
    {"CuePoint", KindCode::kMeta, MetaType::CuePoint},
    {"SequencerSpecific", KindCode::kMeta, MetaType::SequencerSpecific},
    {"SysExF0", KindCode::kSysExF0, -1},
    {"SysExF7", KindCode::kSysExF7, -1},
    {"LoopSysExStart", KindCode::kSysExF0, -1},
    {"LoopSysExStop", KindCode::kSysExF0, -1},
    {"MasterVolume", KindCode::kSysExF0, SysExClass::MasterVolume},
    {"VoiceMode", KindCode::kSysExF0, SysExClass::VoiceMode},
    {"Note", KindCode::kNote, -1},
    {"Velocity", KindCode::kNote, -1},
    {"GateTime", KindCode::kNote, -1},
    {"Top", KindCode::kQualifier, -1},
    {"Track", KindCode::kQualifier, -1},
    {"Chanel", KindCode::kQualifier, -1},
    {"Beat", KindCode::kQualifier, -1},
    {"File", KindCode::kQualifier, -1},
}};

}  // namespace

EventKeyword ParseEventKeyword(Reporter& reporter, std::string_view cell) {
  EventKeyword keyword;
  auto [key, value_text] = SplitKeyValue(cell);
  const auto [first_part, remainder] = SplitKeyValue(value_text);
  keyword.number = LeadingInteger(first_part);
  keyword.key = std::move(key);
  keyword.value_text = std::move(value_text);
  for (const KeywordEntry& entry : kKeywords) {
    if (entry.key != keyword.key) continue;
    keyword.kind = entry.kind;
    keyword.sub = entry.sub;
    if (entry.key == "ControlChange") {
      if (keyword.number != 55) {
        ReportMessage(reporter, kUnsupportedController);
        keyword.refused = true;
      } else if (remainder.empty()) {
        keyword.value_text.clear();
      }
    } else if (entry.key == "LoopSysExStart") {
      keyword.value_text = kLoopStartImage;
    } else if (entry.key == "LoopSysExStop") {
      keyword.value_text = kLoopStopImage;
    }
    return keyword;
  }
  ReportMessage(reporter, kEditOrOrderListError);
  ReportDetail(reporter, keyword.key);
  return keyword;
}

}  // namespace quillmar
