#include "pipeline/volume_list.h"

#include <algorithm>
#include <limits>

#include "lists/text_helpers.h"
#include "report/message_catalogue.h"

namespace quillmar {
namespace {

constexpr std::int32_t kVolumeController = 7;
constexpr std::int32_t kPanController = 10;
// The values a list computes from when the song sets none.
constexpr std::int32_t kBaseVolume = 100;
constexpr std::int32_t kBasePan = 64;
constexpr std::int32_t kBaseMasterVolume = 100;

// Cell 0 of a master-volume row, compared byte for byte.
constexpr std::string_view kMasterRowName = "Master";

enum Column { kChannelColumn = 0, kVolumeColumn, kVelocityColumn, kPanColumn, kGateColumn };

// Changes each of the track's own volume events by the cell.
void ChangeOwnVolumes(MidiTrackData& track, ValueMode mode, int number) {
  switch (mode) {
    case ValueMode::SetValue:
      track.SetController(kVolumeController, ClampToMidi(number));
      break;
    case ValueMode::AddValue:
      track.AddToController(kVolumeController, number);
      break;
    case ValueMode::SubtractValue:
      track.AddToController(kVolumeController, -number);
      break;
    case ValueMode::PercentValue:
      track.ScaleController(kVolumeController, number);
      break;
    case ValueMode::KeepValue:
      break;
  }
}

// The pan step: every pan event of the track gets the value the cell makes of its last one;
// a track without pan gets one computed from 64 at its start.
void ApplyPanCell(MidiTrackData& track, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(track.Context().Reports(), cell);
  if (!parsed.mode) return;
  // Read even for a kept cell: reading reports a track's several pans.
  const std::optional<std::int32_t> pan = track.GetPan();
  if (*parsed.mode == ValueMode::KeepValue) return;
  if (!pan) ReportMessage(track.Context().Reports(), kPanFromBase64);
  const std::int32_t changed =
      ClampToMidi(ChangedValue(pan.value_or(kBasePan), *parsed.mode, parsed.number));
  if (!pan) {
    track.InsertControlChange(track.GetChannel(), kPanController, changed);
  } else {
    track.SetController(kPanController, changed);
  }
}

// The gate step: every Note gets the gate time the cell makes of its own; Notes left with
// none are removed without moving any other event (one message per track).
void ApplyGateCell(MidiTrackData& track, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(track.Context().Reports(), cell);
  if (!parsed.mode || *parsed.mode == ValueMode::KeepValue) return;
  bool removed = false;
  for (MusicEvent& event : track.Events()) {
    if (!event.IsNote()) continue;
    const std::int64_t gate = ChangedValue(event.gate, *parsed.mode, parsed.number);
    if (gate > 0) {
      event.gate = static_cast<std::int32_t>(
          std::min<std::int64_t>(gate, std::numeric_limits<std::int32_t>::max()));
      continue;
    }
    if (!removed) ReportMessage(track.Context().Reports(), kNotesSilencedByGate);
    removed = true;
    event.kind = EventKind::Removed;
  }
  if (removed) track.PurgeRemoved();
}

// The master-volume row: the first master-volume message of the song gets the value the cell
// makes of the song's master volume; a song without one gets one computed from 100, in the
// second track when the first is a conductor track holding only meta events.
void ApplyMasterVolumeCell(MidiF1Data& song, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(song.Context().Reports(), cell);
  if (!parsed.mode || song.TrackCount() == 0) return;
  const std::optional<std::int32_t> current = song.GetMasterVolume();
  const std::int32_t changed =
      ClampToMidi(ChangedValue(current.value_or(kBaseMasterVolume), *parsed.mode, parsed.number));
  if (current) {
    for (int i = 0; i < song.TrackCount(); ++i) {
      if (song.Track(i).SetMasterVolume(changed)) return;
    }
    return;
  }
  const int target = song.TrackCount() > 1 && song.Track(0).IsMetaOnly() ? 1 : 0;
  song.Track(target).InsertMasterVolume(changed);
}

// A channel row, on each track of the channel in turn.
void ApplyChannelRow(MidiF1Data& song, const SettingsList& list, int row, std::int32_t channel) {
  for (int i = 0; i < song.TrackCount(); ++i) {
    if (song.Track(i).GetChannel() != channel) continue;
    ApplyVolumeCell(song, i, list.Cell(row, kVolumeColumn));
    MidiTrackData& track = song.Track(i);
    ApplyVelocityCell(track, list.Cell(row, kVelocityColumn));
    ApplyPanCell(track, list.Cell(row, kPanColumn));
    ApplyGateCell(track, list.Cell(row, kGateColumn));
  }
}

}  // namespace

std::int64_t ChangedValue(std::int64_t value, ValueMode mode, int number) {
  switch (mode) {
    case ValueMode::SetValue:
      return number;
    case ValueMode::AddValue:
      return value + number;
    case ValueMode::SubtractValue:
      return value - number;
    case ValueMode::PercentValue:
      return value * number / 100;
    case ValueMode::KeepValue:
      break;
  }
  return value;
}

std::int32_t ClampToMidi(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, 127));
}

void ApplyVolumeCell(MidiF1Data& song, int track_index, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(song.Context().Reports(), cell);
  if (!parsed.mode) return;
  MidiTrackData& track = song.Track(track_index);
  if (track.GetVolume()) {
    ChangeOwnVolumes(track, *parsed.mode, parsed.number);
    return;
  }
  const std::int32_t channel = track.GetChannel();
  if (song.GetVolume(channel)) {
    ReportMessage(song.Context().Reports(), kVolumeSetOnSameChannel);
    return;
  }
  ReportMessage(song.Context().Reports(), kVolumeFromBase100);
  track.InsertControlChange(channel, kVolumeController,
                            ClampToMidi(ChangedValue(kBaseVolume, *parsed.mode, parsed.number)));
}

void ApplyVelocityCell(MidiTrackData& track, std::string_view cell) {
  const ValueCell parsed = ParseValueCell(track.Context().Reports(), cell);
  if (!parsed.mode || *parsed.mode == ValueMode::KeepValue) return;
  const bool keeps_silent = *parsed.mode != ValueMode::SetValue;
  for (MusicEvent& event : track.Events()) {
    if (!event.IsNote() || (event.velocity == 0 && keeps_silent)) continue;
    event.velocity = ClampToMidi(ChangedValue(event.velocity, *parsed.mode, parsed.number));
  }
}

void ApplyVolumeList(MidiF1Data& song, const SettingsList& list) {
  for (int row = 1; row < list.RowCount(); ++row) {
    const std::string& first = list.Cell(row, kChannelColumn);
    if (first == kMasterRowName) {
      ApplyMasterVolumeCell(song, list.Cell(row, kVolumeColumn));
      continue;
    }
    const std::int32_t channel = ZeroBased(LeadingInteger(first));
    if (channel >= 0 && channel <= 15) ApplyChannelRow(song, list, row, channel);
  }
}

}  // namespace quillmar
