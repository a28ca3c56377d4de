#pragma once

#include <array>
#include <cstdint>

namespace quillmar {

// Warnings of MidiTrackData that are reported at most once between two chunk reads (the
// values are their codes).
enum class OnceWarning : std::uint32_t {
  MultipleVolumes = 0x0D000009,
  MultiplePans = 0x0D00000A,
  EventTooLarge = 0x0D00000B,
};

// The state the MIDI model keeps across tracks: the chunk reader's remembered running
// status and the once-only warning flags. Owned by the run (or a test); every track and song
// refers to the context it was made with.
class ModelContext {
 public:
  // The running status remembered between events and chunks of one file. The song
  // containers reset it to 0 before they read a file.
  std::uint8_t running_status = 0;

  // Clears the once-only flags (done at the start of every chunk read).
  void RearmWarnings() { reported_.fill(false); }

  // Reports the warning unless it has been reported since the flags were last cleared.
  void Warn(OnceWarning warning);

 private:
  std::array<bool, 3> reported_{};
};

}  // namespace quillmar
