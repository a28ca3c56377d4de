#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "edit/text_width.h"
#include "edit/track_selection.h"
#include "lists/general_error.h"
#include "lists/text_helpers.h"
#include "model/timed_events.h"
#include "platform/encoding.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

constexpr int kDefaultBpm = 120;
constexpr int kMaxGate = static_cast<int>(kMaxVarLen);  // the longest a delta can say

// A Conv row read once: its keyword, its channel and the key=value parts of its position.
struct ConvRow {
  const EditRow& row;
  EventKeyword keyword;
  const ChannelSelection& channel;
  std::string position_key, position_value;

  bool TrackForm() const { return position_key == "Track"; }
  bool OldTrackForm() const { return channel.old_track.has_value(); }
};

// Calls `change` for every track of the channel: Conv changes the tracks of one channel, and
// none for every channel.
void ForChannelTracks(MidiF1Data& song, const ChannelSelection& channel,
                      const std::function<void(MidiTrackData&)>& change) {
  if (!channel.every) ForEachTrack(song, channel, change);
}

// The track that Track=N (or "LAST" where allowed) picks; message 11 when it names none.
[[nodiscard]] MaybeTrack PickedTrack(MidiF1Data& song, std::string_view number,
                                     bool last_allowed = false) {
  std::optional<int> index;
  if (last_allowed && number == "LAST") {
    if (song.TrackCount() > 0) index = song.TrackCount() - 1;
  } else {
    index = TrackIndexOf(song, LeadingInteger(number));
  }
  if (!index) {
    ReportMessage(song.Context().Reports(), kEditListError);
    return std::nullopt;
  }
  return song.Track(*index);
}

// For a row of the track form or the old form: the track form picks from the position cell;
// the old form, after its notice, from the channel cell. None when the track does not exist.
[[nodiscard]] MaybeTrack TrackOfEitherForm(MidiF1Data& song, const ConvRow& conv,
                                           EditNotices& notices, EditNotice notice) {
  if (conv.TrackForm()) return PickedTrack(song, conv.position_value);
  notices.ShowOnce(song.Context().Reports(), notice);
  return PickedTrack(song, *conv.channel.old_track);
}

[[nodiscard]] bool InRange(Reporter& reporter, int value, int low, int high) {
  if (value >= low && value <= high) return true;
  ReportMessage(reporter, kGeneralMessage);
  return false;
}

void SetVelocity(MidiTrackData& track, std::int32_t velocity) {
  for (MusicEvent& event : track.Events()) {
    if (event.IsNote()) event.velocity = velocity;
  }
}

void SetGate(MidiTrackData& track, std::int32_t gate, std::optional<std::int32_t> note = {}) {
  for (MusicEvent& event : track.Events()) {
    if (event.IsNote() && (!note || event.note == *note)) event.gate = gate;
  }
}

// Key "Chanel": the picked or named tracks move to channel number - 1.
void ConvChannel(MidiF1Data& song, const ConvRow& conv) {
  const bool named = conv.position_key == "SequenceName";
  if (!conv.TrackForm() && !named) return;
  if (!InRange(song.Context().Reports(), conv.keyword.number, 1, 16)) return;
  auto move = [&](MidiTrackData& track) {
    track.ChangeChannel(track.GetChannel(), conv.keyword.number - 1);
  };
  if (conv.TrackForm()) {
    if (const MaybeTrack track = PickedTrack(song, conv.position_value)) move(*track);
    return;
  }
  ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
    if (NameContains(track, conv.position_value)) move(track);
  });
}

// Folds the texts of every meta event of the type; false when the position names no folding.
[[nodiscard]] bool FoldTexts(MidiF1Data& song, std::int32_t meta_type, std::string_view folding) {
  void (*fold)(std::string&) = nullptr;
  if (folding == "ZenkakuEisuuToHankakuEisuu") fold = FoldAlphanumericToHalfWidth;
  if (folding == "ZenkakuKanaToHankakuKana") fold = FoldKatakanaToHalfWidth;
  if (fold == nullptr) return false;
  ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
    for (MusicEvent& event : track.Events()) {
      if (event.IsMeta(meta_type)) fold(event.data);
    }
  });
  return true;
}

// Gives the track the name: every SequenceName event, or a new one at its start.
void RenameOrName(MidiTrackData& track, std::string_view name) {
  if (!track.SetAllMetaText(MetaType::SequenceName, name)) {
    track.InsertMeta(MetaType::SequenceName, name);
  }
}

