// A list file of each kind (the first byte chooses volume, tone, drum, edit or order) loaded
// and applied to a fixed song by the conversion, in a slot with that list switched on.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmar;
  static const std::string song = fuzzing::InFuzzFolder("song.mid");
  static const bool written = WriteWholeFile(fuzzing::QuietReports(), song, fuzzing::FixedSong());
  (void)written;
  if (size == 0) return 0;
  const int index = data[0] % kSlotListCount;
  const ListKind kind = SlotListKind(index);
  const std::string path = fuzzing::InFuzzFolder("list.csv");
  if (!WriteWholeFile(fuzzing::QuietReports(), path,
                      std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1))) {
    return 0;
  }
  OutputSlot slot;
  slot.lists[static_cast<std::size_t>(index)] = SettingsList::Load(
      fuzzing::QuietReports(), path, ColumnCountOf(kind), ',', CellLimitOf(kind));
  slot.enabled[static_cast<std::size_t>(index)] = true;
  fuzzing::Convert(song, std::move(slot));
  return 0;
}
