#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>

#include "audio/song_renderer.h"

namespace quillmar {

// Plays songs through the system's sound: FluidSynth's audio driver asks for sound on a thread
// of its own, and the player renders the song it plays, or silence. Its calls are safe from
// any thread.
class AudioPlayer {
 public:
  // Starts the audio driver; the text tells why there is none (no audio device).
  static std::variant<std::unique_ptr<AudioPlayer>, std::string> Open(Synthesizer& synthesizer);
  // Plays in real time as a device would, on a thread of its own, but into silence: for
  // watching the player where there is no sound (FluidSynth's file driver cannot call back).
  static std::unique_ptr<AudioPlayer> OpenSilent(Synthesizer& synthesizer);
  ~AudioPlayer();
  AudioPlayer(const AudioPlayer&) = delete;
  AudioPlayer& operator=(const AudioPlayer&) = delete;

  // Plays the song from the moment `seconds`.
  void Play(std::shared_ptr<const SongSound> song, double seconds);
  // Plays another song from the present moment, playing or not.
  void Switch(std::shared_ptr<const SongSound> song);
  void Stop();
  // True while a song plays: until Stop or until its end and release tail have sounded.
  bool Playing() const;
  // The moment of the song being rendered, in seconds.
  double Position() const;

 private:
  explicit AudioPlayer(Synthesizer& synthesizer)
      : fluid_(&synthesizer.Fluid()), renderer_(synthesizer) {}
  static int Fill(void* player, int frames, int effects, float* effect_buffers[], int outputs,
                  float* output_buffers[]);
  void RunClock(const std::stop_token& stop);

  const FluidSynthFunctions* fluid_;
  mutable std::mutex mutex_;
  SongRenderer renderer_;
  bool playing_ = false;
  fluid_audio_driver_t* driver_ = nullptr;
  std::jthread clock_;  // last, so that it stops before the renderer goes
};

}  // namespace quillmar
