#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "edit/system_exclusive_images.h"
#include "edit/track_selection.h"
#include "lists/text_helpers.h"
#include "report/message_catalogue.h"

namespace quillmar {
namespace {

constexpr int kChannels = 16;

// A channel message with its fields and, as read ones have, its bytes as data.
MusicEvent MakeChannelEvent(EventKind kind, std::int32_t channel, std::int32_t first,
                            std::int32_t second) {
  MusicEvent event(0);
  event.kind = kind;
  event.channel = channel;
  const int status = static_cast<int>(kind) | channel;
  event.data = {static_cast<char>(status), static_cast<char>(first)};
  switch (kind) {
    case EventKind::ControlChange:
      event.type = first;
      event.value = second;
      event.data.push_back(static_cast<char>(second));
      break;
    case EventKind::ProgramChange:
      event.value = first;
      break;
    default:  // a pitch bend: the low and the high seven bits
      event.note = first;
      event.value = second;
      event.data.push_back(static_cast<char>(second));
      break;
  }
  return event;
}

bool InMidiRange(std::int64_t value) {
  return value >= 0 && value <= 127;
}

// The row's position: a tick, or the end of the track.
struct Position {
  bool end = false;
  Ticks tick = 0;
};

// Inserts at the position; the end reports message 12 and inserts nothing.
void InsertOrRefuseEnd(MidiTrackData& track, const Position& position, MusicEvent event) {
  if (position.end) {
    ReportMessage(track.Context().Reports(), kEditOrOrderListError);
    return;
  }
  InsertAtPosition(track, position.tick, std::move(event));
}

// Calls `add` with each track of the channels the channel cell names (every channel: 0 to 15
// in turn), tracks in song order.
void ForEachChannelTrack(MidiF1Data& song, const ChannelSelection& channels,
                         const std::function<void(MidiTrackData&, std::int32_t)>& add) {
  const int first = channels.every ? 0 : channels.channel;
  const int last = channels.every ? kChannels - 1 : channels.channel;
  for (int each = first; each <= last; ++each) {
    ForEachTrack(song, ChannelSelection::One(each),
                 [&](MidiTrackData& track) { add(track, each); });
  }
}

// The number formed by the leading digits of a track's name; none without a leading digit.
std::optional<int> LeadingNumberOfName(const MidiTrackData& track) {
  const std::string name = TrackName(track);
  if (name.empty() || name[0] < '0' || name[0] > '9') return std::nullopt;
  return LeadingInteger(name);
}

// Controller 55: a number, or with "55=SequenceName" the leading digits of each track's name.
void AddController55(MidiF1Data& song, const ChannelSelection& channels,
                     const EventKeyword& keyword, const Position& position) {
  const std::string value = SplitKeyValue(keyword.value_text).second;
  const bool from_names = value == "SequenceName";
  const int number = LeadingInteger(value);
  if (!from_names && !InMidiRange(number)) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  ForEachChannelTrack(song, channels, [&](MidiTrackData& track, std::int32_t each) {
    std::optional<int> controller_value = number;
    if (from_names) {
      controller_value = track.IsMetaOnly() ? std::nullopt : LeadingNumberOfName(track);
      if (controller_value && !InMidiRange(*controller_value)) {
        ReportMessage(song.Context().Reports(), kGeneralMessage);
        controller_value.reset();
      }
    }
    if (!controller_value) return;
    InsertOrRefuseEnd(track, position,
                      MakeChannelEvent(EventKind::ControlChange, each, 55, *controller_value));
  });
}

void AddControlChange(MidiF1Data& song, const EditRow& row, const EventKeyword& keyword,
                      const Position& position) {
  const ChannelSelection& channels = row.channel;
  switch (keyword.sub) {
    case 0:
    case 32:
      if (!InMidiRange(keyword.number)) {
        ReportMessage(song.Context().Reports(), kGeneralMessage);
        return;
      }
      ForEachChannelTrack(song, channels, [&](MidiTrackData& track, std::int32_t each) {
        InsertOrRefuseEnd(
            track, position,
            MakeChannelEvent(EventKind::ControlChange, each, keyword.sub, keyword.number));
      });
      return;
    case 7: {
      // Only for the named tracks of one channel, at their very start.
      const auto qualifier = SplitKeyValue(row.position.text);
      const std::string& name = qualifier.second;
      if (channels.every || qualifier.first != "SequenceName") return;
      if (!InMidiRange(keyword.number)) {
        ReportMessage(song.Context().Reports(), kGeneralMessage);
        return;
      }
      ForEachChannelTrack(song, channels, [&](MidiTrackData& track, std::int32_t each) {
        if (!NameEndsWith(track, name)) return;
        // A full track has reported TooMuchData; the other tracks still get theirs.
        static_cast<void>(
            track.InsertAt(0, MidiTrackData::Place::Before,
                           MakeChannelEvent(EventKind::ControlChange, each, 7, keyword.number)));
      });
      return;
    }
    case 55:
      AddController55(song, channels, keyword, position);
      return;
    default:
      ReportMessage(song.Context().Reports(), kUnsupportedController);
      return;
  }
}

// A program change (programs 1-128 in the list) or a pitch bend (0 is the centre) into every
// track of the channel, or every track with a channel for "-". The value is 64 bits wide, so
// that a cell's number with its offset (+64 for a bend) cannot overflow before the check.
void AddToChannelTracks(MidiF1Data& song, const EditRow& row, EventKind kind, std::int64_t wide,
                        const Position& position) {
  if (!InMidiRange(wide)) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  const auto value = static_cast<std::int32_t>(wide);
  ForEachTrack(
      song, row.channel,
      [&](MidiTrackData& track) {
        const std::int32_t track_channel = track.GetChannel();
        MusicEvent event = kind == EventKind::ProgramChange
                               ? MakeChannelEvent(kind, track_channel, value, 0)
                               : MakeChannelEvent(kind, track_channel, 0, value);
        InsertOrRefuseEnd(track, position, std::move(event));
      },
      TrackScope::kWithChannel);
}

void AddTempo(MidiF1Data& song, int bpm, const Position& position) {
  // 60000 / bpm whole milliseconds must give a tempo that three bytes hold and is not 0.
  if (bpm < 4 || bpm > 60000 || song.TrackCount() == 0) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  MusicEvent tempo(0);
  tempo.MakeTempo(*BpmToTempo(bpm));  // bpm is not 0
  InsertOrRefuseEnd(song.Track(0), position, std::move(tempo));
}

struct FixedMessage {
  std::string_view name;
  std::string_view image;
};
constexpr std::array<FixedMessage, 3> kFixedMessages{{{"LoopSysExStart", kLoopStartImage},
                                                      {"LoopSysExStop", kLoopStopImage},
                                                      {"GMSystemOn", kGmSystemOnImage}}};

// The fixed messages named by the whole target cell, into the system exclusive track; false
// for any other cell.
[[nodiscard]] bool AddFixedMessage(MidiF1Data& song, std::string_view target,
                                   const Position& position) {
  const auto message = std::find_if(kFixedMessages.begin(), kFixedMessages.end(),
                                    [&](const FixedMessage& m) { return m.name == target; });
  if (message == kFixedMessages.end() || song.TrackCount() == 0) return false;
  MidiTrackData& track = song.Track(SysExTargetTrack(song));
  if (message->image == kLoopStopImage && position.end) {
    // In front of the last event, so at the time of the last event before the end.
    // A full track has reported TooMuchData; the row is done all the same.
    static_cast<void>(track.InsertAt(track.Count() - 1, MidiTrackData::Place::Before,
                                     MakeSysExEvent(kLoopStopImage)));
  } else {
    InsertOrRefuseEnd(track, position, MakeSysExEvent(message->image));
  }
  return true;
}

// The old ways of writing a row: a notice once, and nothing else.
bool ShowsOldSyntaxNotice(Reporter& reporter, const EditRow& row, EditNotices& notices) {
  if (row.target.text == "MasterVolumeMax") {
    notices.ShowOnce(reporter, EditNotice::MasterVolumeMax);
  } else if (row.target.text == "PitchBendZero") {
    notices.ShowOnce(reporter, EditNotice::PitchBendZero);
  } else if (row.target.text == "Tempo" &&
             (row.channel.text == "-" || LeadingInteger(row.channel.text) != 0)) {
    notices.ShowOnce(reporter, EditNotice::Tempo);
  } else {
    return false;
  }
  return true;
}

}  // namespace

void RunAdd(const EditRow& row, MidiF1Data& song, EditEnvironment& environment) {
  Position position;
  position.end = row.position.Is(RowPosition::Form::kEnd);
  if (!position.end) position.tick = row.position.number;
  if (ShowsOldSyntaxNotice(song.Context().Reports(), row, environment.notices)) return;
  // A tick before the start, or later than a track can say, is no place in a song.
  if (position.tick < 0 || position.tick > static_cast<Ticks>(kMaxVarLen)) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  if (AddFixedMessage(song, row.target.text, position)) return;

  const EventKeyword keyword = ParseEventKeyword(song.Context().Reports(), row.target.text);
  if (keyword.refused) return;
  switch (keyword.kind) {
    case KindCode::kControlChange:
      AddControlChange(song, row, keyword, position);
      return;
    case KindCode::kProgramChange:
      AddToChannelTracks(song, row, EventKind::ProgramChange, ZeroBased(keyword.number), position);
      return;
    case KindCode::kPitchBend:
      AddToChannelTracks(song, row, EventKind::PitchBend, std::int64_t{keyword.number} + 64,
                         position);
      return;
    default:
      break;
  }
  if (keyword.kind == KindCode::kSysExF0 && keyword.sub == SysExClass::MasterVolume &&
      song.TrackCount() > 0) {
    int volume = keyword.number;
    if (!InMidiRange(volume)) {
      ReportMessage(song.Context().Reports(), kGeneralMessage);
      volume = 127;
    }
    InsertOrRefuseEnd(song.Track(SysExTargetTrack(song)), position, MakeMasterVolumeEvent(volume));
  } else if (keyword.kind == KindCode::kMeta && keyword.sub == MetaType::Tempo) {
    AddTempo(song, keyword.number, position);
  } else {
    ReportMessage(song.Context().Reports(), kEditListError);
  }
}

}  // namespace quillmar
