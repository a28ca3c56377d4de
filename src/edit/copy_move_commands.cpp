#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "edit/system_exclusive_images.h"
#include "edit/track_selection.h"
#include "lists/text_helpers.h"
#include "model/timed_events.h"
#include "platform/encoding.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

// A tick that a track can hold: not before the start, not beyond the longest delta.
[[nodiscard]] bool IsPlace(Reporter& reporter, Ticks tick) {
  if (tick >= 0 && tick <= static_cast<Ticks>(kMaxVarLen)) return true;
  ReportMessage(reporter, kGeneralMessage);
  return false;
}

// The first track of the channel; none when there is none.
std::optional<int> FirstTrackOfChannel(const MidiF1Data& song, std::int32_t channel) {
  for (int index = 0; index < song.TrackCount(); ++index) {
    if (song.Track(index).GetChannel() == channel) return index;
  }
  return std::nullopt;
}

// A new track holding only the name "blank".
MidiTrackData BlankTrack(const MidiF1Data& song) {
  MidiTrackData track(song.Context(), song.Form());
  // A new track has room for its name.
  static_cast<void>(track.Append(MakeMetaText(MetaType::SequenceName, "blank")));
  track.AppendEndOfTrack();
  return track;
}

// Copy Chanel=D with position Chanel=S or Chanel=S;condition.
void CopyChannelTrack(MidiF1Data& song, const EventKeyword& target, const EventKeyword& source,
                      std::string_view position) {
  if (source.key != "Chanel") {
    ReportMessage(song.Context().Reports(), kEditListError);
    return;
  }
  const std::int32_t to = ZeroBased(target.number);
  const std::vector<std::string> parts = SplitBySemicolon(position, 3);
  bool copy = parts.size() == 1;
  const std::int32_t from = ZeroBased(LeadingInteger(SplitKeyValue(parts.front()).second));
  if (to < 0 || to > 15 || from < 0 || from > 15) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  if (parts.size() == 2) {
    // The copy is made only when the notes of the source channel meet the condition.
    const KeyOpValue condition = SplitKeyOpValue(parts[1]);
    const auto [low, high] = song.GetNoteRange(from);
    const int bound = ZeroBased(LeadingInteger(condition.value));
    if (SplitKeyValue(parts[0]).first != "Chanel") {
      ReportMessage(song.Context().Reports(), kEditListError);
    } else if (condition.key == "NoteNumber" && condition.op == "<") {
      copy = low >= 0 && high <= bound;
    } else if (condition.key == "!NoteNumber" && condition.op == "<") {
      copy = low < 0 || high > bound;
    } else if (condition.key == "!NoteNumber" && condition.op == ">") {
      copy = low < bound || high > 127;
    } else {
      ReportMessage(song.Context().Reports(), kEditListError);
    }
  }
  if (copy) {
    if (const std::optional<int> index = FirstTrackOfChannel(song, from)) {
      MidiTrackData track(song.Track(*index));
      track.ChangeChannel(from, to);
      // A full song has reported F1InternalError; the copy's channel is cleaned all the same.
      static_cast<void>(song.AppendTrack(std::move(track)));
    }
  }
  // The tracks of the new channel keep only their names and notes and channel events.
  ForEachTrack(song, ChannelSelection::One(to), [](MidiTrackData& track) {
    track.DeleteMasterVolume();
    track.DeleteMetaExceptNameAndEnd();
  });
}

// Copy Track=T with position Chanel=S: the first track of channel S goes to index T - 1.
void CopyToTrackIndex(MidiF1Data& song, const EventKeyword& target, const EventKeyword& source) {
  if (target.number <= 0 || source.number <= 0) {
    ReportMessage(song.Context().Reports(), kEditListError);
    return;
  }
  const std::optional<int> from = FirstTrackOfChannel(song, source.number - 1);
  if (!from) return;
  MidiTrackData copy(song.Track(*from));
  const int index = target.number - 1;
  if (index < song.TrackCount()) {
    song.ReplaceTrack(index, std::move(copy));
    return;
  }
  const int at = index + (HasConductorTrack(song) ? 1 : 0);
  if (at >= MidiF1Data::kMaxTracks) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);  // a song holds no more tracks
    return;
  }
  // `at` is below kMaxTracks, so each of these appends finds room.
  while (song.TrackCount() < at) {
    if (!song.AppendTrack(BlankTrack(song))) return;
  }
  static_cast<void>(song.AppendTrack(std::move(copy)));
}

// Move Note=Beat=1 #N: the first note at tick 0 of each track, and what follows it before
// tick N, start at tick N.
void MoveFirstBeat(MidiF1Data& song, std::string_view position) {
  const Ticks start = LeadingInteger(position.substr(1));
  if (!IsPlace(song.Context().Reports(), start)) return;
  ForEachTrack(song, ChannelSelection::Every(), [start](MidiTrackData& track) {
    Ticks previous = 0;
    bool moving = false;
    for (auto [old_time, event] : TimedEvents(track.Events())) {
      if (!moving && old_time == 0 && event.IsNote()) moving = true;
      const Ticks new_time = moving && old_time < start ? start : old_time;
      event.delta = static_cast<std::int32_t>(new_time - previous);
      previous = new_time;
    }
  });
}

