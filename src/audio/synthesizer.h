#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "audio/fluidsynth_library.h"

namespace quillmar {

// The system's General MIDI SoundFont, which Debian's SoundFont packages provide.
inline constexpr std::string_view kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// Frames a second of everything Quillmar renders and plays.
inline constexpr int kSampleRate = 44100;

// The SoundFont to use (a native path): the one chosen, or else the system's default; none when
// the file is not there.
std::optional<std::string> SoundFontToUse(const std::optional<std::string>& chosen);

// What to tell when there is no SoundFont: the packages that provide one.
std::string NoSoundFontText(const std::optional<std::string>& chosen);

// A FluidSynth synthesizer at kSampleRate with one SoundFont loaded, through the library it
// loads. Its settings also serve the audio driver made for it (see AudioPlayer).
class Synthesizer {
 public:
  // Loads the SoundFont (a native path); the text tells why it could not.
  static std::variant<std::unique_ptr<Synthesizer>, std::string> Open(const std::string& soundfont);
  ~Synthesizer();
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  const FluidSynthFunctions& Fluid() const { return **library_; }
  fluid_synth_t* Synth() const { return synth_; }
  fluid_settings_t* Settings() const { return settings_; }

 private:
  Synthesizer() = default;
  std::unique_ptr<FluidSynthLibrary> library_;  // outlives the settings and the synth
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
};

}  // namespace quillmar
