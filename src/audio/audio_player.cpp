#include "audio/audio_player.h"

#include <algorithm>
#include <array>
#include <chrono>

namespace quillmar {

std::variant<std::unique_ptr<AudioPlayer>, std::string> AudioPlayer::Open(
    Synthesizer& synthesizer) {
  std::unique_ptr<AudioPlayer> player(new AudioPlayer(synthesizer));
  player->driver_ =
      player->fluid_->new_audio_driver2(synthesizer.Settings(), &AudioPlayer::Fill, player.get());
  if (player->driver_ == nullptr) return std::string("no audio device");
  return player;
}

std::unique_ptr<AudioPlayer> AudioPlayer::OpenSilent(Synthesizer& synthesizer) {
  std::unique_ptr<AudioPlayer> player(new AudioPlayer(synthesizer));
  player->clock_ =
      std::jthread([&player = *player](const std::stop_token& stop) { player.RunClock(stop); });
  return player;
}

void AudioPlayer::RunClock(const std::stop_token& stop) {
  constexpr int kFrames = 512;  // as a sound card asks for them, about 12 ms
  std::array<float, kFrames> left{};
  std::array<float, kFrames> right{};
  std::array<float*, 2> buffers = {left.data(), right.data()};
  const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(static_cast<double>(kFrames) / kSampleRate));
  auto due = std::chrono::steady_clock::now();
  while (!stop.stop_requested()) {
    Fill(this, kFrames, 0, nullptr, 2, buffers.data());
    due += period;
    std::this_thread::sleep_until(due);
  }
}

AudioPlayer::~AudioPlayer() {
  // The driver's thread ends before the renderer goes.
  if (driver_ != nullptr) fluid_->delete_audio_driver(driver_);
}

void AudioPlayer::Play(std::shared_ptr<const SongSound> song, double seconds) {
  const std::lock_guard lock(mutex_);
  renderer_.SetSong(std::move(song));
  renderer_.Seek(seconds);
  playing_ = true;
}

void AudioPlayer::Switch(std::shared_ptr<const SongSound> song) {
  const std::lock_guard lock(mutex_);
  renderer_.SetSong(std::move(song));
}

void AudioPlayer::Stop() {
  const std::lock_guard lock(mutex_);
  playing_ = false;
  renderer_.Seek(renderer_.Position());  // sound stops
}

bool AudioPlayer::Playing() const {
  const std::lock_guard lock(mutex_);
  return playing_;
}

double AudioPlayer::Position() const {
  const std::lock_guard lock(mutex_);
  return renderer_.Position();
}

int AudioPlayer::Fill(void* data, int frames, int, float*[], int outputs, float* output_buffers[]) {
  auto* player = static_cast<AudioPlayer*>(data);
  if (frames <= 0 || outputs < 1) return FLUID_OK;
  float* left = output_buffers[0];
  float* right = outputs > 1 ? output_buffers[1] : output_buffers[0];
  const std::lock_guard lock(player->mutex_);
  if (!player->playing_) {
    std::fill(left, left + frames, 0.0F);
    std::fill(right, right + frames, 0.0F);
    return FLUID_OK;
  }
  player->renderer_.Render(static_cast<std::size_t>(frames), left, right);
  if (player->renderer_.Finished()) player->playing_ = false;
  return FLUID_OK;
}

}  // namespace quillmar
