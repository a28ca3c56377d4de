#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quillmar {

// One command-line argument of quillmar-cli, in the order given. Paths and folders are as
// typed (native form).
struct CliStep {
  enum class Kind { Path, Slot, Formats, Out, OutSame, Out0, Out1 };
  Kind kind;
  std::string text;  // the path or folder; for Slot the slot number 1-6; for Formats unused
  int slot = 0;
  bool same_as_original = false;
  bool format0 = false;
  bool format1 = false;
};

struct CliOptions {
  std::vector<CliStep> steps;
  std::optional<std::string> work_folder;
  std::optional<std::string> save_result;
  bool yes = false;
  bool timelines = false;
  bool explain = false;
  bool wav = false;
  std::optional<int> wav_limit;
  std::optional<std::string> soundfont;
  bool sjis_output = false;
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name; an error gives its one-line reason.
std::variant<CliOptions, std::string> ParseCliOptions(const std::vector<std::string>& arguments);

// The text of --help.
std::string CliUsage();

}  // namespace quillmar
