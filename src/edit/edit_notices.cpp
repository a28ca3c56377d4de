#include "edit/edit_notices.h"

#include <string>

#include "platform/encoding.h"
#include "report/report.h"

namespace quillmar {
namespace {

struct NoticeText {
  bool box;               // a message box; otherwise a detail line
  std::string_view utf8;  // message boxes break their lines with a lone CR
};

constexpr std::array<NoticeText, static_cast<std::size_t>(EditNotice::kCount)> kNotices{{
    {true, "MasterVolumeMaxの書式は変更になりました。\rMasterVolume=127と記述してください。"},
    {true, "PitchBendZeroの書式は変更になりました。\rPitchBend=0と記述してください。"},
    {true, "Tempoの書式は変更になりました。\rTempo=80のように記述してください。"},
    {false,
     "「Conv SequenceName=1-Vibe Track=16 -」のような形ではなく「Conv SequenceName=1-Vibe - "
     "Track=16」のように記述してください。"},
    {false,
     "「Conv Velocity=1 Track=16 -」のような形ではなく「Conv Velocity=1 - "
     "Track=16」のように記述してください。"},
    {false,
     "「Conv GateTime=1 Track=16 -」のような形ではなく「Conv GateTime=1 - "
     "Track=16」のように記述してください。"},
    {false,
     "「Conv ProgramChange=127 Track=16 -」のような形ではなく「Conv ProgramChange=127 - "
     "Track=16」のように記述してください。"},
    // ChanelVolume has a flag of its own but the GateTime text.
    {false,
     "「Conv GateTime=1 Track=16 -」のような形ではなく「Conv GateTime=1 - "
     "Track=16」のように記述してください。"},
    {false,
     "「Del Note=0 Track=16 -」のような形ではなく「Del Note=0 - "
     "Track=16」のように記述してください。"},
}};

}  // namespace

void EditNotices::ShowOnce(Reporter& reporter, EditNotice notice) {
  const auto index = static_cast<std::size_t>(notice);
  if (shown_[index]) return;
  shown_[index] = true;
  const std::string text = Sjis(kNotices[index].utf8);
  if (kNotices[index].box) {
    ShowMessageBox(reporter, text);
  } else {
    ReportDetail(reporter, text);
  }
}

}  // namespace quillmar
