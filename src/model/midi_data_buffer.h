#pragma once

#include <string>
#include <string_view>

#include "report/report.h"

namespace quillmar {

// Where a song is read from: a file, or the bytes of a file made in memory (a conversion's own
// output read back without writing it).
struct MidiSource {
  static MidiSource File(std::string_view path) { return {path, {}, false}; }
  static MidiSource Bytes(std::string_view bytes) { return {{}, bytes, true}; }

  std::string_view path;
  std::string_view bytes;
  bool in_memory = false;
};

// The byte image shared by tracks and songs: a file as read, a chunk being parsed, or the
// encoding of a track or a whole file.
class MidiDataBuffer {
 public:
  // Reads at most 262,144 bytes of the file (General error 1 when the limit is reached,
  // General error 3 and an empty image when it cannot be opened).
  bool LoadFromFile(Reporter& reporter, std::string_view path);
  // LoadFromFile, or the bytes in memory read the same way (the same limit and message).
  bool Load(Reporter& reporter, const MidiSource& source);
  // Writes the image to the file, replacing it whole (General error 3 on failure).
  bool SaveToFile(Reporter& reporter, std::string_view path) const;

  const std::string& Image() const { return image_; }
  std::size_t Size() const { return image_.size(); }

 protected:
  std::string image_;
};

}  // namespace quillmar
