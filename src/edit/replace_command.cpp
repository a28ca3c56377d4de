#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "edit/channel_selection.h"
#include "edit/edit_commands.h"
#include "edit/event_keyword.h"
#include "edit/system_exclusive_images.h"
#include "lists/general_error.h"
#include "report/message_catalogue.h"

namespace quillmar {
namespace {

constexpr std::int32_t kModulation = 1;
constexpr std::int32_t kBendCentre = 64;

// --- Pitch bends into notes ---------------------------------------------------------------

// Semitones of a bend (its upper seven bits): the step of a bend inside a note, and the
// shift of a note that starts under the bend.
int BendStep(std::int32_t bend) {
  return (bend - kBendCentre) / 16;
}
int BendShift(std::int32_t bend) {
  return (bend - kBendCentre) / 6;
}

// Nine tenths of the velocity per semitone moved; when that falls below half, the
// velocity stays as it was.
std::int32_t AttenuatedVelocity(std::int32_t velocity, int semitones) {
  std::int32_t result = velocity;
  for (int i = 0; i < semitones; ++i) result = result * 9 / 10;
  return result < velocity / 2 ? velocity : result;
}

struct Pitch {
  std::int32_t number;
  std::int32_t velocity;
};

// A note moved by the semitones, kept inside 0-127; the velocity follows the distance it
// really moved.
Pitch Moved(std::int32_t number, std::int32_t velocity, int semitones) {
  const std::int32_t moved = std::clamp(number + semitones, 0, 127);
  return {moved, AttenuatedVelocity(velocity, std::abs(moved - number))};
}

template <typename Predicate>
void MarkRemoved(MidiTrackData& track, Predicate remove) {
  for (MusicEvent& event : track.Events()) {
    if (remove(std::as_const(event))) event.kind = EventKind::Removed;
  }
}

// Leaves only the bends that change the step in force (from 0), and no modulation.
void MarkRepeatedSteps(MidiTrackData& track) {
  int step = 0;
  MarkRemoved(track, [&step](const MusicEvent& event) {
    if (event.IsController(kModulation)) return true;
    if (!event.IsPitchBend()) return false;
    const bool repeated = BendStep(event.value) == step;
    step = BendStep(event.value);
    return repeated;
  });
}

bool IsSilentNote(const MusicEvent& event) {
  return event.IsNote() && event.gate == 0;
}

MusicEvent NoteFromBend(const MusicEvent& bend, Pitch pitch, std::int64_t gate) {
  MusicEvent note(bend.delta);
  note.kind = EventKind::Note;
  note.channel = bend.channel;
  note.note = pitch.number;
  note.velocity = pitch.velocity;
  note.gate = AddDeltas(gate, 0);
  return note;
}

// Ends the sounding note where the next converted bend begins. A converted note left
// without length reports message 0, the note itself below 0 (only broken deltas do that)
// the General error; either gets gate 0, so that the clean-up drops it.
void CutOff(Reporter& reporter, MusicEvent& sounding, std::int64_t remaining, bool converted) {
  sounding.gate = AddDeltas(sounding.gate, -remaining);
  if (sounding.gate >= (converted ? 1 : 0)) return;
  if (converted) {
    ReportMessage(reporter, kGeneralMessage);
  } else {
    ReportGeneralError(reporter, kGeneralInternalError);
  }
  sounding.gate = 0;
}

// Shifts the note at `at` by the bend in force and turns the bends inside it into notes
// that take over from one another until it ends. Returns the index of the event that
// ended it, where the walk goes on: notes starting inside are left alone.
std::size_t ConvertNote(Reporter& reporter, std::span<MusicEvent> events, std::size_t at,
                        std::int32_t& bend) {
  MusicEvent& note = events[at];
  const std::int32_t number = note.note;
  const std::int32_t velocity = note.velocity;
  const Pitch shifted = Moved(number, velocity, BendShift(bend));
  note.note = shifted.number;
  note.velocity = shifted.velocity;
  std::int64_t remaining = note.gate;
  MusicEvent* sounding = &note;
  std::size_t next = at + 1;
  for (; next < events.size(); ++next) {
    remaining -= events[next].delta;
    if (remaining <= 0) break;
    if (!events[next].IsPitchBend()) continue;
    bend = events[next].value;
    CutOff(reporter, *sounding, remaining, sounding != &note);
    events[next] = NoteFromBend(events[next], Moved(number, velocity, BendStep(bend)), remaining);
    sounding = &events[next];
  }
  return next;
}

// The conversion walk. Zero-length notes were removed before it and those it leaves lie
// behind the walk, so no note it looks at has gate 0.
void ConvertUnderBends(Reporter& reporter, std::span<MusicEvent> events) {
  std::int32_t bend = kBendCentre;
  for (std::size_t index = 0; index < events.size();) {
    if (events[index].IsPitchBend()) bend = events[index].value;
    if (events[index].IsNote()) {
      index = ConvertNote(reporter, events, index, bend);
    } else {
      ++index;
    }
  }
}

// Thinning, conversion, clean-up: the bends of the track become notes a step apart.
void BendsToNotes(MidiTrackData& track) {
  MarkRepeatedSteps(track);
  MarkRemoved(track, IsSilentNote);
  track.PurgeRemoved();
  ConvertUnderBends(track.Context().Reports(), track.Events());
  MarkRemoved(track,
              [](const MusicEvent& event) { return IsSilentNote(event) || event.IsPitchBend(); });
  track.PurgeRemoved();
}

// --- Meta and system exclusive replacement -------------------------------------------------

// A meta keyword whose events carry a text.
bool IsTextMeta(const EventKeyword& keyword) {
  return keyword.kind == KindCode::kMeta && IsTextMetaType(keyword.sub);
}

// A system exclusive message through its first F7 (all of it without one).
std::string_view ThroughFirstF7(std::string_view data) {
  const std::size_t end = data.find('\xF7');
  return end == std::string_view::npos ? data : data.substr(0, end + 1);
}

// What every match becomes: the system exclusive message the value begins with, or a meta
// text of the target's type. None when that would not make a sound event: a message
// without its F7, or a text for a type that holds no text.
[[nodiscard]] std::optional<MusicEvent> Replacement(const EventKeyword& target) {
  const std::string_view value = target.value_text;
  if (value.starts_with('\xF0')) {
    if (value.find('\xF7') == std::string_view::npos) return std::nullopt;
    return MakeSysExEvent(ThroughFirstF7(value));
  }
  if (!IsTextMeta(target)) return std::nullopt;
  return MakeMetaText(target.sub, value);
}

void ReplaceWhere(MidiF1Data& song, const MusicEvent& replacement,
                  const std::function<bool(const MusicEvent&)>& matches) {
  ForEachTrack(song, ChannelSelection::Every(), [&](MidiTrackData& track) {
    for (MusicEvent& event : track.Events()) {
      if (!matches(event)) continue;
      const std::int32_t delta = event.delta;
      event = replacement;
      event.delta = delta;
    }
  });
}

// Both values empty: one meta type becomes another.
void ChangeType(MidiF1Data& song, const EventKeyword& target, const EventKeyword& found) {
  if (!IsTextMeta(target) || !IsTextMeta(found)) {
    ReportMessage(song.Context().Reports(), kEditListError);
    return;
  }
  song.ChangeMetaType(found.sub, target.sub);
}

// The system exclusive messages or meta texts equal to the found value.
void ReplaceEvents(MidiF1Data& song, const EventKeyword& target, const EventKeyword& found) {
  const std::optional<MusicEvent> replacement = Replacement(target);
  if (!replacement) {
    ReportMessage(song.Context().Reports(), kEditListError);
  } else if (found.kind == KindCode::kSysExF0) {
    ReplaceWhere(song, *replacement, [&found](const MusicEvent& event) {
      return event.IsSysEx() && ThroughFirstF7(event.data) == found.value_text;
    });
  } else if (IsTextMeta(found)) {
    ReplaceWhere(song, *replacement, [&found](const MusicEvent& event) {
      return event.IsMeta(found.sub) && event.data == found.value_text;
    });
  } else {
    ReportMessage(song.Context().Reports(), kEditListError);
  }
}

}  // namespace

// Target: the new form; position: the form to find.
void RunReplace(const EditRow& row, MidiF1Data& song, EditEnvironment&) {
  const EventKeyword target = ParseEventKeyword(song.Context().Reports(), row.target.text);
  if (target.refused) return;
  const EventKeyword found = ParseEventKeyword(song.Context().Reports(), row.position.text);
  if (found.refused) return;
  if (target.kind == KindCode::kNote && found.kind == KindCode::kPitchBend) {
    if (!row.channel.every)
      ReportMessage(song.Context().Reports(), kEditListError);  // and the conversion still runs
    ForEachTrack(song, ChannelSelection::Every(), [](MidiTrackData& track) {
      if (track.GetChannel() != kDrumChannel) BendsToNotes(track);
    });
  } else if (target.value_text.empty() && found.value_text.empty()) {
    ChangeType(song, target, found);
  } else {
    ReplaceEvents(song, target, found);
  }
}

}  // namespace quillmar
