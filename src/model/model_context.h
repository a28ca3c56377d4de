#pragma once

#include <array>
#include <cstdint>

#include "report/report.h"

namespace quillmar {

// Warnings of MidiTrackData that are reported at most once between two chunk reads (the
// values are their codes).
enum class OnceWarning : std::uint32_t {
  MultipleVolumes = 0x0D000009,
  MultiplePans = 0x0D00000A,
  EventTooLarge = 0x0D00000B,
};

// The state the MIDI model keeps across tracks: where its findings go, the chunk reader's
// remembered running status and the once-only warning flags. Owned by the run (or a preview,
// or a test); every track and song refers to the context it was made with.
class ModelContext {
 public:
  explicit ModelContext(Reporter& reporter) : reporter_(&reporter) {}

  Reporter& Reports() const { return *reporter_; }

  // The running status remembered between events and chunks of one file. The song
  // containers reset it to 0 before they read a file.
  std::uint8_t running_status = 0;

  // Clears the once-only flags (done at the start of every chunk read).
  void RearmWarnings() { reported_.fill(false); }

  // Reports the warning unless it has been reported since the flags were last cleared.
  void Warn(OnceWarning warning);

 private:
  Reporter* reporter_;
  std::array<bool, 3> reported_{};
};

}  // namespace quillmar
