#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lists/settings_list.h"
#include "model/midi_f1_data.h"

namespace quillmar {

// A note that a list row added or changed (as it stands after the row), or removed or
// changed (as it stood before, `removed` set).
struct TouchedNote {
  std::int64_t tick = 0;
  std::int32_t channel = 0;  // 0-15
  std::int32_t key = 0;
  std::int32_t gate = 0;
  bool removed = false;
};

// How many of one sort of thing a row added, removed or changed.
struct ChangeCounts {
  int added = 0;
  int removed = 0;
  int changed = 0;
};

// What one row of an edit or order list did to the song. Events are compared by their tick
// and content; a note (its note-on and note-off) counts as one event, End of Track as none.
// An event that keeps its tick and content is unchanged wherever its track went; events that
// disappear and appear are paired as changed when they are of one sort (notes, or events of
// one kind and type: a program change, controller 7, a tempo, a marker ...).
struct RowEffect {
  std::string list_name;  // the list's file name
  int line = 0;           // the row's line in the list file, the heading being line 1
  std::string row_text;   // the row's cells joined by commas
  ChangeCounts notes;
  ChangeCounts other_events;
  int moved_to_other_tracks = 0;  // unchanged events now in another track (same track count)
  int reordered = 0;              // events now in another place among those of their tick
  int tracks_added = 0;
  int tracks_removed = 0;
  std::vector<TouchedNote> touched;

  bool ChangedNothing() const;
};

// The events of a song as a row's effect compares them: each event's tick and content as one
// 64-bit digest, sorted once, so that comparing two songs is a walk over both.
class SongEvents {
 public:
  explicit SongEvents(const MidiF1Data& song);

  struct Event {
    std::uint64_t content;  // the digest of the tick, kind, type, channel, values and data
    std::int32_t track;
    std::int64_t tick;
    std::int32_t kind;
    std::int32_t type;
    std::int32_t channel;
    std::int32_t note;
    std::int32_t gate;
  };

 private:
  friend void CompareSongEvents(const SongEvents& before, const SongEvents& after,
                                RowEffect& effect);
  std::vector<Event> events_;          // in track order, End of Track left out
  std::vector<std::uint32_t> sorted_;  // indices into events_ by content, then track
  int tracks_ = 0;
};

// Fills the counts and touched notes of `effect` from the song before and after the row.
void CompareSongEvents(const SongEvents& before, const SongEvents& after, RowEffect& effect);

// The row's cells up to `columns`, without the empty cells at its end, joined by commas.
std::string RowText(const SettingsList& list, int row, int columns);

// Where the row stands, for the line after its messages: "e_list.csv 3行目: Add,Tempo=80,-,0".
std::string RowDetail(const RowEffect& effect);

// What the row did: "e_list.csv 3行目 Del,Note=42,10,- → 音符の削除 32", naming the counts that
// are not zero, or that nothing matched.
std::string DescribeEffect(const RowEffect& effect);

}  // namespace quillmar
