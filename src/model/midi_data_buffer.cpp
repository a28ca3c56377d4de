#include "model/midi_data_buffer.h"

#include "lists/whole_file.h"

namespace quillmar {

void MidiDataBuffer::Load(Reporter& reporter, const MidiSource& source) {
  TakeWholeImage(reporter, source.bytes, image_);
}

}  // namespace quillmar
