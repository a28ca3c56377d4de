#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "edit/track_selection.h"
#include "lists/general_error.h"
#include "lists/text_helpers.h"
#include "model/note_counts.h"
#include "model/timed_events.h"
#include "platform/encoding.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

// Marks the events for which `remove(time, event)` holds (time: the event's absolute time)
// and takes them out; later events keep their times.
void RemoveEvents(MidiTrackData& track,
                  const std::function<bool(Ticks, const MusicEvent&)>& remove) {
  bool any = false;
  for (auto [time, event] : TimedEvents(track.Events())) {
    if (!remove(time, event)) continue;
    event.kind = EventKind::Removed;
    any = true;
  }
  if (any) track.PurgeRemoved();
}

void RemoveNotes(MidiTrackData& track, std::int32_t note) {
  RemoveEvents(track, [&](Ticks, const MusicEvent& e) { return e.IsNote() && e.note == note; });
}

// The track Track=N picks; message 0 when it names none.
[[nodiscard]] MaybeTrack PickedTrack(MidiF1Data& song, std::string_view number) {
  const std::optional<int> index = TrackIndexOf(song, LeadingInteger(number));
  if (!index) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return std::nullopt;
  }
  return song.Track(*index);
}

// Notes of one number by channel or track, or every note after a marker or cue point.
void DeleteNotes(MidiF1Data& song, const EditRow& row, const EventKeyword& keyword,
                 EditNotices& notices) {
  const std::int32_t note = keyword.number;
  const KeyOpValue position = SplitKeyOpValue(row.position.text);
  if (row.position.Is(RowPosition::Form::kNone)) {
    if (row.channel.old_track) {
      notices.ShowOnce(song.Context().Reports(), EditNotice::DelNote);
      if (const MaybeTrack track = PickedTrack(song, *row.channel.old_track)) {
        RemoveNotes(*track, note);
      }
      return;
    }
    ForEachTrack(song, row.channel, [&](MidiTrackData& track) { RemoveNotes(track, note); });
  } else if (row.position.text == "EndCuePoint") {
    ShowMessageBox(
        song.Context().Reports(),
        Sjis("EndCuePointの書式は変更になりました。\rCuePoint=Q0Fのように記述してください。"));
  } else if (row.position.text == "EndMarker") {
    ShowMessageBox(
        song.Context().Reports(),
        Sjis("EndMarkerの書式は変更になりました。\rMarker=STOPのように記述してください。"));
  } else if (position.key == "Track" && position.op == "=") {
    if (const MaybeTrack track = PickedTrack(song, position.value)) RemoveNotes(*track, note);
  } else if ((position.key == "Marker" || position.key == "CuePoint") && position.op == "=") {
    // The song ends at the marker: later notes go, notes sounding across it end there.
    const std::optional<Ticks> cut = position.key == "Marker" ? song.FindMarker(position.value)
                                                              : song.FindCuePoint(position.value);
    if (!cut) {
      ReportMessage(song.Context().Reports(), kBadDeletePosition);
      return;
    }
    song.DeleteKindAfter(*cut, EventKind::Note);
    song.CutNotesAt(*cut);
  } else {
    ReportMessage(song.Context().Reports(), kBadDeletePosition);
  }
}

// Beat=N: the quarter note N is cut out of every track, as described for the command.
void DeleteBeat(MidiF1Data& song, int beat) {
  if (beat < 1) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  const Ticks quarter = song.Division();
  const Ticks start = (beat - 1) * quarter;
  ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
    // The time of the last event at or before the start, 0 when there is none.
    Ticks last_before = 0;
    for (const auto [time, event] : TimedEvents(track.Events())) {
      if (time > start) break;
      last_before = time;
    }
    Ticks previous_new = 0;
    for (auto [old_time, event] : TimedEvents(track.Events())) {
      Ticks new_time = old_time;
      if (old_time > start)
        new_time = old_time <= last_before + quarter ? last_before : old_time - quarter;
      event.delta = static_cast<std::int32_t>(new_time - previous_new);
      previous_new = new_time;
    }
  });
}

// PitchBend=lo:hi: the rising bends whose bend (value - 64) x 128 lies in lo to hi. The
// wheel rests at the centre before a track's first bend.
void DeleteRisingBends(MidiF1Data& song, const ChannelSelection& channels, std::string_view range) {
  const std::optional<std::pair<int, int>> bounds = SplitPair(range);
  if (!bounds) ReportGeneralError(song.Context().Reports(), kGeneralInternalError);
  const int low = bounds ? bounds->first : 0;
  const int high = bounds ? bounds->second : 0;
  if (low >= high) return;
  ForEachTrack(song, channels, [&](MidiTrackData& track) {
    std::int32_t previous = 64;
    RemoveEvents(track, [&](Ticks, const MusicEvent& e) {
      if (!e.IsPitchBend()) return false;
      const bool rises = e.value > previous;
      previous = e.value;
      const std::int32_t bend = (e.value - 64) * 128;
      return rises && bend >= low && bend <= high;
    });
  });
}

