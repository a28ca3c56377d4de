#include "audio/wav_file.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "audio/song_renderer.h"
#include "platform/files.h"

namespace quillmar {
namespace {

void Append(std::string& bytes, std::uint32_t value, int size) {
  for (int byte = 0; byte < size; ++byte) bytes.push_back(static_cast<char>(value >> (8 * byte)));
}

}  // namespace

std::string RenderWav(const SongSound& song, Synthesizer& synthesizer) {
  SongRenderer renderer(synthesizer);
  // The renderer shares the song for its life here only.
  renderer.SetSong(std::shared_ptr<const SongSound>(&song, [](const SongSound*) {}));
  const auto frames = static_cast<std::size_t>(renderer.EndFrame());
  std::vector<std::int16_t> samples(2 * frames);
  constexpr std::size_t kBlock = 4096;
  for (std::size_t done = 0; done < frames; done += kBlock) {
    renderer.Render(std::min(kBlock, frames - done), samples.data() + 2 * done);
  }
  constexpr int kChannels = 2;
  constexpr int kBytesPerSample = 2;
  const auto data_size = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
  std::string bytes;
  bytes.reserve(44 + data_size);
  bytes += "RIFF";
  Append(bytes, 36 + data_size, 4);
  bytes += "WAVEfmt ";
  Append(bytes, 16, 4);  // the format chunk's size
  Append(bytes, 1, 2);   // PCM
  Append(bytes, kChannels, 2);
  Append(bytes, kSampleRate, 4);
  Append(bytes, kSampleRate * kChannels * kBytesPerSample, 4);
  Append(bytes, kChannels * kBytesPerSample, 2);
  Append(bytes, 8 * kBytesPerSample, 2);
  bytes += "data";
  Append(bytes, data_size, 4);
  // The samples as they lie in memory when that is little-endian, as WAV wants them.
  if constexpr (std::endian::native == std::endian::little) {
    bytes.append(reinterpret_cast<const char*>(samples.data()), data_size);
  } else {
    for (const std::int16_t sample : samples) Append(bytes, static_cast<std::uint16_t>(sample), 2);
  }
  return bytes;
}

std::optional<std::string> SaveWav(const SongSound& song, const std::string& soundfont,
                                   std::string_view native_path) {
  auto opened = Synthesizer::Open(soundfont);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const std::string bytes = RenderWav(song, *std::get<std::unique_ptr<Synthesizer>>(opened));
  const std::optional<std::string> path = SjisPath(native_path);
  if (!path) return "the name cannot be written in Shift_JIS: " + std::string(native_path);
  if (!WriteFileReplacing(*path, bytes)) return "cannot write " + std::string(native_path);
  return std::nullopt;
}

}  // namespace quillmar
