#pragma once

#include <array>
#include <cstddef>

namespace quillmar {

// The formats a run writes its outputs in, each into a folder of its own: the input's own
// format ("Same as original"), format 0 and format 1.
enum class OutputFormat { SameAsOriginal, Format0, Format1 };

// Every output format, in the order of the format check boxes and the folder prompts.
inline constexpr std::array<OutputFormat, 3> kOutputFormats = {
    OutputFormat::SameAsOriginal, OutputFormat::Format0, OutputFormat::Format1};

// The format that writes a file in a MIDI header's format: format 1 for 1, else format 0.
constexpr OutputFormat OutputFormatOfHeader(int header_format) {
  return header_format == 1 ? OutputFormat::Format1 : OutputFormat::Format0;
}

// One value for each output format, in the order of kOutputFormats.
template <typename T>
struct PerOutputFormat {
  std::array<T, kOutputFormats.size()> values{};

  constexpr T& operator[](OutputFormat format) { return values[static_cast<std::size_t>(format)]; }
  constexpr const T& operator[](OutputFormat format) const {
    return values[static_cast<std::size_t>(format)];
  }
};

}  // namespace quillmar
