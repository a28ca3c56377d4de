#include "model/midi_f1_data.h"
#include "model/model_errors.h"

namespace quillmar {

std::optional<std::int32_t> MidiF1Data::GetVolume(std::int32_t channel) const {
  for (const MidiTrackData& track : tracks_) {
    if (track.GetChannel() != channel) continue;
    if (const std::optional<std::int32_t> volume = track.GetVolume()) return volume;
  }
  return std::nullopt;
}

std::optional<std::int32_t> MidiF1Data::GetProgram(std::int32_t channel) const {
  for (const MidiTrackData& track : tracks_) {
    if (track.GetChannel() != channel) continue;
    if (const std::optional<std::int32_t> program = track.GetProgram()) return program;
  }
  return std::nullopt;
}

std::optional<std::int32_t> MidiF1Data::GetMasterVolume() const {
  std::optional<std::int32_t> found;
  for (const MidiTrackData& track : tracks_) {
    const std::optional<std::int32_t> volume = track.GetMasterVolume();
    if (!volume) continue;
    if (!found) {
      found = volume;
    } else {
      ReportF1Error(Context(), kMultipleMasterVolumes);
    }
  }
  return found;
}

std::optional<std::int32_t> MidiF1Data::FindTempo() const {
  for (const MidiTrackData& track : tracks_) {
    if (auto tempo = track.FindTempo()) return tempo;
  }
  return std::nullopt;
}

int MidiF1Data::CountMeta(std::int32_t meta_type) const {
  int count = 0;
  for (const MidiTrackData& track : tracks_) count += track.CountMeta(meta_type);
  return count;
}

}  // namespace quillmar
