#pragma once

#include <string>
#include <string_view>

#include "report/report.h"

namespace quillmar {

// The bytes a song is read from: a file as read whole, or a file made in memory (a
// conversion's own output read back without writing it). Made through Bytes(), never from a
// string by itself, so that a path cannot pass for a file's contents.
struct MidiSource {
  static MidiSource Bytes(std::string_view bytes) { return {bytes}; }

  std::string_view bytes;
};

// The byte image shared by tracks and songs: a file as read, a chunk being parsed, or the
// encoding of a track or a whole file.
class MidiDataBuffer {
 public:
  // Takes the source's bytes as a file of them is read: at most 262,144 bytes, with General
  // error 1 when the limit is reached.
  void Load(Reporter& reporter, const MidiSource& source);

  const std::string& Image() const { return image_; }
  std::size_t Size() const { return image_.size(); }

 protected:
  std::string image_;
};

}  // namespace quillmar
