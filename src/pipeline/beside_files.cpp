#include "pipeline/beside_files.h"

namespace quillmar {
namespace {

std::string Beside(std::string_view output_name, std::string_view suffix) {
  std::string name(output_name);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name + std::string(suffix);
}

}  // namespace

std::string TimelineFileName(std::string_view output_name) {
  return Beside(output_name, ".timeline.csv");
}

std::string WavFileName(std::string_view output_name) {
  return Beside(output_name, ".wav");
}

}  // namespace quillmar
