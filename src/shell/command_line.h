#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmar {

// Splits a command-line text (as one text after the program name) into paths: a path in
// double quotes may hold blanks; runs of blanks separate; no empty path is produced.
std::vector<std::string> SplitCommandLine(std::string_view text);

}  // namespace quillmar
