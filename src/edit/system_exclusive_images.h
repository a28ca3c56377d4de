#pragma once

#include <cstdint>
#include <string_view>

#include "model/music_event.h"

namespace quillmar {

// The fixed system exclusive messages of the edit commands, as stored in an event: F0, the
// count of the bytes after it, the body ending in F7.
inline constexpr std::string_view kLoopStartImage{"\xF0\x09\x59\x7F\x48\x4D\x02\x0D\x00\x00\xF7",
                                                  11};
inline constexpr std::string_view kLoopStopImage{"\xF0\x09\x59\x7F\x48\x4D\x02\x0D\x00\x01\xF7",
                                                 11};
inline constexpr std::string_view kGmSystemOnImage{"\xF0\x05\x7E\x7F\x09\x01\xF7", 7};

// A system exclusive event of the image, with delta 0 and its class set from its bytes.
MusicEvent MakeSysExEvent(std::string_view image);

// The master volume message with the volume byte `volume` (0-127).
MusicEvent MakeMasterVolumeEvent(std::int32_t volume);

}  // namespace quillmar
