#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "audio/song_sound.h"
#include "audio/synthesizer.h"

namespace quillmar {

// The song rendered on the synthesizer as a WAV file's bytes: 16-bit stereo PCM at
// kSampleRate, from the song's start to its end and the release tail, faster than real time.
std::string RenderWav(const SongSound& song, Synthesizer& synthesizer);

// Renders the song on a synthesizer of its own with the SoundFont (a native path) and writes
// the WAV file (a native path) whole, replacing one that is there; the text tells why not.
[[nodiscard]] std::optional<std::string> SaveWav(const SongSound& song,
                                                 const std::string& soundfont,
                                                 std::string_view native_path);

}  // namespace quillmar
