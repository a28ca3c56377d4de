#include "audio/synthesizer.h"

#include <fluidsynth.h>

#include <filesystem>
#include <system_error>

namespace quillmar {

std::optional<std::string> SoundFontToUse(const std::optional<std::string>& chosen) {
  const std::string path = chosen.value_or(std::string(kDefaultSoundFont));
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return path;
}

std::string NoSoundFontText(const std::optional<std::string>& chosen) {
  if (chosen) return "the SoundFont " + *chosen + " is not there";
  return "no General MIDI SoundFont: install one (sudo apt install timgm6mb-soundfont, or "
         "fluid-soundfont-gm), or choose a SoundFont file";
}

std::variant<std::unique_ptr<Synthesizer>, std::string> Synthesizer::Open(
    const std::string& soundfont, std::string_view driver, std::string_view file) {
  // FluidSynth's own messages would go to standard error; Quillmar tells its own.
  for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
    fluid_set_log_function(level, nullptr, nullptr);
  }
  std::unique_ptr<Synthesizer> synthesizer(new Synthesizer);
  synthesizer->settings_ = new_fluid_settings();
  if (synthesizer->settings_ == nullptr) return std::string("the synthesizer could not start");
  fluid_settings_setnum(synthesizer->settings_, "synth.sample-rate", kSampleRate);
  // FluidSynth's default gain (0.2) leaves a single melody far too quiet.
  fluid_settings_setnum(synthesizer->settings_, "synth.gain", 0.6);
  if (!driver.empty()) {
    fluid_settings_setstr(synthesizer->settings_, "audio.driver", std::string(driver).c_str());
  }
  if (!file.empty()) {
    fluid_settings_setstr(synthesizer->settings_, "audio.file.name", std::string(file).c_str());
  }
  synthesizer->synth_ = new_fluid_synth(synthesizer->settings_);
  if (synthesizer->synth_ == nullptr) return std::string("the synthesizer could not start");
  if (fluid_synth_sfload(synthesizer->synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
    return "the SoundFont " + soundfont + " could not be read";
  }
  return synthesizer;
}

Synthesizer::~Synthesizer() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  if (settings_ != nullptr) delete_fluid_settings(settings_);
}

}  // namespace quillmar
