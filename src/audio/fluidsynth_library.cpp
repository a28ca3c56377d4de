#include "audio/fluidsynth_library.h"

#include <dlfcn.h>

namespace quillmar {
namespace {

// The library of Debian's libfluidsynth3 (FluidSynth 2), by its soname.
constexpr const char* kLibraryName = "libfluidsynth.so.3";

template <typename Function>
bool Find(void* handle, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  return function != nullptr;
}

}  // namespace

std::variant<std::unique_ptr<FluidSynthLibrary>, std::string> FluidSynthLibrary::Load() {
  std::unique_ptr<FluidSynthLibrary> library(new FluidSynthLibrary);
  // Never unloaded: threads that the library or its own libraries start may outlive every
  // object of ours.
  library->handle_ = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (library->handle_ == nullptr) {
    return std::string("FluidSynth is not installed (sudo apt install libfluidsynth3)");
  }
  void* handle = library->handle_;
  FluidSynthFunctions& f = library->functions_;
  const bool found =
      Find(handle, "fluid_set_log_function", f.set_log_function) &&
      Find(handle, "new_fluid_settings", f.new_settings) &&
      Find(handle, "delete_fluid_settings", f.delete_settings) &&
      Find(handle, "fluid_settings_setnum", f.settings_setnum) &&
      Find(handle, "new_fluid_synth", f.new_synth) &&
      Find(handle, "delete_fluid_synth", f.delete_synth) &&
      Find(handle, "fluid_synth_sfload", f.sfload) &&
      Find(handle, "fluid_synth_system_reset", f.system_reset) &&
      Find(handle, "fluid_synth_sysex", f.sysex) && Find(handle, "fluid_synth_noteon", f.noteon) &&
      Find(handle, "fluid_synth_noteoff", f.noteoff) && Find(handle, "fluid_synth_cc", f.cc) &&
      Find(handle, "fluid_synth_program_change", f.program_change) &&
      Find(handle, "fluid_synth_channel_pressure", f.channel_pressure) &&
      Find(handle, "fluid_synth_pitch_bend", f.pitch_bend) &&
      Find(handle, "fluid_synth_write_float", f.write_float) &&
      Find(handle, "fluid_synth_write_s16", f.write_s16) &&
      Find(handle, "new_fluid_audio_driver2", f.new_audio_driver2) &&
      Find(handle, "delete_fluid_audio_driver", f.delete_audio_driver);
  if (!found) return std::string("the installed FluidSynth lacks a function Quillmar needs");
  return library;
}

FluidSynthLibrary::~FluidSynthLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

}  // namespace quillmar
