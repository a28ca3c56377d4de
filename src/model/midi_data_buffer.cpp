#include "model/midi_data_buffer.h"

#include "lists/whole_file.h"

namespace quillmar {

void MidiDataBuffer::Load(const MidiSource& source) {
  TakeWholeImage(source.bytes, image_);
}

}  // namespace quillmar
