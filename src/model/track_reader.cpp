#include "model/midi_track_data.h"

namespace quillmar {

void MidiTrackData::ReadChunk(std::string_view, std::size_t) {}

}  // namespace quillmar