bool IsController(const MusicEvent& event, std::int32_t controller, std::optional<int> value) {
  return event.IsController(controller) && (!value || event.value == *value);
}

// Every run of RPN 101 = 0, RPN 100 = 0, data entry 6.
void DeleteBendSensitivity(MidiF1Data& song, const ChannelSelection& channels) {
  ForEachTrack(song, channels, [](MidiTrackData& track) {
    const auto events = track.Events();
    bool any = false;
    for (std::size_t i = 0; i + 2 < events.size(); ++i) {
      if (!IsController(events[i], 101, 0) || !IsController(events[i + 1], 100, 0) ||
          !IsController(events[i + 2], 6, std::nullopt)) {
        continue;
      }
      for (std::size_t k = i; k < i + 3; ++k) events[k].kind = EventKind::Removed;
      any = true;
      i += 2;
    }
    if (any) track.PurgeRemoved();
  });
}

// Whole tracks by name, channel or the song's voice count. A song keeps at least one track,
// empty, so that it is still written as a valid file.
void DeleteTracks(MidiF1Data& song, const EventKeyword& keyword, const EditRow& row) {
  const KeyOpValue position = SplitKeyOpValue(row.position.text);
  std::function<bool(const MidiTrackData&)> named;
  if (position.key == "SequenceName" && position.op == "=") {
    named = [&](const MidiTrackData& t) { return NameContains(t, position.value); };
  } else if (position.key == "Chanel" && position.op == "=") {
    const std::int32_t channel = ZeroBased(LeadingInteger(position.value));
    named = [channel](const MidiTrackData& t) { return t.GetChannel() == channel; };
  } else if (position.key == "Voice" && position.op == ">") {
    static const std::string kVoiceDeleted = Sjis("ボイスを削除しました。");
    // The song's voice count is the sum of the tracks' peaks, drums included.
    const int limit = LeadingInteger(position.value);
    std::vector<int> peaks;
    int voices = 0;
    for (int index = 0; index < song.TrackCount(); ++index) {
      voices += peaks.emplace_back(PeakPolyphony(song.Track(index)));
    }
    for (int index = 0, original = 0; index < song.TrackCount(); ++original) {
      if (voices > limit && NameContains(song.Track(index), keyword.value_text)) {
        voices -= peaks[static_cast<std::size_t>(original)];
        song.DeleteTrack(index);
        AppendResultLine(song.Context().Reports(), kVoiceDeleted);
      } else {
        ++index;
      }
    }
  } else {
    ReportMessage(song.Context().Reports(), kBadDeletePosition);
    return;
  }
  for (int index = song.TrackCount() - 1; named && index >= 0; --index) {
    if (named(song.Track(index))) song.DeleteTrack(index);
  }
  if (song.TrackCount() == 0) {
    MidiTrackData empty(song.Context(), song.Form());
    empty.AppendEndOfTrack();
    static_cast<void>(song.AppendTrack(std::move(empty)));  // a song without tracks has room
  }
}

// Events of one kind, optionally only of one sub, channel, tick or data.
void DeleteGeneric(MidiF1Data& song, const EventKeyword& keyword, const EditRow& row) {
  if (keyword.kind == KindCode::kQualifier) return;
  const Ticks position = row.position.Is(RowPosition::Form::kNone) ? -1 : row.position.number;
  ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
    RemoveEvents(track, [&](Ticks time, const MusicEvent& e) {
      // A master volume or rhythm-part message goes only by its own keyword.
      if (keyword.kind == KindCode::kSysExF0 && keyword.sub == -1 &&
          e.type == SysExClass::MasterVolume) {
        return false;
      }
      return static_cast<int>(e.kind) == keyword.kind &&
             (keyword.sub == -1 || e.type == keyword.sub) && row.channel.Chooses(e.channel) &&
             (position < 0 || time == position) &&
             (keyword.value_text.empty() || e.data == keyword.value_text);
    });
  });
}

}  // namespace

void RunDel(const EditRow& row, MidiF1Data& song, EditEnvironment& environment) {
  const EventKeyword keyword = ParseEventKeyword(song.Context().Reports(), row.target.text);
  if (keyword.refused) return;
  if (keyword.kind == KindCode::kUnknown) {
    ReportMessage(song.Context().Reports(), kEditOrOrderListError);
    return;
  }
  if (keyword.kind == KindCode::kNote) {
    DeleteNotes(song, row, keyword, environment.notices);
  } else if (keyword.key == "Beat") {
    DeleteBeat(song, keyword.number);
  } else if (keyword.key == "PitchBend" && !keyword.value_text.empty()) {
    DeleteRisingBends(song, row.channel, keyword.value_text);
  } else if (keyword.key == "PitchBendSensitivity") {
    DeleteBendSensitivity(song, row.channel);
  } else if (keyword.key == "Track") {
    DeleteTracks(song, keyword, row);
  } else {
    DeleteGeneric(song, keyword, row);
  }
}

}  // namespace quillmar
