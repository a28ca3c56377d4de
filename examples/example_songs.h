#pragma once

// The example songs, built event by event (480 ticks per quarter note): make-examples writes
// them, and the help's examples are tested on the very same bytes.
#include <string>

namespace quillmar::examples {

// Format 0: a melody on channel 1 over chords on channel 2, with its own Japanese title.
std::string MelodySong();
// Format 1: a conductor "Band" (tempo 120, 4/4, a marker "End" after four measures), ピアノ
// with four-note chords on channel 1, ベース on channel 2 and ドラム on channel 10 (kick 36,
// snare 38, hi-hat 42).
std::string BandSong();
// Format 1 in three-four time with a slower closing bar, and no copyright of its own.
std::string WaltzSong();

}  // namespace quillmar::examples
