#include "model/smf_header.h"

#include "lists/text_helpers.h"

namespace quillmar {
namespace {

constexpr std::string_view kHeaderTag = "MThd";

int BigEndian16(std::string_view image, std::size_t offset) {
  return (static_cast<unsigned char>(image[offset]) << 8) |
         static_cast<unsigned char>(image[offset + 1]);
}

void AppendBigEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

}  // namespace

bool StripMacBinaryBeforeHeader(std::string& image) {
  if (image.compare(0, kHeaderTag.size(), kHeaderTag) == 0) return true;
  return StripMacBinaryHeader(image, kHeaderTag);
}

SmfHeader ReadSmfHeader(std::string_view image) {
  SmfHeader header;
  if (image.size() >= 10) header.format = BigEndian16(image, 8);
  if (image.size() >= 12) header.track_count = BigEndian16(image, 10);
  if (image.size() >= 14) header.division = BigEndian16(image, 12);
  return header;
}

std::string EncodeSmfHeader(int format, int track_count, std::int32_t division) {
  std::string header(kHeaderTag);
  AppendBigEndian(header, 6, 4);
  AppendBigEndian(header, static_cast<std::uint32_t>(format), 2);
  AppendBigEndian(header, static_cast<std::uint32_t>(track_count), 2);
  AppendBigEndian(header, static_cast<std::uint32_t>(division), 2);
  return header;
}

}  // namespace quillmar
