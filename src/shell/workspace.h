#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "lists/settings_list.h"
#include "pipeline/output_slot.h"

namespace quillmar {

inline constexpr int kSlotCount = 6;

// The cells of a file-list row: input file, output file, title, copyright.
inline constexpr int kInputColumn = 1;
inline constexpr int kOutputColumn = 2;
inline constexpr int kTitleColumn = 3;
inline constexpr int kCopyrightColumn = 4;

// The whole configuration of a conversion run, as the main window holds it: one file list,
// six slots, the slot shown, the five list switches as shown for it, and the formats.
class Workspace {
 public:
  // Every slot's folders start unset: a run asks for those it needs (the working folder at
  // start is no folder anybody chose).
  explicit Workspace(std::string start_folder);

  const std::string& StartFolder() const { return start_folder_; }

  std::optional<SettingsList>& FileList() { return file_list_; }
  const std::optional<SettingsList>& FileList() const { return file_list_; }
  OutputSlot& Slot(int index) { return slots_[static_cast<std::size_t>(index)]; }
  const OutputSlot& Slot(int index) const { return slots_[static_cast<std::size_t>(index)]; }
  int CurrentSlot() const { return current_slot_; }
  // True for the slots a run converts: slot 1 always, every other slot with a list switched on.
  bool Converts(int index) const { return index == 0 || Slot(index).HasEnabledList(); }
  OutputSlot& Current() { return Slot(current_slot_); }

  FormatChoices& Formats() { return formats_; }
  const FormatChoices& Formats() const { return formats_; }

  // The five list switches as shown for the current slot.
  bool Switch(int index) const { return switches_[static_cast<std::size_t>(index)]; }
  void SetSwitch(int index, bool on) { switches_[static_cast<std::size_t>(index)] = on; }

  // Writes the switches into the current slot's enable flags (a tab change, a run start).
  void SaveSwitches();
  // Saves the switches, makes `index` current and shows its flags on the switches.
  void SelectSlot(int index);

  // Reads a list file of the kind into the file list or the current slot's list of that
  // kind, replacing the one there (a file that cannot be read still becomes the list, empty).
  void LoadList(Reporter& reporter, ListKind kind, std::string_view path);

  // Sets the current slot's three output folders.
  void SetCurrentFolders(std::string_view folder);

  // Where MIDI files taken one by one are gathered into file_list_temp.csv: beside them
  // (empty, as the window does), or in a folder of the caller's own (quillmar-cli's private
  // folder, so that nothing is written among the songs).
  const std::string& TempFileListFolder() const { return temp_file_list_folder_; }
  void SetTempFileListFolder(std::string folder) { temp_file_list_folder_ = std::move(folder); }

  // True when a MIDI file could not be added to the temporary file list because it was full:
  // the file list leaves out files that were asked for.
  bool MidiFilesLeftOut() const { return midi_files_left_out_; }
  void SetMidiFilesLeftOut() { midi_files_left_out_ = true; }

  // True once the file list's too-many-rows message has been given: by its loading, or
  // when a MIDI file could not be added to it any more. A newly loaded file list starts over.
  bool FileListFullReported() const { return file_list_full_reported_; }
  void SetFileListFullReported() { file_list_full_reported_ = true; }

 private:
  std::string start_folder_;
  std::optional<SettingsList> file_list_;
  std::array<OutputSlot, kSlotCount> slots_;
  int current_slot_ = 0;
  std::array<bool, kSlotListCount> switches_{};
  FormatChoices formats_;
  bool file_list_full_reported_ = false;
  bool midi_files_left_out_ = false;
  std::string temp_file_list_folder_;
};

}  // namespace quillmar