void ConvSequenceName(MidiF1Data& song, const ConvRow& conv, EditNotices& notices) {
  const std::string& name = conv.keyword.value_text;
  if (FoldTexts(song, MetaType::SequenceName, conv.row.position.text)) return;
  if (conv.row.position.Is(RowPosition::Form::kNone)) {
    if (conv.OldTrackForm()) {
      notices.ShowOnce(song.Context().Reports(), EditNotice::ConvSequenceName);
      if (const MaybeTrack track = PickedTrack(song, *conv.channel.old_track, true)) {
        RenameOrName(*track, name);
      }
      return;
    }
    ForChannelTracks(song, conv.channel, [&](MidiTrackData& track) {
      track.SetAllMetaText(MetaType::SequenceName, name);
    });
  } else if (conv.TrackForm()) {
    if (const MaybeTrack track = PickedTrack(song, conv.position_value, true)) {
      RenameOrName(*track, name);
    }
  } else if (conv.position_key == "SequenceName") {
    ForChannelTracks(song, conv.channel, [&](MidiTrackData& track) {
      if (NameEndsWith(track, conv.position_value)) {
        track.SetAllMetaText(MetaType::SequenceName, name);
      }
    });
  } else if (conv.position_key == "Chanel") {
    ForEachTrack(song, ChannelSelection::One(ZeroBased(LeadingInteger(conv.position_value))),
                 [&](MidiTrackData& track) { track.SetAllMetaText(MetaType::SequenceName, name); });
  } else {
    ReportMessage(song.Context().Reports(), kEditListError);
  }
}

void ConvMeta(MidiF1Data& song, const ConvRow& conv, EditNotices& notices) {
  switch (conv.keyword.sub) {
    case MetaType::Text:
    case MetaType::Lyric:
    case MetaType::Marker:
    case MetaType::CuePoint:
      if (!FoldTexts(song, conv.keyword.sub, conv.row.position.text))
        ReportMessage(song.Context().Reports(), kEditListError);
      return;
    case MetaType::SequenceName:
      ConvSequenceName(song, conv, notices);
      return;
    case MetaType::TimeSign:
      if (conv.keyword.value_text != "4/4") break;
      ForEachTrack(song, ChannelSelection::Every(), [](MidiTrackData& track) {
        for (MusicEvent& event : track.Events()) {
          if (!event.IsMeta(MetaType::TimeSign)) continue;
          if (event.data.size() < 2) event.data.resize(2);
          event.data[0] = 4;
          event.data[1] = 2;
          event.value = TimeSignCode(4, 2);
        }
      });
      return;
    default:
      break;
  }
  ReportMessage(song.Context().Reports(), kEditListError);
}

void ConvVelocity(MidiF1Data& song, const ConvRow& conv, EditNotices& notices) {
  const std::int32_t velocity = conv.keyword.number;
  if (!InRange(song.Context().Reports(), velocity, 1, 127))
    return;  // velocity 0 would silence the notes
  if (conv.TrackForm() || conv.OldTrackForm()) {
    const MaybeTrack track = TrackOfEitherForm(song, conv, notices, EditNotice::ConvVelocity);
    if (track) SetVelocity(*track, velocity);
    return;
  }
  const bool top_only = conv.row.position.text == "SequenceName=Top";
  ForChannelTracks(song, conv.channel, [&](MidiTrackData& track) {
    if (!top_only || NameEndsWith(track, "Top")) SetVelocity(track, velocity);
  });
}

// The gate of drum notes: a number, or for "Tempo*0.32" the song's tempo in bpm times 0.32.
std::int32_t DrumGate(const MidiF1Data& song, const EventKeyword& keyword) {
  if (keyword.value_text != "Tempo*0.32") return keyword.number;
  const std::optional<std::int32_t> tempo = song.FindTempo();
  const std::optional<int> bpm = tempo ? TempoToBpm(*tempo) : kDefaultBpm;
  if (!bpm) ReportGeneralError(song.Context().Reports(), kGeneralInternalError);
  return bpm.value_or(0) * 32 / 100;
}

// Every note that starts at the tick becomes `change` ticks longer (not shorter than 1).
void ChangeGatesAt(MidiF1Data& song, Ticks tick, std::int32_t change) {
  ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
    for (auto [time, event] : TimedEvents(track.Events())) {
      if (event.IsNote() && time == tick) {
        event.gate = std::max<std::int32_t>(AddDeltas(event.gate, change), 1);
      }
    }
  });
}

