// A MIDI file converted end to end without lists: loaded, written as format 1 and format 0
// and copied into the folders of the three formats; then previewed, the picture's parts
// walked as the window walks them.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "preview/preview_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmar;
  static const std::string input = fuzzing::InFuzzFolder("input.mid");
  if (!WriteWholeFile(fuzzing::QuietReports(), input,
                      std::string_view(reinterpret_cast<const char*>(data), size))) {
    return 0;
  }
  fuzzing::Convert(input, OutputSlot());
  const PreviewResult preview = RunPreview(input, nullptr, std::nullopt);
  if (const SongPreview* song = preview.song.get()) {
    const Ticks middle = song->Length() / 2;
    volatile std::size_t seen = song->NotesBetween(middle, middle + 480).size() +
                                song->Peaks().size() + song->SpansAbove(1).size();
    volatile double seconds = song->Seconds(song->Length());
    static_cast<void>(seen);
    static_cast<void>(seconds);
  }
  return 0;
}
