#include "audio/synthesizer.h"

#include <filesystem>
#include <fstream>
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

namespace {

// Whether the file starts as a SoundFont does (a RIFF file of form "sfbk"), so that another
// file is refused with a message of ours rather than the library's.
bool LooksLikeSoundFont(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char start[12] = {};
  return file.read(start, sizeof start) && std::string_view(start, 4) == "RIFF" &&
         std::string_view(start + 8, 4) == "sfbk";
}

}  // namespace

std::variant<std::unique_ptr<Synthesizer>, std::string> Synthesizer::Open(
    const std::string& soundfont) {
  if (!LooksLikeSoundFont(soundfont)) return "the file " + soundfont + " is not a SoundFont";
  auto loaded = FluidSynthLibrary::Load();
  if (auto* reason = std::get_if<std::string>(&loaded)) return *reason;
  std::unique_ptr<Synthesizer> synthesizer(new Synthesizer);
  synthesizer->library_ = std::move(std::get<std::unique_ptr<FluidSynthLibrary>>(loaded));
  const FluidSynthFunctions& fluid = synthesizer->Fluid();
  // FluidSynth's own messages would go to standard error; Quillmar tells its own.
  for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
    fluid.set_log_function(level, nullptr, nullptr);
  }
  synthesizer->settings_ = fluid.new_settings();
  if (synthesizer->settings_ == nullptr) return std::string("the synthesizer could not start");
  fluid.settings_setnum(synthesizer->settings_, "synth.sample-rate", kSampleRate);
  // FluidSynth's default gain (0.2) leaves a single melody far too quiet.
  fluid.settings_setnum(synthesizer->settings_, "synth.gain", 0.6);
  synthesizer->synth_ = fluid.new_synth(synthesizer->settings_);
  if (synthesizer->synth_ == nullptr) return std::string("the synthesizer could not start");
  if (fluid.sfload(synthesizer->synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
    return "the SoundFont " + soundfont + " could not be read";
  }
  return synthesizer;
}

Synthesizer::~Synthesizer() {
  if (synth_ != nullptr) Fluid().delete_synth(synth_);
  if (settings_ != nullptr) Fluid().delete_settings(settings_);
}

}  // namespace quillmar
