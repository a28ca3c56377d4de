#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "edit/channel_selection.h"
#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "lists/text_helpers.h"
#include "model/timed_events.h"
#include "platform/encoding.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

// A system exclusive message of the keyword's class that begins with its value (any of
// the class for an empty value). For the loop messages the value is their 11-byte image.
bool HasSysEx(MidiF1Data& song, const EventKeyword& keyword) {
  const auto matches = [&keyword](const MusicEvent& event) {
    return event.IsSysEx() && (keyword.sub == -1 || event.type == keyword.sub) &&
           std::string_view(event.data).starts_with(keyword.value_text);
  };
  bool found = false;
  ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
    if (std::ranges::any_of(track.Events(), matches)) found = true;
  });
  return found;
}

constexpr Ticks kEveryTick = std::numeric_limits<Ticks>::min();

// Gives every note of the track at the tick (every note for kEveryTick) that lasts `bound`
// ticks or more the gate bound - 1, with a detail line for each.
void LimitGates(MidiTrackData& track, std::int32_t bound, Ticks tick) {
  static const std::string kShortened = Sjis("音を縮めました。");
  for (auto [time, event] : TimedEvents(track.Events())) {
    if (!event.IsNote() || event.gate < bound || (tick != kEveryTick && time != tick)) continue;
    event.gate = bound - 1;
    ReportDetail(track.Context().Reports(), kShortened);
  }
}

}  // namespace

// Reports a marker or a system exclusive message that the song lacks. The line goes
// through ReportText, which gives it the indent of every finding.
void RunCheck(const EditRow& row, MidiF1Data& song, EditEnvironment&) {
  static const std::string kNotFound = Sjis("がありませんでした。");
  static const std::string kNoSysEx = Sjis("エクスクルーシブがありませんでした。");
  const EventKeyword keyword = ParseEventKeyword(song.Context().Reports(), row.target.text);
  if (keyword.kind == KindCode::kMeta && keyword.sub == MetaType::Marker) {
    if (!song.FindMarker(keyword.value_text))
      ReportText(song.Context().Reports(), keyword.value_text + kNotFound);
  } else if (keyword.kind == KindCode::kSysExF0) {
    if (!HasSysEx(song, keyword)) ReportText(song.Context().Reports(), kNoSysEx);
  }
}

// GateTime<bound; the channel cell names a track channel 0-15 as it stands ("-" every
// track), the position a tick ("-" every tick). Other targets do nothing.
void RunLimit(const EditRow& row, MidiF1Data& song, EditEnvironment&) {
  const KeyOpValue& target = row.target.parts;
  if (target.key != "GateTime" || target.op != "<") return;
  const std::int32_t bound = row.target.number;
  if (bound <= 1) {  // the notes would lose all their length
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  const Ticks tick = row.position.Is(RowPosition::Form::kNone) ? kEveryTick : row.position.number;
  ForEachTrack(song, row.channel, [&](MidiTrackData& track) { LimitGates(track, bound, tick); });
}

}  // namespace quillmar
