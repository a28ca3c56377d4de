// A MIDI file converted end to end without lists: loaded, written as format 1 and format 0
// and copied into the folders of the three formats.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "model/model_context.h"
#include "pipeline/conversion_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmar;
  static const std::string input = fuzzing::InFuzzFolder("input.mid");
  static const std::string work = fuzzing::InFuzzFolder("work");
  static const bool made = MakeFolder(work);
  static OutputSlot slot = [] {
    OutputSlot s;
    s.folders.fill(fuzzing::FuzzFolder());
    return s;
  }();
  static const FormatChoices formats{true, true, true};
  (void)made;
  WriteWholeFile(input, std::string_view(reinterpret_cast<const char*>(data), size));
  ModelContext context;
  EditNotices notices;
  ConversionDriver driver(context, notices, slot, formats, work);
  std::string output_name = "output.mid";
  driver.Convert(input, output_name, "Title", "-");
  return 0;
}
