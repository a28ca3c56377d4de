#pragma once

#include <vector>

#include "audio/song_sound.h"
#include "preview/song_preview.h"

namespace quillmar {

// Which of the picture's notes the handset leaves out, as `sound` (the same song with a limit)
// tells: one flag for each of song.Notes(), true for a note left out. The two list the same
// notes in their own orders; a note is matched by its start tick, channel and key, the first
// of the picture's notes alike to the first of the sound's.
std::vector<bool> NotesLeftOut(const SongPreview& song, const SongSound& sound);

}  // namespace quillmar
