#include "pipeline/order_list.h"

#include "edit/event_keyword.h"
#include "edit/list_row_watch.h"
#include "edit/tick_group_order.h"

namespace quillmar {
namespace {

constexpr int kKeywordColumn = 1;

}  // namespace

void ApplyOrderList(MidiF1Data& song, const SettingsList& list, EditEnvironment& environment) {
  environment.song_events.reset();  // the lists before may have changed the song
  for (int row = list.RowCount() - 1; row >= 1; --row) {
    ListRowWatch watch(song, environment, list, row);
    const EventKeyword keyword =
        ParseEventKeyword(song.Context().Reports(), list.Cell(row, kKeywordColumn));
    // Unknown keywords and qualifiers name no event.
    if (!keyword.refused && keyword.kind != KindCode::kUnknown &&
        keyword.kind != KindCode::kQualifier) {
      for (int index = 0; index < song.TrackCount(); ++index) {
        MoveMatchingEventsFirst(song.Track(index), keyword.kind, keyword.sub, keyword.value_text);
      }
    }
    watch.Finish(song, environment);
  }
}

}  // namespace quillmar
