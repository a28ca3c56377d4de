#include "audio/song_renderer.h"

#include <algorithm>
#include <cmath>

namespace quillmar {
namespace {

std::int64_t FrameOf(double seconds) {
  return static_cast<std::int64_t>(std::llround(seconds * kSampleRate));
}

}  // namespace

SongRenderer::SongRenderer(Synthesizer& synthesizer) : synthesizer_(&synthesizer) {}

void SongRenderer::SetSong(std::shared_ptr<const SongSound> song) {
  song_ = std::move(song);
  Chase();
}

void SongRenderer::Seek(double seconds) {
  frame_ = std::max<std::int64_t>(0, FrameOf(seconds));
  Chase();
}

std::int64_t SongRenderer::EndFrame() const {
  return song_ ? FrameOf(song_->Seconds() + kReleaseTailSeconds) : 0;
}

void SongRenderer::Chase() {
  synthesizer_->Fluid().system_reset(synthesizer_->Synth());
  next_ = 0;
  if (!song_) return;
  const auto& messages = song_->Messages();
  for (; next_ < messages.size() && FrameOf(messages[next_].seconds) < frame_; ++next_) {
    if (!messages[next_].IsNoteOn() && !messages[next_].IsNoteOff()) Send(messages[next_]);
  }
}

void SongRenderer::Send(const SoundMessage& message) {
  const FluidSynthFunctions& fluid = synthesizer_->Fluid();
  fluid_synth_t* synth = synthesizer_->Synth();
  if (message.IsSysEx()) {
    // FluidSynth takes the bytes between F0 and F7.
    if (message.sysex.size() >= 2) {
      fluid.sysex(synth, message.sysex.data() + 1, static_cast<int>(message.sysex.size()) - 2,
                  nullptr, nullptr, nullptr, 0);
    }
    return;
  }
  const int channel = message.status & 0x0F;
  switch (message.status & 0xF0) {
    case 0x80:
      fluid.noteoff(synth, channel, message.data1);
      break;
    case 0x90:
      fluid.noteon(synth, channel, message.data1, message.data2);
      break;
    case 0xB0:
      fluid.cc(synth, channel, message.data1, message.data2);
      break;
    case 0xC0:
      fluid.program_change(synth, channel, message.data1);
      break;
    case 0xD0:
      fluid.channel_pressure(synth, channel, message.data1);
      break;
    case 0xE0:
      fluid.pitch_bend(synth, channel, (message.data2 << 7) | message.data1);
      break;
    default:
      break;
  }
}

template <typename Write>
void SongRenderer::RenderWith(std::size_t frames, Write write) {
  std::size_t done = 0;
  while (done < frames) {
    // Send what is due, then render up to the next message's frame.
    std::int64_t until = frame_ + static_cast<std::int64_t>(frames - done);
    if (song_) {
      const auto& messages = song_->Messages();
      for (; next_ < messages.size() && FrameOf(messages[next_].seconds) <= frame_; ++next_) {
        Send(messages[next_]);
      }
      if (next_ < messages.size()) until = std::min(until, FrameOf(messages[next_].seconds));
    }
    const auto count = static_cast<std::size_t>(until - frame_);
    write(done, count);
    done += count;
    frame_ = until;
  }
}

void SongRenderer::Render(std::size_t frames, float* left, float* right) {
  RenderWith(frames, [&](std::size_t offset, std::size_t count) {
    synthesizer_->Fluid().write_float(synthesizer_->Synth(), static_cast<int>(count), left + offset,
                                      0, 1, right + offset, 0, 1);
  });
}

void SongRenderer::Render(std::size_t frames, std::int16_t* interleaved) {
  RenderWith(frames, [&](std::size_t offset, std::size_t count) {
    synthesizer_->Fluid().write_s16(synthesizer_->Synth(), static_cast<int>(count),
                                    interleaved + 2 * offset, 0, 2, interleaved + 2 * offset, 1, 2);
  });
}

}  // namespace quillmar
