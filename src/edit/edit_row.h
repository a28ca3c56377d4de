#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "edit/channel_selection.h"
#include "lists/text_helpers.h"
#include "model/midi_f1_data.h"

namespace quillmar {

// The four cells of an edit list row as the list holds them.
struct EditCells {
  std::string_view command;
  std::string_view target;
  std::string_view channel;
  std::string_view position;
};

// The target cell: its text, its key, operator and value, and the value's leading integer.
struct RowTarget {
  std::string_view text;
  KeyOpValue parts;
  std::int32_t number = 0;
};

// The position cell. A cell written as measure:beat:tick stands here as the decimal tick of
// the song it is read for; every other cell as written.
struct RowPosition {
  enum class Form {
    kNone,     // "-"
    kTick,     // digits only (also an empty cell)
    kEnd,      // "End"
    kKeyword,  // anything else: a keyword, a condition, a negative number
  };
  Form form = Form::kNone;
  std::string text;
  std::int32_t number = 0;  // the text's leading integer: the tick where a command reads one

  bool Is(Form other) const { return form == other; }
};

// An edit row read once for a song: the command's number (see EditCommandNumber), its target,
// its channel cell as the command's rule reads it and its position.
struct EditRow {
  int command = 0;
  RowTarget target;
  ChannelSelection channel;
  RowPosition position;
};

// Reads the cells for the song, whose meter and division turn measure:beat:tick into ticks.
EditRow ParseEditRow(const MidiF1Data& song, const EditCells& cells);

}  // namespace quillmar
