#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "report/report.h"

namespace quillmar {

// The most bytes any input file is read with: larger files are cut here.
inline constexpr std::size_t kWholeFileLimit = 262144;

// Reads at most kWholeFileLimit bytes of the file into `out`. When exactly that many were
// read, reports General error 1 and still succeeds with them. When the file cannot be
// opened, reports General error 3, leaves `out` empty and fails.
[[nodiscard]] bool ReadWholeFile(Reporter& reporter, std::string_view path, std::string& out);

// Takes the bytes of a file made in memory as ReadWholeFile reads a file of those bytes.
void TakeWholeImage(Reporter& reporter, std::string_view bytes, std::string& out);

// Creates or replaces the file with `bytes` (written under a temporary name and renamed into
// place). Reports General error 3 with the path as a detail line and fails when it cannot be
// written.
[[nodiscard]] bool WriteWholeFile(Reporter& reporter, std::string_view path,
                                  std::string_view bytes);

}  // namespace quillmar
