#include "edit/row_effects.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <tuple>

#include "model/timed_events.h"
#include "platform/encoding.h"

namespace quillmar {
namespace {

using Event = SongEvents::Event;
using Sorted = std::vector<const Event*>;

// The finaliser of splitmix64: spreads every bit of a value over the digest.
std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t ContentOf(Ticks tick, const MusicEvent& event) {
  constexpr std::uint64_t kPrime = 0x100000001B3ULL;  // of FNV-1a
  std::uint64_t digest = static_cast<std::uint64_t>(tick);
  for (const std::int32_t field : {static_cast<std::int32_t>(event.kind), event.type, event.channel,
                                   event.note, event.velocity, event.gate, event.value}) {
    digest = (digest ^ static_cast<std::uint32_t>(field)) * kPrime;
  }
  if (!event.data.empty()) digest ^= std::hash<std::string_view>{}(event.data);
  return Mix(digest);
}

bool ContentLess(const Event* a, const Event* b) {
  return a->content < b->content;
}

bool ContentAndTrackLess(const Event* a, const Event* b) {
  return std::tie(a->content, a->track) < std::tie(b->content, b->track);
}

bool IsNoteEvent(const Event& event) {
  return event.kind == static_cast<std::int32_t>(EventKind::Note);
}

// Events of one sort are paired as changed: notes, or one kind and type.
auto SortOf(const Event& event) {
  return std::make_pair(event.kind, IsNoteEvent(event) ? 0 : event.type);
}

// Walks two sequences sorted by content and track: counts the elements equal under `less`
// and keeps those of each side without a partner.
template <typename Less>
int Match(const Sorted& before, const Sorted& after, Less less, Sorted* gone, Sorted* come) {
  int matched = 0;
  std::size_t b = 0;
  std::size_t a = 0;
  while (b < before.size() || a < after.size()) {
    if (a == after.size() || (b < before.size() && less(before[b], after[a]))) {
      if (gone != nullptr) gone->push_back(before[b]);
      ++b;
    } else if (b == before.size() || less(after[a], before[b])) {
      if (come != nullptr) come->push_back(after[a]);
      ++a;
    } else {
      ++matched;
      ++b;
      ++a;
    }
  }
  return matched;
}

// Counts what left and what came by sort: pairs of one sort are changes.
void CountBySort(Sorted gone, Sorted come, RowEffect& effect) {
  auto by_sort = [](const Event* a, const Event* b) { return SortOf(*a) < SortOf(*b); };
  std::stable_sort(gone.begin(), gone.end(), by_sort);
  std::stable_sort(come.begin(), come.end(), by_sort);
  std::size_t g = 0;
  std::size_t c = 0;
  while (g < gone.size() || c < come.size()) {
    const auto sort = (c == come.size() || (g < gone.size() && by_sort(gone[g], come[c])))
                          ? SortOf(*gone[g])
                          : SortOf(*come[c]);
    int left = 0;
    int arrived = 0;
    for (; g < gone.size() && SortOf(*gone[g]) == sort; ++g) ++left;
    for (; c < come.size() && SortOf(*come[c]) == sort; ++c) ++arrived;
    ChangeCounts& counts = sort.first == static_cast<std::int32_t>(EventKind::Note)
                               ? effect.notes
                               : effect.other_events;
    const int changed = std::min(left, arrived);
    counts.changed += changed;
    counts.removed += left - changed;
    counts.added += arrived - changed;
  }
}

Sorted InOrder(const std::vector<Event>& events, const std::vector<std::uint32_t>& order) {
  Sorted sorted;
  sorted.reserve(order.size());
  for (const std::uint32_t index : order) sorted.push_back(&events[index]);
  return sorted;
}

TouchedNote Touched(const Event& event, bool removed) {
  return {event.tick, event.channel, event.note, event.gate, removed};
}

}  // namespace

bool RowEffect::ChangedNothing() const {
  auto none = [](const ChangeCounts& counts) {
    return counts.added == 0 && counts.removed == 0 && counts.changed == 0;
  };
  return none(notes) && none(other_events) && moved_to_other_tracks == 0 && reordered == 0 &&
         tracks_added == 0 && tracks_removed == 0;
}

SongEvents::SongEvents(const MidiF1Data& song) : tracks_(song.TrackCount()) {
  for (int track = 0; track < song.TrackCount(); ++track) {
    for (const auto [time, event] : TimedEvents(song.Track(track).Events())) {
      if (event.kind == EventKind::Removed || event.IsMeta(MetaType::EndOfTrack)) continue;
      events_.push_back({ContentOf(time, event), track, time, static_cast<std::int32_t>(event.kind),
                         event.type, event.channel, event.note, event.gate});
    }
  }
  // Sorted as small keys side by side, which is much faster than through the events.
  struct Key {
    std::uint64_t content;
    std::int32_t track;
    std::uint32_t index;
  };
  std::vector<Key> keys;
  keys.reserve(events_.size());
  for (std::uint32_t index = 0; index < events_.size(); ++index) {
    keys.push_back({events_[index].content, events_[index].track, index});
  }
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return std::tie(a.content, a.track) < std::tie(b.content, b.track);
  });
  sorted_.reserve(keys.size());
  for (const Key& key : keys) sorted_.push_back(key.index);
}

