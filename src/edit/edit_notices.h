#pragma once

#include <array>
#include <cstddef>

#include "report/report.h"

namespace quillmar {

// The notices that tell users of an old way of writing an edit row.
enum class EditNotice : std::size_t {
  // Message boxes, once; the row then does nothing.
  MasterVolumeMax,
  PitchBendZero,
  Tempo,
  // Detail lines, once; the row still runs, reading the track from the old place.
  ConvSequenceName,
  ConvVelocity,
  ConvGateTime,
  ConvProgramChange,
  ConvChanelVolume,
  DelNote,
  kCount,
};

// Which once-only notices have been shown. Owned by the program's run control, so that a
// notice is shown once while the program runs, whatever the files and runs.
class EditNotices {
 public:
  // Shows the notice unless it has been shown before.
  void ShowOnce(Reporter& reporter, EditNotice notice);

 private:
  std::array<bool, static_cast<std::size_t>(EditNotice::kCount)> shown_{};
};

}  // namespace quillmar
