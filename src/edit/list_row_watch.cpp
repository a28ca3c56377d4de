#include "edit/list_row_watch.h"

#include "report/report.h"

namespace quillmar {

ListRowWatch::ListRowWatch(const MidiF1Data& song, EditEnvironment& environment,
                           const SettingsList& list, int row)
    : lines_before_(song.Context().Reports().LinesReported()) {
  effect_.list_name = list.Name();
  effect_.line = row + 1;
  effect_.row_text = RowText(list, row, list.ColumnCount());
  if (!environment.explain && environment.effects == nullptr) return;
  if (environment.song_events) {
    before_ = std::move(environment.song_events);
  } else {
    before_.emplace(song);
  }
}

void ListRowWatch::Finish(const MidiF1Data& song, EditEnvironment& environment) {
  Reporter& reporter = song.Context().Reports();
  if (reporter.LinesReported() != lines_before_) ReportText(reporter, RowDetail(effect_));
  if (!before_) return;
  environment.song_events.emplace(song);
  CompareSongEvents(*before_, *environment.song_events, effect_);
  if (environment.explain) ReportText(reporter, DescribeEffect(effect_));
  if (environment.effects != nullptr) environment.effects->push_back(std::move(effect_));
}

}  // namespace quillmar
