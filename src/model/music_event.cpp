#include "model/music_event.h"

#include <utility>

#include "report/message_table.h"
#include "report/report.h"

namespace quillmar {

MusicEvent::MusicEvent(MusicEvent&& other) noexcept
    : kind(other.kind),
      delta(other.delta),
      note(other.note),
      gate(other.gate),
      velocity(other.velocity),
      type(other.type),
      value(other.value),
      channel(other.channel),
      data(std::move(other.data)),
      oversize_reports(other.oversize_reports) {
  other.data.clear();
}

MusicEvent& MusicEvent::operator=(const MusicEvent& other) {
  MusicEvent copy(other);
  swap(*this, copy);
  return *this;
}

MusicEvent& MusicEvent::operator=(MusicEvent&& other) noexcept {
  // The event that stood here leaves through `other`, which reports when it is destroyed.
  swap(*this, other);
  return *this;
}

MusicEvent::~MusicEvent() {
  if (data.size() > kEventDataBlock && oversize_reports != nullptr) {
    ReportMusicEventError(*oversize_reports, kEventDataTooLarge);
  }
}

void swap(MusicEvent& a, MusicEvent& b) noexcept {
  using std::swap;
  swap(a.kind, b.kind);
  swap(a.delta, b.delta);
  swap(a.note, b.note);
  swap(a.gate, b.gate);
  swap(a.velocity, b.velocity);
  swap(a.type, b.type);
  swap(a.value, b.value);
  swap(a.channel, b.channel);
  a.data.swap(b.data);
  swap(a.oversize_reports, b.oversize_reports);
}

std::uint8_t MusicEvent::DataByte(std::size_t index) const {
  return index < data.size() ? static_cast<std::uint8_t>(data[index]) : 0;
}

void MusicEvent::MakeTempo(std::int32_t microseconds_per_quarter) {
  kind = EventKind::Meta;
  channel = kNoChannel;
  type = MetaType::Tempo;
  value = microseconds_per_quarter;
  data.push_back(static_cast<char>((microseconds_per_quarter >> 16) & 0xFF));
  data.push_back(static_cast<char>((microseconds_per_quarter >> 8) & 0xFF));
  data.push_back(static_cast<char>(microseconds_per_quarter & 0xFF));
}

bool IsRhythmPartMessage(const MusicEvent& event) {
  if (!event.IsSysEx()) return false;
  const std::uint8_t part = event.DataByte(7);
  return event.DataByte(2) == 0x41 && event.DataByte(3) == 0x10 && event.DataByte(4) == 0x42 &&
         event.DataByte(5) == 0x12 && event.DataByte(6) == 0x40 && part >= 0x11 && part <= 0x1F &&
         event.DataByte(8) == 0x15;
}

bool IsMasterVolumeMessage(const MusicEvent& event) {
  return event.IsSysEx() && event.type == SysExClass::MasterVolume && !IsRhythmPartMessage(event);
}

void MusicEvent::ClassifySysEx() {
  auto body_is = [this](std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, std::uint8_t b5) {
    return DataByte(2) == b2 && DataByte(3) == b3 && DataByte(4) == b4 && DataByte(5) == b5 &&
           DataByte(8) == 0xF7;
  };
  if (IsRhythmPartMessage(*this)) {
    const int part = DataByte(7) - 0x10;
    type = SysExClass::MasterVolume;
    channel = part <= 9 ? part - 1 : part;
  } else if (body_is(0x7F, 0x7F, 0x04, 0x01)) {
    type = SysExClass::MasterVolume;
    value = DataByte(7);
  } else if (body_is(0x43, 0x79, 0x06, 0x7F)) {
    type = SysExClass::VoiceMode;
  } else {
    type = SysExClass::Other;
  }
}

bool IsTextMetaType(std::int32_t meta_type) {
  return (meta_type >= MetaType::Text && meta_type <= MetaType::CuePoint) ||
         meta_type == MetaType::SequencerSpecific;
}

std::int32_t TimeSignCode(int numerator, int denominator_power) {
  if (numerator == 1 && denominator_power == 1) return 2;
  if (numerator == 4 && denominator_power == 2) return 4;
  if (numerator == 3 && denominator_power == 2) return 3;
  if (numerator == 6 && denominator_power == 3) return 6;
  return 0;
}

void ReportMusicEventError(Reporter& reporter, std::uint32_t code) {
  static const MessageTable table({{kEventDataTooLarge, "イベントのデータサイズが大きすぎます。"}},
                                  "MusicEventでエラーが発生しました。");
  ReportText(reporter, table.Text(code));
}

}  // namespace quillmar
