#include "edit/system_exclusive_images.h"

#include <algorithm>
#include <string>

namespace quillmar {

MusicEvent MakeSysExEvent(std::string_view image) {
  MusicEvent event(0);
  event.kind = EventKind::SysExF0;
  event.data = std::string(image);
  event.ClassifySysEx();
  return event;
}

MusicEvent MakeMasterVolumeEvent(std::int32_t volume) {
  constexpr std::size_t kVolumeByte = 7;
  std::string image("\xF0\x07\x7F\x7F\x04\x01\x00\x00\xF7", 9);
  image[kVolumeByte] = static_cast<char>(std::clamp(volume, 0, 127));
  return MakeSysExEvent(image);
}

}  // namespace quillmar