// Move LoopSysExStart or LoopSysExStop from the first track into the second, keeping times.
void MoveLoopMessages(MidiF1Data& song, std::string_view image) {
  if (song.TrackCount() < 2) return;
  MidiTrackData& first = song.Track(0);
  MidiTrackData& second = song.Track(1);
  std::vector<std::pair<Ticks, MusicEvent>> moved;
  for (auto [time, event] : TimedEvents(first.Events())) {
    if (!event.IsSysEx() || event.data.empty() ||
        image.substr(0, event.data.size()) != event.data) {
      continue;
    }
    moved.emplace_back(time, event);
    event.kind = EventKind::Removed;
  }
  if (moved.empty()) return;
  first.PurgeRemoved();
  // A full track has reported TooMuchData for each message it could not take.
  for (auto& [at, event] : moved) static_cast<void>(second.InsertAtTime(at, std::move(event)));
}

// Takes the first event of the kind out of each track and puts it in again at the tick.
void MoveFirstEvent(MidiF1Data& song, const EventKeyword& keyword, bool first_track_only,
                    Ticks position) {
  const int tracks = first_track_only ? std::min(song.TrackCount(), 1) : song.TrackCount();
  for (int index = 0; index < tracks; ++index) {
    MidiTrackData& track = song.Track(index);
    const std::optional<int> at = track.FindEvent(keyword.kind, keyword.sub);
    if (!at) continue;
    MusicEvent event = track.Event(*at);
    track.DeleteAt(*at);
    event.delta = 0;
    static_cast<void>(track.InsertAtTime(position, std::move(event)));  // room: one went out
  }
}

}  // namespace

void RunCopy(const EditRow& row, MidiF1Data& song, EditEnvironment&) {
  const EventKeyword target = ParseEventKeyword(song.Context().Reports(), row.target.text);
  if (target.refused) return;
  // The position is a tick, or a second keyword (the position is then 0).
  Ticks position = 0;
  EventKeyword source;
  const bool is_tick = row.position.Is(RowPosition::Form::kTick);
  if (is_tick) {
    position = row.position.number;
  } else {
    source = ParseEventKeyword(song.Context().Reports(), row.position.text);
  }
  if (target.kind == KindCode::kUnknown) {
    ReportMessage(song.Context().Reports(), kEditListError);
  } else if (target.key == "Chanel") {
    if (is_tick) {
      ReportMessage(song.Context().Reports(), kEditListError);
    } else {
      CopyChannelTrack(song, target, source, row.position.text);
    }
  } else if (target.key == "Track") {
    CopyToTrackIndex(song, target, source);
  } else if (target.kind == KindCode::kQualifier) {
    ReportMessage(song.Context().Reports(), kEditListError);
  } else if (IsPlace(song.Context().Reports(), position)) {
    // The first event of the kind in each track, copied to the tick.
    ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
      const std::optional<int> at = track.FindEvent(target.kind, target.sub);
      if (!at) return;
      MusicEvent copy = track.Event(*at);
      copy.delta = 0;
      // A full track has reported TooMuchData; the other tracks still get their copy.
      static_cast<void>(track.InsertAtTime(position, std::move(copy)));
    });
  }
}

void RunMove(const EditRow& row, MidiF1Data& song, EditEnvironment&) {
  const EventKeyword keyword = ParseEventKeyword(song.Context().Reports(), row.target.text);
  if (keyword.refused) return;
  const bool at_end = row.position.Is(RowPosition::Form::kEnd);
  if (keyword.kind == KindCode::kUnknown) {
    ReportMessage(song.Context().Reports(), kEditListError);
  } else if (keyword.kind == KindCode::kNote) {
    if (keyword.value_text == "Beat=0") {
      ShowMessageBox(song.Context().Reports(),
                     Sjis("Beat=0の書式は変更になりました。\rBeat=1と記述してください。"));
    } else if (keyword.value_text == "Beat=1" && row.position.text.starts_with("#")) {
      MoveFirstBeat(song, row.position.text);
    } else {
      ReportMessage(song.Context().Reports(), kEditListError);
    }
  } else if (keyword.key == "LoopSysExStart" || keyword.key == "LoopSysExStop") {
    if (row.channel.old_track != "1") {
      ReportMessage(song.Context().Reports(), kEditListError);
      return;
    }
    MoveLoopMessages(song, keyword.value_text);
  } else if (keyword.kind == KindCode::kQualifier) {
    ReportMessage(song.Context().Reports(), kEditListError);
  } else if (at_end) {
    ReportMessage(song.Context().Reports(), kEditOrOrderListError);
  } else {
    const Ticks position = row.position.number;
    if (IsPlace(song.Context().Reports(), position))
      MoveFirstEvent(song, keyword, row.channel.old_track == "MasterTrack", position);
  }
}

}  // namespace quillmar
