#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "gui/piano_roll_view.h"
#include "preview/song_preview.h"

namespace quillmar {

// The number of notes sounding, as a step graph on the piano roll's time axis: each pixel
// column shows the most that sound within it, the part above the handset's limit in red over
// the shaded spans above it, the limit as a dashed line and the moments at the peak marked
// with triangles, and the playhead. Paints what the song tells; it counts nothing.
class TimelineStrip : public QWidget {
 public:
  explicit TimelineStrip(QWidget* parent = nullptr);

  // The song to paint; null shows an empty strip. Not owned.
  void SetSong(const SongPreview* song);
  void SetTimeAxis(const TimeAxis& axis);
  // The limit and the spans where the song goes above it.
  void SetLimit(int limit, std::vector<TickSpan> spans_above);
  // The tick of the moment playing; none shows no playhead.
  void SetPlayhead(std::optional<double> tick);

  // The highest number of notes the last paint drew.
  int PaintedMaximum() const { return painted_maximum_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The most notes sounding within each pixel column of the plot; -1 past the song's end.
  std::vector<int> ColumnCounts(const QRect& plot) const;
  int CaptionHeight() const;
  double Y(const QRect& plot, int count) const;
  void PaintGraph(QPainter& painter, const QRect& plot);
  void PaintPeaks(QPainter& painter, const QRect& plot) const;
  void PaintLimit(QPainter& painter, const QRect& plot) const;
  void PaintScale(QPainter& painter, const QRect& plot) const;

  const SongPreview* song_ = nullptr;
  TimeAxis axis_;
  int limit_ = 1;
  std::vector<TickSpan> spans_above_;
  std::vector<TickSpan> peaks_;
  std::optional<double> playhead_;
  int painted_maximum_ = 0;
};

}  // namespace quillmar
