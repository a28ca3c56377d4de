#pragma once

#include <string>
#include <string_view>

namespace quillmar {

// The byte image shared by tracks and songs: a file as read, a chunk being parsed, or the
// encoding of a track or a whole file.
class MidiDataBuffer {
 public:
  // Reads at most 262,144 bytes of the file (General error 1 when the limit is reached,
  // General error 3 and an empty image when it cannot be opened).
  bool LoadFromFile(std::string_view path);
  // Writes the image to the file, replacing it whole (General error 3 on failure).
  bool SaveToFile(std::string_view path) const;

  const std::string& Image() const { return image_; }
  std::size_t Size() const { return image_.size(); }

 protected:
  std::string image_;
};

}  // namespace quillmar
