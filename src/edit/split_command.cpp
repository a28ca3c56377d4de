#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "edit/tick_group_order.h"
#include "edit/track_selection.h"
#include "lists/text_helpers.h"
#include "model/note_counts.h"
#include "platform/encoding.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

constexpr int kHighestNote = 127;

// The names of the parts of a split track, after the track's own name.
constexpr std::array<std::string_view, 7> kPartSuffixes{" Top",   " Second", " Third",  " Fourth",
                                                        " Fifth", " Sixth",  " Seventh"};

// N of a "Voice>N" cell with N written in digits; none for any other cell.
[[nodiscard]] std::optional<int> VoiceBound(std::string_view cell) {
  const KeyOpValue parts = SplitKeyOpValue(cell);
  if (parts.key != "Voice" || parts.op != ">" || parts.value.empty() || !IsAllDigits(parts.value)) {
    return std::nullopt;
  }
  return LeadingInteger(parts.value);
}

// --- The top line ---------------------------------------------------------------------------

// Orders a run of notes of one tick highest first; the run's delta stays on its first slot.
void OrderHighestFirst(std::span<MusicEvent> notes) {
  const std::int32_t delta = notes.front().delta;
  std::ranges::stable_sort(notes, std::ranges::greater(), &MusicEvent::note);
  for (MusicEvent& note : notes) note.delta = 0;
  notes.front().delta = delta;
}

// Puts the notes of each tick group in front of its other events, highest first, without
// changing the tick of any event.
void PrepareTopLine(MidiTrackData& track) {
  MoveMatchingEventsFirst(track, KindCode::kNote, -1, "");
  const std::span<MusicEvent> events = track.Events();
  for (std::size_t first = 0; first < events.size();) {
    if (!events[first].IsNote()) {
      ++first;
      continue;
    }
    std::size_t end = first + 1;
    while (end < events.size() && events[end].IsNote() && events[end].delta == 0) {
      ++end;
    }
    OrderHighestFirst(events.subspan(first, end - first));
    first = end;
  }
}

// Marks the top notes of a prepared track: a note is one when it opens its tick group (the
// track's first event, or an event with a delta) and the previous top note has ended. The
// last event (the End of Track) is never one.
std::vector<bool> TopNotes(const MidiTrackData& track) {
  std::vector<bool> top(static_cast<std::size_t>(track.Count()));
  Ticks remaining = 0;  // of the top note sounding now
  for (int i = 0; i + 1 < track.Count(); ++i) {
    const MusicEvent& event = track.Event(i);
    remaining = std::max<Ticks>(0, remaining - event.delta);
    const bool opens_group = i == 0 || event.delta != 0;
    if (event.IsNote() && opens_group && remaining == 0) {
      top[static_cast<std::size_t>(i)] = true;
      remaining = event.gate;
    }
  }
  return top;
}

// A copy of the track holding the events whose slots `keep` accepts.
MidiTrackData PartOf(const MidiTrackData& track, const std::function<bool(int)>& keep) {
  MidiTrackData part(track);
  for (int i = 0; i < part.Count(); ++i) {
    if (!keep(i)) part.Event(i).kind = EventKind::Removed;
  }
  part.PurgeRemoved();
  return part;
}

// The track's top notes with every other event, for Extract; the track is prepared first.
MidiTrackData ExtractedTopLine(MidiTrackData& track) {
  PrepareTopLine(track);
  const std::vector<bool> top = TopNotes(track);
  const int last = track.Count() - 1;
  return PartOf(track, [&](int i) {
    return top[static_cast<std::size_t>(i)] || !track.Event(i).IsNote() || i == last;
  });
}

// --- Chord and voice splits -----------------------------------------------------------------

const std::string& ChordSplitLine() {
  static const std::string line = Sjis("指定された和音以上のトラックを分割しました。");
  return line;
}

const std::string& VoiceSplitLine() {
  static const std::string line = Sjis("指定されたボイス数を超えているので分割しました。");
  return line;
}

const std::string& SplitTopNotice() {
  static const std::string notice =
      Sjis("Splitの書式が変更になりました。Topではなく、Note=Topと記述してください。");
  return notice;
}

