// Edit list rows applied to a fixed song in memory; Save writes into a private folder.
#include <cstddef>
#include <cstdint>

#include "edit/edit_list.h"
#include "fuzz_support.h"
#include "model/midi_file_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmar;
  Reporter& reporter = fuzzing::QuietReports();
  static ModelContext context(reporter);
  static const std::string fixed_song = fuzzing::FixedSong();
  static MidiFileLoader loader(context, MidiSource::Bytes(fixed_song));
  static EditNotices notices;
  const std::string list_path = fuzzing::InFuzzFolder("e.csv");
  if (!WriteWholeFile(reporter, list_path,
                      "command,target,channel,position\r\n" +
                          std::string(reinterpret_cast<const char*>(data), size))) {
    return 0;
  }
  const SettingsList list = SettingsList::Load(reporter, list_path, ColumnCountOf(ListKind::Edit));
  MidiF1Data song(*loader.Song());
  EditEnvironment environment{notices, {}};
  environment.snapshots.checked = {true, true, true};
  environment.snapshots.folders.values.fill(fuzzing::FuzzFolder());
  environment.snapshots.output_name = "snapshot.mid";
  ApplyEditList(song, list, environment);
  // The edited song must still be writable in both forms (a failure is reported, never a
  // crash).
  MidiF0Data format0 = MidiF1Data(song).TakeAsFormat0(false);
  song.DeleteEmptyTracks();
  song.ToOnOffForm();
  static_cast<void>(song.Encode());
  format0.ToOnOffForm();
  static_cast<void>(format0.Encode());
  return 0;
}
