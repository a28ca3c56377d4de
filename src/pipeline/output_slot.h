#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "lists/settings_list.h"
#include "model/output_format.h"
#include "pipeline/slot_lists.h"

namespace quillmar {

// The file name that an output cell gives: its base name (a folder written in the cell is
// ignored). None when that names no file of a folder (see IsPlainName).
[[nodiscard]] std::optional<std::string> OutputFileName(std::string_view cell);

// The output formats asked for: any combination; "Same as original" at start. With
// `timelines`, a timeline of sounding notes is written beside every output file; with
// `explain`, the result list tells what each edit- and order-list row did. With a SoundFont
// (a native path), a WAV file of the song as a synthesizer with it plays the song is written
// beside every output file, as a handset with `wav_limit` simultaneous notes when set.
struct FormatChoices {
  bool same_as_original = true;
  bool format0 = false;
  bool format1 = false;
  bool timelines = false;
  bool explain = false;
  std::optional<std::string> wav_soundfont{};
  std::optional<int> wav_limit{};

  // Whether the format is asked for.
  bool& Checked(OutputFormat format);
  bool Checked(OutputFormat format) const;
};

// One output configuration: its lists, the saved states of its five list switches and its
// output folder for each format (Shift_JIS paths).
struct OutputSlot {
  std::array<std::optional<SettingsList>, kSlotListCount> lists;
  std::array<bool, kSlotListCount> enabled{};
  PerOutputFormat<std::string> folders;

  bool HasEnabledList() const;
  // The list of the kind when it is switched on and loaded, for the conversion.
  const SettingsList* ActiveList(ListKind kind) const;
};

}  // namespace quillmar
