#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>

#include "model/midi_track_data.h"
#include "model/model_errors.h"

namespace quillmar {
namespace {

// Data index of the volume byte of a master-volume message.
constexpr std::size_t kMasterVolumeByte = 7;

// The value of the last matching event, none when there is none; a second match reports the
// once-only warning.
template <typename Matches>
std::optional<std::int32_t> LastValue(std::span<const MusicEvent> events, Matches matches,
                                      ModelContext& context, OnceWarning warning) {
  std::optional<std::int32_t> value;
  for (const MusicEvent& event : events) {
    if (!matches(event)) continue;
    if (value) context.Warn(warning);
    value = event.value;
  }
  return value;
}

// Master volumes of 128 or more are reported (the callers limit them) and still written:
// the value field keeps the value, the data byte its low seven bits so that the message
// stays valid MIDI.
void ReportWideMasterVolume(const ModelContext& context, std::int32_t value) {
  if (value >= 128) ReportTrackError(context, kTrackInternalError);
}

char MasterVolumeByte(std::int32_t value) {
  return static_cast<char>(value & 0x7F);
}

}  // namespace

std::optional<std::int32_t> MidiTrackData::GetVolume() const {
  return LastValue(
      events_, [](const MusicEvent& event) { return event.IsController(7); }, Context(),
      OnceWarning::MultipleVolumes);
}

std::optional<std::int32_t> MidiTrackData::GetPan() const {
  return LastValue(
      events_, [](const MusicEvent& event) { return event.IsController(10); }, Context(),
      OnceWarning::MultiplePans);
}

std::optional<std::int32_t> MidiTrackData::GetProgram() const {
  std::optional<std::int32_t> program;
  for (const MusicEvent& event : events_) {
    if (!event.IsProgramChange()) continue;
    if (event.value != 0) return event.value;
    program = 0;
  }
  return program;
}

void MidiTrackData::SetController(std::int32_t controller, std::int32_t value) {
  for (MusicEvent& event : events_) {
    if (event.IsController(controller)) event.value = value;
  }
}

void MidiTrackData::AddToController(std::int32_t controller, std::int32_t amount) {
  for (MusicEvent& event : events_) {
    if (!event.IsController(controller)) continue;
    event.value = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{event.value} + amount, 0, 127));
  }
}

void MidiTrackData::ScaleController(std::int32_t controller, std::int32_t percent) {
  for (MusicEvent& event : events_) {
    if (!event.IsController(controller)) continue;
    // Only the top is limited; the bottom clamp merely keeps an absurd product in range.
    const std::int64_t scaled = std::int64_t{event.value} * percent / 100;
    event.value = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(scaled, std::numeric_limits<std::int32_t>::min(), 127));
  }
}

void MidiTrackData::SetProgram(std::int32_t value) {
  for (MusicEvent& event : events_) {
    if (event.IsProgramChange()) event.value = value;
  }
}

void MidiTrackData::InsertControlChange(std::int32_t channel, std::int32_t controller,
                                        std::int32_t value) {
  MusicEvent event(0);
  event.kind = EventKind::ControlChange;
  event.channel = channel;
  event.type = controller;
  event.value = value;
  event.data = {static_cast<char>(0xB0), static_cast<char>(controller), static_cast<char>(value)};
  // A full track has reported TooMuchData; there is nothing else to do.
  static_cast<void>(InsertAt(0, Place::Before, std::move(event)));
}

std::optional<std::int32_t> MidiTrackData::GetMasterVolume() const {
  return LastValue(events_, IsMasterVolumeMessage, Context(), OnceWarning::MultipleVolumes);
}

bool MidiTrackData::SetMasterVolume(std::int32_t value) {
  ReportWideMasterVolume(Context(), value);
  const auto found = std::find_if(events_.begin(), events_.end(), IsMasterVolumeMessage);
  if (found == events_.end()) return false;
  if (found->data.size() > kMasterVolumeByte)
    found->data[kMasterVolumeByte] = MasterVolumeByte(value);
  found->value = value;
  return true;
}

void MidiTrackData::InsertMasterVolume(std::int32_t value) {
  ReportWideMasterVolume(Context(), value);
  MusicEvent event(0);
  event.kind = EventKind::SysExF0;
  event.type = SysExClass::MasterVolume;
  event.value = value;
  event.data = {
      static_cast<char>(0xF0), 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, MasterVolumeByte(value),
      static_cast<char>(0xF7)};
  // A full track has reported TooMuchData; there is nothing else to do.
  static_cast<void>(InsertAt(0, Place::Before, std::move(event)));
}

void MidiTrackData::DeleteMasterVolume() {
  RemoveIf(IsMasterVolumeMessage);
}

}  // namespace quillmar