std::string NameOrUntitled(const MidiTrackData& track) {
  const std::string name = TrackName(track);
  return name.empty() ? std::string("Untitled") : name;
}

// Renames the part's first SequenceName, or gives it one when it has none.
void NamePart(MidiTrackData& part, const std::string& name) {
  if (!part.SetMetaText(MetaType::SequenceName, name)) {
    part.AddMetaText(MetaType::SequenceName, name);
  }
}

// Replaces the track at `index` by its top notes (named name + suffix `suffix`) and, right
// after it, the rest of its events (name + the next suffix). When there is no next suffix or
// the song has no room for one more track, reports message 0, changes nothing and gives
// false.
[[nodiscard]] bool SplitOffTopLine(MidiF1Data& song, int index, const std::string& name,
                                   std::size_t suffix) {
  if (suffix + 1 >= kPartSuffixes.size() || song.TrackCount() >= MidiF1Data::kMaxTracks) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return false;
  }
  AppendResultLine(song.Context().Reports(), ChordSplitLine());
  MidiTrackData& track = song.Track(index);
  PrepareTopLine(track);
  const std::vector<bool> top = TopNotes(track);
  const int last = track.Count() - 1;
  MidiTrackData top_part =
      PartOf(track, [&](int i) { return top[static_cast<std::size_t>(i)] || i == last; });
  MidiTrackData rest_part = PartOf(track, [&](int i) { return !top[static_cast<std::size_t>(i)]; });
  NamePart(top_part, name + std::string(kPartSuffixes[suffix]));
  NamePart(rest_part, name + std::string(kPartSuffixes[suffix + 1]));
  if (!song.InsertTrack(std::move(rest_part), index + 1)) return false;
  song.ReplaceTrack(index, std::move(top_part));
  return true;
}

enum class SplitMode {
  kChord,  // one split per examined track
  kVoice,  // splits the rest again until it is a single line
};

// Splits the track at `index` once, or in voice mode again and again on its rest part while
// that sounds more than one note at a time. False when it had to stop.
[[nodiscard]] bool SplitTrackIntoLines(MidiF1Data& song, int index, SplitMode mode) {
  const std::string name = NameOrUntitled(song.Track(index));
  for (std::size_t suffix = 0;; ++suffix, ++index) {
    if (!SplitOffTopLine(song, index, name, suffix)) return false;
    if (mode == SplitMode::kChord || PeakPolyphony(song.Track(index + 1)) <= 1) return true;
  }
}

// Splits every chosen track that is no drum track and sounds more than `bound` notes at a
// time. The track after each examined one is examined next, so in chord mode a rest part is
// split again (named from its own name) while it sounds more than `bound` notes.
void SplitChordalTracks(MidiF1Data& song, const ChannelSelection& channels, int bound,
                        SplitMode mode) {
  for (int index = 0; index < song.TrackCount(); ++index) {
    const MidiTrackData& track = song.Track(index);
    const std::int32_t channel = track.GetChannel();
    if (channel == kDrumChannel || !channels.Chooses(channel, TrackScope::kWithChannel) ||
        PeakPolyphony(track) <= bound) {
      continue;
    }
    if (!SplitTrackIntoLines(song, index, mode)) return;
  }
}

// "Note=Top": the position cell Voice>N gives the bound.
void SplitByChords(MidiF1Data& song, const ChannelSelection& channels, std::string_view position) {
  const std::optional<int> bound = VoiceBound(position);
  if (!bound) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  SplitChordalTracks(song, channels, *bound, SplitMode::kChord);
}

// "Voice>M": only a song of more than M voices is split, by the position cell's Voice>N.
void SplitByVoices(MidiF1Data& song, const ChannelSelection& channels, std::string_view target,
                   std::string_view position) {
  const std::optional<int> most = VoiceBound(target);
  if (!most) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  if (VoiceCount(song) <= *most) return;
  AppendResultLine(song.Context().Reports(), VoiceSplitLine());
  const std::optional<int> bound = VoiceBound(position);
  if (!bound) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  SplitChordalTracks(song, channels, *bound, SplitMode::kVoice);
}

