#pragma once

#include <fluidsynth.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace quillmar {

// The functions of FluidSynth that Quillmar uses, from its shared library, loaded when sound
// is first asked for: the programs start and convert without it, and tell when it is missing.
struct FluidSynthFunctions {
  decltype(&fluid_set_log_function) set_log_function;
  decltype(&new_fluid_settings) new_settings;
  decltype(&delete_fluid_settings) delete_settings;
  decltype(&fluid_settings_setnum) settings_setnum;
  decltype(&new_fluid_synth) new_synth;
  decltype(&delete_fluid_synth) delete_synth;
  decltype(&fluid_synth_sfload) sfload;
  decltype(&fluid_synth_system_reset) system_reset;
  decltype(&fluid_synth_sysex) sysex;
  decltype(&fluid_synth_noteon) noteon;
  decltype(&fluid_synth_noteoff) noteoff;
  decltype(&fluid_synth_cc) cc;
  decltype(&fluid_synth_program_change) program_change;
  decltype(&fluid_synth_channel_pressure) channel_pressure;
  decltype(&fluid_synth_pitch_bend) pitch_bend;
  decltype(&fluid_synth_write_float) write_float;
  decltype(&fluid_synth_write_s16) write_s16;
  decltype(&new_fluid_audio_driver2) new_audio_driver2;
  decltype(&delete_fluid_audio_driver) delete_audio_driver;
};

// The loaded library: its functions, for as long as it lives.
class FluidSynthLibrary {
 public:
  // Loads the library; the text tells why it could not (not installed).
  static std::variant<std::unique_ptr<FluidSynthLibrary>, std::string> Load();
  ~FluidSynthLibrary();
  FluidSynthLibrary(const FluidSynthLibrary&) = delete;
  FluidSynthLibrary& operator=(const FluidSynthLibrary&) = delete;

  const FluidSynthFunctions& operator*() const { return functions_; }
  const FluidSynthFunctions* operator->() const { return &functions_; }

 private:
  FluidSynthLibrary() = default;
  void* handle_ = nullptr;
  FluidSynthFunctions functions_{};
};

}  // namespace quillmar
