#pragma once

#include <cstdint>
#include <optional>

#include "edit/edit_list.h"
#include "edit/row_effects.h"

namespace quillmar {

// Watches one row of an edit or order list while it runs. When the row reported anything, a
// line after its lines names the list, the row's line and its text, so that every message
// says where it came from; with the environment's explain, a line tells what the row did to
// the song; with its effects, what the row did is kept there.
class ListRowWatch {
 public:
  // Before the row runs.
  ListRowWatch(const MidiF1Data& song, EditEnvironment& environment, const SettingsList& list,
               int row);
  // After the row ran.
  void Finish(const MidiF1Data& song, EditEnvironment& environment);

 private:
  const SettingsList* list_;
  int row_;
  RowEffect effect_;
  std::uint64_t lines_before_;
  std::optional<SongEvents> before_;  // only when what the row did is asked for
};

}  // namespace quillmar
