#include "edit/list_row_watch.h"

#include "report/report.h"

namespace quillmar {

ListRowWatch::ListRowWatch(const MidiF1Data& song, EditEnvironment& environment,
                           const SettingsList& list, int row)
    : list_(&list), row_(row), lines_before_(song.Context().Reports().LinesReported()) {
  if (!environment.explain && environment.effects == nullptr) return;
  if (environment.song_events) {
    before_ = std::move(environment.song_events);
  } else {
    before_.emplace(song);
  }
}

void ListRowWatch::Finish(const MidiF1Data& song, EditEnvironment& environment) {
  Reporter& reporter = song.Context().Reports();
  const bool reported = reporter.LinesReported() != lines_before_;
  if (!reported && !before_) return;  // most rows of most runs: nothing to name
  effect_.list_name = list_->Name();
  effect_.line = row_ + 1;
  effect_.row_text = RowText(*list_, row_, list_->ColumnCount());
  if (reported) ReportText(reporter, RowDetail(effect_));
  if (!before_) return;
  environment.song_events.emplace(song);
  CompareSongEvents(*before_, *environment.song_events, effect_);
  if (environment.explain) ReportText(reporter, DescribeEffect(effect_));
  if (environment.effects != nullptr) environment.effects->push_back(std::move(effect_));
}

}  // namespace quillmar
