#pragma once

#include <array>
#include <optional>

#include "lists/settings_list.h"

namespace quillmar {

class MidiF1Data;
struct EditEnvironment;

inline constexpr int kSlotListCount = 5;  // volume, tone, drum, edit, order

// A kind of list that a slot holds: its place among the slot's lists and list switches, and
// how a conversion applies it to a song.
struct SlotList {
  ListKind kind;
  int index;
  void (*apply)(MidiF1Data& song, const SettingsList& list, EditEnvironment& environment);
};

// The slot lists in the order a conversion applies them: tone, volume, drum, edit, order.
const std::array<SlotList, kSlotListCount>& SlotListsInApplyOrder();

// The place of a slot list kind among the five (volume 0, tone 1, drum 2, edit 3, order 4);
// the file list has none.
std::optional<int> SlotListIndex(ListKind kind);
// The kind of slot list `index`.
ListKind SlotListKind(int index);

}  // namespace quillmar
