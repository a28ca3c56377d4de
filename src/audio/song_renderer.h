#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "audio/song_sound.h"
#include "audio/synthesizer.h"

namespace quillmar {

// How long the sound of the last notes may ring on after a song's end.
inline constexpr double kReleaseTailSeconds = 2.0;

// Plays a song on a synthesizer, frame by frame: sends each message when its time comes and
// has the synthesizer render what sounds. Not safe from two threads at once.
class SongRenderer {
 public:
  explicit SongRenderer(Synthesizer& synthesizer);

  // The song to play from now on, at the present moment (a song switched while playing goes
  // on where the other was): sound stops and the channels are set as the song has set them by
  // then. Null plays nothing.
  void SetSong(std::shared_ptr<const SongSound> song);
  // Goes to the moment `seconds` of the song: sound stops and the channels are set as the song
  // has set them by then.
  void Seek(double seconds);

  double Position() const { return static_cast<double>(frame_) / kSampleRate; }
  // The frame where rendering ends: the song's end and its release tail.
  std::int64_t EndFrame() const;
  bool Finished() const { return frame_ >= EndFrame(); }

  // Renders `frames` stereo frames into the two buffers (silence past the end).
  void Render(std::size_t frames, float* left, float* right);
  // The same as 16-bit samples, left and right interleaved.
  void Render(std::size_t frames, std::int16_t* interleaved);

 private:
  template <typename Write>
  void RenderWith(std::size_t frames, Write write);
  void Send(const SoundMessage& message);
  // Stops all sound, resets the channels and sends the messages before the present moment
  // that set them (all but notes).
  void Chase();

  Synthesizer* synthesizer_;
  std::shared_ptr<const SongSound> song_;
  std::int64_t frame_ = 0;
  std::size_t next_ = 0;  // the first message not sent yet
};

}  // namespace quillmar
