// Edit list rows applied to a fixed song in memory; Save writes into a private folder.
#include <cstddef>
#include <cstdint>

#include "edit/edit_list.h"
#include "fuzz_support.h"
#include "model/midi_file_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmar;
  static ModelContext context;
  static const std::string song_path = fuzzing::InFuzzFolder("song.mid");
  static const bool written = WriteWholeFile(song_path, fuzzing::FixedSong());
  static MidiFileLoader loader(context, song_path);
  static EditNotices notices;
  (void)written;
  const std::string list_path = fuzzing::InFuzzFolder("e.csv");
  WriteWholeFile(list_path, "command,target,channel,position\r\n" +
                                std::string(reinterpret_cast<const char*>(data), size));
  const SettingsList list = SettingsList::Load(list_path, ColumnCountOf(ListKind::Edit));
  MidiF1Data song(*loader.Song());
  EditEnvironment environment{notices, {}};
  environment.snapshots.checked = {true, true, true};
  environment.snapshots.folders.values.fill(fuzzing::FuzzFolder());
  environment.snapshots.output_name = "snapshot.mid";
  ApplyEditList(song, list, environment);
  // The edited song must still be writable in both forms.
  MidiF0Data format0 = MidiF1Data(song).TakeAsFormat0(false);
  song.DeleteEmptyTracks();
  song.ToOnOffForm();
  song.Encode();
  format0.ToOnOffForm();
  format0.Encode();
  return 0;
}