void ConvGateTime(MidiF1Data& song, const ConvRow& conv, EditNotices& notices) {
  const std::int32_t gate = conv.keyword.number;
  if (conv.TrackForm() || conv.OldTrackForm()) {
    const MaybeTrack track = TrackOfEitherForm(song, conv, notices, EditNotice::ConvGateTime);
    if (track && InRange(song.Context().Reports(), gate, 1, kMaxGate)) SetGate(*track, gate);
    return;
  }
  if (conv.position_key == "Note") {
    if (!conv.channel.Names(kDrumChannel)) {
      ReportDetail(song.Context().Reports(),
                   Sjis("GateTimeの変更にドラム以外のチャネルが指定されています。"));
      return;
    }
    const std::int32_t drum_gate = DrumGate(song, conv.keyword);
    if (!InRange(song.Context().Reports(), drum_gate, 1, kMaxGate)) return;
    const std::int32_t note = LeadingInteger(conv.position_value);
    ForEachTrack(song, conv.channel,
                 [&](MidiTrackData& track) { SetGate(track, drum_gate, note); });
    return;
  }
  if (gate > 0) {
    if (!InRange(song.Context().Reports(), gate, 1, kMaxGate)) return;
    ForChannelTracks(song, conv.channel, [&](MidiTrackData& track) { SetGate(track, gate); });
  } else if (conv.channel.every) {
    ChangeGatesAt(song, LeadingInteger(conv.position_key), gate);
  } else {
    ReportMessage(song.Context().Reports(), kEditListError);
  }
}

void ConvOctave(MidiF1Data& song, const ConvRow& conv) {
  const std::string& shift = conv.keyword.value_text;
  if (shift.empty() || (shift[0] != '+' && shift[0] != '-')) {
    ReportMessage(song.Context().Reports(), kEditListError);
    return;
  }
  // Whole octaves, then the sign: truncation toward zero gives the same count either way, and
  // a count of octaves, unlike the lowest int, can always be negated.
  const int octaves = LeadingInteger(std::string_view(shift).substr(1)) / 12;
  if (octaves == 0) return;
  const int shift_by = shift[0] == '-' ? -octaves : octaves;
  ForChannelTracks(song, conv.channel, [&](MidiTrackData& track) { track.Transpose(shift_by); });
}

// Program changes (kind 192) and channel volumes (controller 7) of the picked track or the
// channel's tracks.
void ConvChannelSetting(MidiF1Data& song, const ConvRow& conv, EditNotices& notices) {
  const bool program = conv.keyword.kind == KindCode::kProgramChange;
  const std::int32_t value = program ? ZeroBased(conv.keyword.number) : conv.keyword.number;
  auto set = [&](MidiTrackData& track) {
    if (program) {
      track.SetProgram(value);
    } else {
      track.SetController(7, value);
    }
  };
  const EditNotice notice = program ? EditNotice::ConvProgramChange : EditNotice::ConvChanelVolume;
  if (conv.TrackForm() || conv.OldTrackForm()) {
    const MaybeTrack track = TrackOfEitherForm(song, conv, notices, notice);
    if (track && InRange(song.Context().Reports(), value, 0, 127)) set(*track);
    return;
  }
  if (conv.channel.every) {
    // Every channel's program at once is refused; every channel's volume changes nothing.
    if (program) ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  if (InRange(song.Context().Reports(), value, 0, 127)) ForChannelTracks(song, conv.channel, set);
}

void ConvBankSelect(MidiF1Data& song, const ConvRow& conv) {
  if (!InRange(song.Context().Reports(), conv.keyword.number, 0, 127)) return;
  ForEachTrack(song, conv.channel,
               [&](MidiTrackData& track) { track.SetController(0, conv.keyword.number); });
}

}  // namespace

void RunConv(const EditRow& row, MidiF1Data& song, EditEnvironment& environment) {
  ConvRow conv{
      row, ParseEventKeyword(song.Context().Reports(), row.target.text), row.channel, {}, {}};
  if (conv.keyword.refused) return;
  std::tie(conv.position_key, conv.position_value) = SplitKeyValue(row.position.text);
  EditNotices& notices = environment.notices;
  const EventKeyword& keyword = conv.keyword;
  if (keyword.key == "Chanel") {
    ConvChannel(song, conv);
  } else if (keyword.kind == KindCode::kMeta) {
    ConvMeta(song, conv, notices);
  } else if (keyword.key == "Velocity") {
    ConvVelocity(song, conv, notices);
  } else if (keyword.key == "GateTime") {
    ConvGateTime(song, conv, notices);
  } else if (keyword.key == "Note") {
    ConvOctave(song, conv);
  } else if (keyword.kind == KindCode::kProgramChange ||
             (keyword.kind == KindCode::kControlChange && keyword.sub == 7)) {
    ConvChannelSetting(song, conv, notices);
  } else if (keyword.kind == KindCode::kControlChange && keyword.sub == 0) {
    ConvBankSelect(song, conv);
  } else {
    ReportMessage(song.Context().Reports(), kEditListError);
  }
}

}  // namespace quillmar
