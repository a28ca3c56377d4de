#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/sounding_timeline.h"
#include "model/tempo_map.h"

namespace quillmar {

// The timeline as CSV text for scripts and spreadsheets: the header "tick,seconds,notes",
// then one line per change of the number of notes sounding (from tick 0, where nothing may
// sound yet), seconds to the microsecond; ASCII, LF line ends.
std::string TimelineCsv(const std::vector<SoundingChange>& timeline, const TempoMap& tempo);

}  // namespace quillmar