void CompareSongEvents(const SongEvents& before, const SongEvents& after, RowEffect& effect) {
  effect.tracks_added = std::max(0, after.tracks_ - before.tracks_);
  effect.tracks_removed = std::max(0, before.tracks_ - after.tracks_);

  const Sorted old_events = InOrder(before.events_, before.sorted_);
  const Sorted new_events = InOrder(after.events_, after.sorted_);
  Sorted gone;
  Sorted come;
  const int matched = Match(old_events, new_events, ContentLess, &gone, &come);
  for (const Event* event : come) {
    if (IsNoteEvent(*event)) effect.touched.push_back(Touched(*event, false));
  }
  for (const Event* event : gone) {
    if (IsNoteEvent(*event)) effect.touched.push_back(Touched(*event, true));
  }
  const bool same_content = gone.empty() && come.empty();
  CountBySort(std::move(gone), std::move(come), effect);

  // Track numbers mean the same tracks only while their count stays.
  if (before.tracks_ != after.tracks_) return;
  effect.moved_to_other_tracks =
      matched - Match(old_events, new_events, ContentAndTrackLess, nullptr, nullptr);
  if (!same_content || effect.moved_to_other_tracks != 0) return;
  // The same events in the same tracks: those not in their old place were reordered.
  for (std::size_t index = 0; index < before.events_.size(); ++index) {
    if (before.events_[index].content != after.events_[index].content) ++effect.reordered;
  }
}

std::string RowText(const SettingsList& list, int row, int columns) {
  int used = columns;
  while (used > 0 && list.Cell(row, used - 1).empty()) --used;
  std::string text;
  for (int column = 0; column < used; ++column) {
    if (column > 0) text += ',';
    text += list.Cell(row, column);
  }
  return text;
}

std::string RowDetail(const RowEffect& effect) {
  return effect.list_name + " " + std::to_string(effect.line) + Sjis("行目: ") + effect.row_text;
}

std::string DescribeEffect(const RowEffect& effect) {
  std::string text = effect.list_name + " " + std::to_string(effect.line) + Sjis("行目 ") +
                     effect.row_text + Sjis(" → ");
  if (effect.ChangedNothing()) return text + Sjis("当てはまるものがなく、何も変わりませんでした。");
  bool first = true;
  auto add = [&](const char* what, int count) {
    if (count == 0) return;
    if (!first) text += Sjis("、");
    first = false;
    text += Sjis(what) + " " + std::to_string(count);
  };
  add("音符の追加", effect.notes.added);
  add("音符の削除", effect.notes.removed);
  add("音符の変更", effect.notes.changed);
  add("イベントの追加", effect.other_events.added);
  add("イベントの削除", effect.other_events.removed);
  add("イベントの変更", effect.other_events.changed);
  add("他のトラックへの移動", effect.moved_to_other_tracks);
  add("同じ時刻の中での並べ替え", effect.reordered);
  add("トラックの追加", effect.tracks_added);
  add("トラックの削除", effect.tracks_removed);
  return text;
}

}  // namespace quillmar
