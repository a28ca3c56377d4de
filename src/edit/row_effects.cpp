#include "edit/row_effects.h"

#include <algorithm>
#include <tuple>

#include "model/timed_events.h"
#include "platform/encoding.h"

namespace quillmar {
namespace {

using Event = SongEvents::Event;

auto ContentOf(const Event& event) {
  return std::tie(event.tick, event.kind, event.type, event.channel, event.note, event.velocity,
                  event.gate, event.value, event.data);
}

bool ContentLess(const Event* a, const Event* b) {
  return ContentOf(*a) < ContentOf(*b);
}

bool ContentAndTrackLess(const Event* a, const Event* b) {
  return std::tuple_cat(ContentOf(*a), std::tie(a->track)) <
         std::tuple_cat(ContentOf(*b), std::tie(b->track));
}

bool IsNoteEvent(const Event& event) {
  return event.kind == static_cast<std::int32_t>(EventKind::Note);
}

// Events of one sort are paired as changed: notes, or one kind and type.
auto SortOf(const Event& event) {
  return std::make_pair(event.kind, IsNoteEvent(event) ? 0 : event.type);
}

std::vector<const Event*> Sorted(const std::vector<Event>& events,
                                 bool (*less)(const Event*, const Event*)) {
  std::vector<const Event*> sorted;
  sorted.reserve(events.size());
  for (const Event& event : events) sorted.push_back(&event);
  std::sort(sorted.begin(), sorted.end(), less);
  return sorted;
}

// Walks two sorted sequences: counts the equal elements and keeps those of each side without
// a partner.
template <typename Less>
int Match(const std::vector<const Event*>& before, const std::vector<const Event*>& after,
          Less less, std::vector<const Event*>* gone, std::vector<const Event*>* come) {
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
void CountBySort(std::vector<const Event*> gone, std::vector<const Event*> come,
                 RowEffect& effect) {
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
    int place = 0;
    for (const auto [time, event] : TimedEvents(song.Track(track).Events())) {
      ++place;
      if (event.kind == EventKind::Removed || event.IsMeta(MetaType::EndOfTrack)) continue;
      events_.push_back({track, place - 1, time, static_cast<std::int32_t>(event.kind), event.type,
                         event.channel, event.note, event.velocity, event.gate, event.value,
                         event.data});
    }
  }
}

void CompareSongEvents(const SongEvents& before, const SongEvents& after, RowEffect& effect) {
  effect.tracks_added = std::max(0, after.tracks_ - before.tracks_);
  effect.tracks_removed = std::max(0, before.tracks_ - after.tracks_);

  std::vector<const Event*> gone;
  std::vector<const Event*> come;
  const int matched = Match(Sorted(before.events_, ContentLess), Sorted(after.events_, ContentLess),
                            ContentLess, &gone, &come);
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
  effect.moved_to_other_tracks = matched - Match(Sorted(before.events_, ContentAndTrackLess),
                                                 Sorted(after.events_, ContentAndTrackLess),
                                                 ContentAndTrackLess, nullptr, nullptr);
  if (!same_content || effect.moved_to_other_tracks != 0) return;
  // The same events in the same tracks: those not in their old place were reordered.
  for (std::size_t index = 0; index < before.events_.size(); ++index) {
    if (ContentOf(before.events_[index]) != ContentOf(after.events_[index])) ++effect.reordered;
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
