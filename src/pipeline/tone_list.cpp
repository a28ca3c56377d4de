#include "pipeline/tone_list.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "lists/text_helpers.h"
#include "lists/value_cell.h"
#include "pipeline/volume_list.h"
#include "report/message_catalogue.h"

namespace quillmar {
namespace {

constexpr std::int32_t kBankSelectController = 0;
constexpr int kOctave = 12;
constexpr int kLowestNote = 0;
constexpr int kHighestNote = 127;
// Shifting by more octaves folds every note to where this many put it (the note range spans
// less than eleven octaves), so larger counts are taken as this one; an absurd cell then
// reports at most this many fold messages per note instead of millions.
constexpr int kMaxOctaveShift = 11;

enum Column {
  kProgramColumn = 0,
  kVolumeColumn = 2,
  kVelocityColumn,
  kOctaveColumn,
  kBankColumn,
  kSubstituteProgramColumn,
};

// The program a track plays: its own, else the first one set for its channel, else none.
std::optional<std::int32_t> ProgramOf(const MidiF1Data& song, const MidiTrackData& track) {
  const std::optional<std::int32_t> own = track.GetProgram();
  return own ? own : song.GetProgram(track.GetChannel());
}

// Moves every Note by the cell's octaves, folding notes that leave the note range back into
// it one octave at a time (a message for each octave).
void ApplyOctaveCell(MidiTrackData& track, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(track.Context().Reports(), cell);
  if (!parsed.mode || *parsed.mode == ValueMode::KeepValue) return;
  const bool bad = *parsed.mode == ValueMode::PercentValue;
  const int direction = *parsed.mode == ValueMode::SubtractValue ? -1 : 1;
  const int shift = direction * kOctave * std::min(parsed.number, kMaxOctaveShift);
  for (MusicEvent& event : track.Events()) {
    if (!event.IsNote()) continue;
    if (bad) {
      ReportMessage(track.Context().Reports(), kBadOctave);
      continue;
    }
    int note = event.note + shift;
    for (; note < kLowestNote; note += kOctave)
      ReportMessage(track.Context().Reports(), kOctaveShiftOutOfRange);
    for (; note > kHighestNote; note -= kOctave)
      ReportMessage(track.Context().Reports(), kOctaveShiftOutOfRange);
    event.note = note;
  }
}

// Gives every event that `matches` the value of a 1-based cell. Any other mode, or a number
// outside 1 to 128, changes nothing and reports message 5 for each such event.
template <typename Matches>
void SubstituteValues(MidiTrackData& track, std::string_view cell, Matches matches) {
  const ValueCell parsed = ParseValueCell(track.Context().Reports(), cell);
  if (!parsed.mode || *parsed.mode == ValueMode::KeepValue) return;
  const bool usable = *parsed.mode == ValueMode::SetValue && parsed.number >= 1 &&
                      parsed.number <= kHighestNote + 1;
  for (MusicEvent& event : track.Events()) {
    if (!matches(event)) continue;
    if (usable) {
      event.value = parsed.number - 1;
    } else {
      ReportMessage(track.Context().Reports(), kBadSubstituteTone);
    }
  }
}

void ApplyToneRow(MidiF1Data& song, int track_index, const SettingsList& list, int row) {
  ApplyVolumeCell(song, track_index, list.Cell(row, kVolumeColumn));
  MidiTrackData& track = song.Track(track_index);
  ApplyVelocityCell(track, list.Cell(row, kVelocityColumn));
  ApplyOctaveCell(track, list.Cell(row, kOctaveColumn));
  SubstituteValues(track, list.Cell(row, kBankColumn), [](const MusicEvent& event) {
    return event.IsController(kBankSelectController);
  });
  SubstituteValues(track, list.Cell(row, kSubstituteProgramColumn),
                   [](const MusicEvent& event) { return event.IsProgramChange(); });
}

}  // namespace

void ApplyToneList(MidiF1Data& song, const SettingsList& list) {
  for (int row = 1; row < list.RowCount(); ++row) {
    const std::int32_t program = ZeroBased(LeadingInteger(list.Cell(row, kProgramColumn)));
    for (int i = 0; i < song.TrackCount(); ++i) {
      // Drum tracks and tracks without channel messages play no tone.
      const std::int32_t channel = song.Track(i).GetChannel();
      if (channel == kDrumChannel || channel == kNoChannel) continue;
      // A track that plays no program is named by a row whose program cell is 0 (or holds no
      // number), which reads as program -1.
      const std::optional<std::int32_t> played = ProgramOf(song, song.Track(i));
      if (played.value_or(-1) == program) ApplyToneRow(song, i, list, row);
    }
  }
}

}  // namespace quillmar
