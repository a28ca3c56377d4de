#pragma once

#include <string>

#include "audio/song_sound.h"
#include "audio/synthesizer.h"

namespace quillmar {

// The song rendered on the synthesizer as a WAV file's bytes: 16-bit stereo PCM at
// kSampleRate, from the song's start to its end and the release tail, faster than real time.
std::string RenderWav(const SongSound& song, Synthesizer& synthesizer);

}  // namespace quillmar
