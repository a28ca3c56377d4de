#include "model/midi_data_buffer.h"

#include "lists/whole_file.h"

namespace quillmar {

bool MidiDataBuffer::LoadFromFile(Reporter& reporter, std::string_view path) {
  return ReadWholeFile(reporter, path, image_);
}

bool MidiDataBuffer::Load(Reporter& reporter, const MidiSource& source) {
  if (!source.in_memory) return LoadFromFile(reporter, source.path);
  TakeWholeImage(reporter, source.bytes, image_);
  return true;
}

bool MidiDataBuffer::SaveToFile(Reporter& reporter, std::string_view path) const {
  return WriteWholeFile(reporter, path, image_);
}

}  // namespace quillmar
