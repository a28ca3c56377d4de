#pragma once

#include <string>
#include <string_view>

namespace quillmar {

// The files a run may write beside an output file: the output name without its extension,
// then a suffix of their own.

// The timeline of sounding notes: "song.mid" gives "song.timeline.csv".
std::string TimelineFileName(std::string_view output_name);

// The song as a synthesizer plays it: "song.mid" gives "song.wav".
std::string WavFileName(std::string_view output_name);

}  // namespace quillmar
