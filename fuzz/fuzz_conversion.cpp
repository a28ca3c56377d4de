// A MIDI file converted end to end without lists: loaded, written as format 1 and format 0
// and copied into the folders of the three formats.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmar;
  static const std::string input = fuzzing::InFuzzFolder("input.mid");
  WriteWholeFile(input, std::string_view(reinterpret_cast<const char*>(data), size));
  fuzzing::Convert(input, OutputSlot());
  return 0;
}
