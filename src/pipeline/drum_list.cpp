#include "pipeline/drum_list.h"

#include <cstdint>
#include <string_view>

#include "lists/text_helpers.h"
#include "lists/value_cell.h"
#include "pipeline/volume_list.h"
#include "report/message_catalogue.h"

namespace quillmar {
namespace {

constexpr int kHighestNote = 127;

enum Column { kNoteColumn = 0, kVelocityColumn = 2, kSubstituteColumn = 3 };

bool IsDrumNote(const MusicEvent& event, int note) {
  return event.IsNote() && event.note == note;
}

// Changes the velocity of every Note of the drum sound; unlike the volume list's velocity
// step, a velocity of 0 is changed by every mode.
void ApplyDrumVelocityCell(MidiTrackData& track, int note, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(track.Context().Reports(), cell);
  if (!parsed.mode || *parsed.mode == ValueMode::KeepValue) return;
  for (MusicEvent& event : track.Events()) {
    if (!IsDrumNote(event, note)) continue;
    event.velocity = ClampToMidi(ChangedValue(event.velocity, *parsed.mode, parsed.number));
  }
}

// Replaces every Note of the drum sound by the cell's note. Any other mode, or a note above
// 127, changes nothing and reports message 6 for each such Note.
void SubstituteDrumNote(MidiTrackData& track, int note, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(track.Context().Reports(), cell);
  if (!parsed.mode || *parsed.mode == ValueMode::KeepValue) return;
  const bool usable = *parsed.mode == ValueMode::SetValue && parsed.number <= kHighestNote;
  for (MusicEvent& event : track.Events()) {
    if (!IsDrumNote(event, note)) continue;
    if (usable) {
      event.note = parsed.number;
    } else {
      ReportMessage(track.Context().Reports(), kBadDrumSubstitute);
    }
  }
}

}  // namespace

void ApplyDrumList(MidiF1Data& song, const SettingsList& list) {
  for (int row = 1; row < list.RowCount(); ++row) {
    const int note = LeadingInteger(list.Cell(row, kNoteColumn));
    for (int i = 0; i < song.TrackCount(); ++i) {
      MidiTrackData& track = song.Track(i);
      if (track.GetChannel() != kDrumChannel) continue;
      ApplyDrumVelocityCell(track, note, list.Cell(row, kVelocityColumn));
      SubstituteDrumNote(track, note, list.Cell(row, kSubstituteColumn));
    }
  }
}

}  // namespace quillmar
