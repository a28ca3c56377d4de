#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmar {

// The first track chunk is sought right after a six-byte header, whatever length the header
// declares.
inline constexpr std::size_t kFirstChunkOffset = 14;

struct SmfHeader {
  int format = -1;  // -1 when the image is too short to hold it
  int track_count = 0;
  std::int32_t division = 0;
};

// When the image does not begin with "MThd" but holds it at offset 128, drops the 128-byte
// MacBinary header in front. False when neither place holds "MThd".
[[nodiscard]] bool StripMacBinaryBeforeHeader(std::string& image);

// The format, track count and division of an image that starts with the header.
SmfHeader ReadSmfHeader(std::string_view image);

// "MThd", length 6, format, track count and division (low 16 bits), all big-endian.
std::string EncodeSmfHeader(int format, int track_count, std::int32_t division);

}  // namespace quillmar
