#include "pipeline/slot_lists.h"

#include <algorithm>

#include "edit/edit_list.h"
#include "pipeline/drum_list.h"
#include "pipeline/order_list.h"
#include "pipeline/tone_list.h"
#include "pipeline/volume_list.h"

namespace quillmar {
namespace {

// A list that needs nothing beyond the song.
template <void (*apply)(MidiF1Data&, const SettingsList&)>
void ApplyToSong(MidiF1Data& song, const SettingsList& list, EditEnvironment&) {
  apply(song, list);
}

// In the order a conversion applies them; the places are those of the slot's members.
constexpr std::array<SlotList, kSlotListCount> kSlotLists = {{
    {ListKind::Tone, 1, ApplyToSong<ApplyToneList>},
    {ListKind::Volume, 0, ApplyToSong<ApplyVolumeList>},
    {ListKind::Drum, 2, ApplyToSong<ApplyDrumList>},
    {ListKind::Edit, 3, ApplyEditList},
    {ListKind::Order, 4, ApplyOrderList},
}};

constexpr bool EachPlaceOnce() {
  std::array<int, kSlotListCount> taken{};
  for (const SlotList& list : kSlotLists) ++taken[static_cast<std::size_t>(list.index)];
  return std::all_of(taken.begin(), taken.end(), [](int count) { return count == 1; });
}
static_assert(EachPlaceOnce(), "every slot list needs a place of its own");

}  // namespace

const std::array<SlotList, kSlotListCount>& SlotListsInApplyOrder() {
  return kSlotLists;
}

std::optional<int> SlotListIndex(ListKind kind) {
  const auto* found = std::find_if(kSlotLists.begin(), kSlotLists.end(),
                                   [kind](const SlotList& list) { return list.kind == kind; });
  if (found == kSlotLists.end()) return std::nullopt;
  return found->index;
}

ListKind SlotListKind(int index) {
  return std::find_if(kSlotLists.begin(), kSlotLists.end(),
                      [index](const SlotList& list) { return list.index == index; })
      ->kind;
}

}  // namespace quillmar