// --- Threshold split ------------------------------------------------------------------------

// The note property a threshold key splits by (as the song's SplitTrack numbers them); none
// for any other key.
[[nodiscard]] std::optional<std::int32_t> ThresholdProperty(std::string_view key) {
  if (key == "NoteNumber") return 1;
  if (key == "GateTime") return 2;
  if (key == "Velocity") return 3;
  return std::nullopt;
}

// Replaces every chosen track by its notes at or above the threshold and, after it, those
// below; other events stay in both. Each track goes through the song's SplitTrack in a song
// of its own, so that it splits on its own channel whatever the others hold. A song without
// room for all the parts reports message 0 and is left as it was.
void SplitByThreshold(MidiF1Data& song, const ChannelSelection& channels, std::int32_t threshold,
                      std::int32_t property) {
  int chosen = 0;
  ForEachTrack(
      song, channels, [&chosen](MidiTrackData&) { ++chosen; }, TrackScope::kWithChannel);
  if (song.TrackCount() + chosen > MidiF1Data::kMaxTracks) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  for (int index = 0; index < song.TrackCount(); ++index) {
    const std::int32_t channel = song.Track(index).GetChannel();
    if (!channels.Chooses(channel, TrackScope::kWithChannel)) continue;
    MidiF1Data single(song.Context());
    static_cast<void>(single.AppendTrack(std::move(song.Track(index))));  // into an empty song
    single.SplitTrack(channel, threshold, property);
    song.ReplaceTrack(index, std::move(single.Track(0)));
    ++index;  // the lower part is not split again
    static_cast<void>(song.InsertTrack(std::move(single.Track(1)), index));  // room checked above
  }
}

// --- Extract --------------------------------------------------------------------------------

void KeepOnlyNote(MidiTrackData& track, std::int32_t note) {
  for (MusicEvent& event : track.Events()) {
    if (event.IsNote() && event.note != note) event.kind = EventKind::Removed;
  }
  track.PurgeRemoved();
}

// A note number 0-127 written in digits; none for any other text.
[[nodiscard]] std::optional<std::int32_t> NoteNumberOf(std::string_view text) {
  if (text.empty() || !IsAllDigits(text) || LeadingInteger(text) > kHighestNote) {
    return std::nullopt;
  }
  return LeadingInteger(text);
}

}  // namespace

void RunSplit(const EditRow& row, MidiF1Data& song, EditEnvironment&) {
  if (row.target.text == "Top") {
    ShowMessageBox(song.Context().Reports(), SplitTopNotice());
    return;
  }
  const KeyOpValue& target = row.target.parts;
  const ChannelSelection& channels = row.channel;
  if (const std::optional<std::int32_t> property = ThresholdProperty(target.key)) {
    SplitByThreshold(song, channels, row.position.number, *property);
  } else if (target.key == "Note" && target.op == "=" && target.value == "Top") {
    SplitByChords(song, channels, row.position.text);
  } else if (target.key == "Voice") {
    if (target.op == ">") SplitByVoices(song, channels, row.target.text, row.position.text);
  } else {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
  }
}

void RunExtract(const EditRow& row, MidiF1Data& song, EditEnvironment&) {
  const KeyOpValue& target = row.target.parts;
  const bool top = target.value == "Top";
  const std::optional<std::int32_t> note = NoteNumberOf(target.value);
  if (target.key != "Note" || target.op != "=" || (!top && !note)) {
    ReportMessage(song.Context().Reports(), kGeneralMessage);
    return;
  }
  const ChannelSelection& channels = row.channel;
  for (int index = 0; index < song.TrackCount(); ++index) {
    MidiTrackData& track = song.Track(index);
    if (!channels.Chooses(track.GetChannel(), TrackScope::kWithChannel)) continue;
    if (top) {
      song.ReplaceTrack(index, ExtractedTopLine(track));
    } else {
      KeepOnlyNote(track, *note);
    }
  }
}

}  // namespace quillmar
