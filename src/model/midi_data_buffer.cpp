#include "model/midi_data_buffer.h"

#include "lists/whole_file.h"

namespace quillmar {

bool MidiDataBuffer::LoadFromFile(std::string_view path) {
  return ReadWholeFile(path, image_);
}

bool MidiDataBuffer::Load(const MidiSource& source) {
  if (!source.in_memory) return LoadFromFile(source.path);
  TakeWholeImage(source.bytes, image_);
  return true;
}

bool MidiDataBuffer::SaveToFile(std::string_view path) const {
  return WriteWholeFile(path, image_);
}

}  // namespace quillmar
