#include "gui/timeline_strip.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace quillmar {
namespace {

constexpr int kBottomMargin = 3;
constexpr double kMarkSize = 5;  // half the width of a peak triangle
constexpr QColor kGraph(70, 110, 190);
constexpr QColor kAboveLimit(220, 40, 40);
constexpr QColor kLimitLine(170, 0, 0);
constexpr QColor kPeakMark(200, 0, 0);

}  // namespace

TimelineStrip::TimelineStrip(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize TimelineStrip::sizeHint() const {
  return {400, 7 * fontMetrics().height() + kBottomMargin};
}

// A line of text above the graph says what it shows.
int TimelineStrip::CaptionHeight() const {
  return fontMetrics().height() + 2;
}

void TimelineStrip::SetSong(const SongPreview* song) {
  song_ = song;
  peaks_ = song != nullptr ? song->Peaks() : std::vector<TickSpan>();
  update();
}

void TimelineStrip::SetTimeAxis(const TimeAxis& axis) {
  axis_ = axis;
  update();
}

void TimelineStrip::SetLimit(int limit, std::vector<TickSpan> spans_above) {
  limit_ = limit;
  spans_above_ = std::move(spans_above);
  update();
}

void TimelineStrip::SetPlayhead(std::optional<double> tick) {
  playhead_ = tick;
  update();
}

double TimelineStrip::Y(const QRect& plot, int count) const {
  // The scale reaches one above the higher of the peak and the limit.
  const int top = std::max(song_->SimultaneousNotes(), limit_) + 1;
  return plot.bottom() + 1 - static_cast<double>(count) * plot.height() / top;
}

std::vector<int> TimelineStrip::ColumnCounts(const QRect& plot) const {
  std::vector<int> counts(static_cast<std::size_t>(std::max(plot.width(), 0)), -1);
  const std::vector<SoundingChange>& timeline = song_->Timeline();
  const double from = axis_.TickAt(plot.left());
  const double to = axis_.TickAt(plot.right() + 1);
  // Before the first change nothing sounds; from the change at or before `from` on, each
  // count holds until the next change, the last one until the song's end.
  const auto length = static_cast<double>(song_->Length());
  const double zero_to = timeline.empty() ? length : static_cast<double>(timeline.front().tick);
  const auto fill = [&](double start, double end, int count) {
    const auto last = static_cast<int>(counts.size()) - 1;
    const int first_column = std::clamp(axis_.FloorX(start) - plot.left(), 0, last + 1);
    const int last_column =
        std::clamp(std::max(axis_.CeilX(end) - 1 - plot.left(), first_column), -1, last);
    for (int column = first_column; column <= last_column; ++column) {
      int& shown = counts[static_cast<std::size_t>(column)];
      shown = std::max(shown, count);
    }
  };
  if (from < zero_to) fill(0, zero_to, 0);
  auto change = std::ranges::partition_point(
      timeline, [from](const SoundingChange& entry) { return entry.tick <= from; });
  if (change != timeline.begin()) --change;
  for (; change != timeline.end() && static_cast<double>(change->tick) < to; ++change) {
    const auto next = std::next(change);
    const double end =
        next != timeline.end() ? static_cast<double>(next->tick) : std::max(length, zero_to);
    fill(static_cast<double>(change->tick), end, change->notes);
  }
  return counts;
}

void TimelineStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painted_maximum_ = 0;
  if (song_ == nullptr) return;
  // Under the caption the peak triangles have room above the graph.
  const int top = CaptionHeight() + static_cast<int>(kMarkSize) + 1;
  const QRect plot(axis_.plot_left, top, width() - axis_.plot_left, height() - top - kBottomMargin);
  const QRect column(plot.left(), 0, plot.width(), height());
  painter.save();
  painter.setClipRect(column);
  PaintSpansAbove(painter, spans_above_, axis_, column);
  PaintMeasureLines(painter, *song_, axis_, column);
  PaintGraph(painter, plot);
  PaintLimit(painter, plot);
  PaintPeaks(painter, plot);
  PaintPlayhead(painter, playhead_, axis_, column);
  painter.restore();
  PaintScale(painter, plot);
}

void TimelineStrip::PaintGraph(QPainter& painter, const QRect& plot) {
  const std::vector<int> counts = ColumnCounts(plot);
  // Whole pixels, which the painter fills fastest.
  const auto y_of = [&](int count) { return static_cast<int>(std::lround(Y(plot, count))); };
  const int baseline = plot.bottom() + 1;
  const int limit_y = y_of(limit_);
  for (std::size_t index = 0; index < counts.size(); ++index) {
    const int count = counts[index];
    painted_maximum_ = std::max(painted_maximum_, count);
    if (count <= 0) continue;
    const int x = plot.left() + static_cast<int>(index);
    const int top = std::min(y_of(count), baseline - 1);  // a single note shows
    painter.fillRect(QRect(x, std::max(top, limit_y), 1, baseline - std::max(top, limit_y)),
                     kGraph);
    if (count > limit_) painter.fillRect(QRect(x, top, 1, limit_y - top), kAboveLimit);
  }
}

void TimelineStrip::PaintLimit(QPainter& painter, const QRect& plot) const {
  const double y = std::floor(Y(plot, limit_)) + 0.5;
  painter.setPen(QPen(kLimitLine, 1, Qt::DashLine));
  painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right() + 1, y));
}

void TimelineStrip::PaintPeaks(QPainter& painter, const QRect& plot) const {
  const double from = axis_.TickAt(plot.left() - kMarkSize);
  const double to = axis_.TickAt(plot.right() + 1 + kMarkSize);
  const double y = Y(plot, song_->SimultaneousNotes());
  painter.setPen(Qt::NoPen);
  painter.setBrush(kPeakMark);
  double marked_to = -kMarkSize * 4;  // triangles do not overlap
  for (const TickSpan& peak : peaks_) {
    if (peak.second < from || peak.first > to) continue;
    const double x = axis_.X(static_cast<double>(peak.first));
    if (x - kMarkSize < marked_to) continue;
    painter.drawPolygon(QPolygonF({QPointF(x - kMarkSize, y - kMarkSize - 1),
                                   QPointF(x + kMarkSize, y - kMarkSize - 1), QPointF(x, y - 1)}));
    marked_to = x + kMarkSize;
  }
}

void TimelineStrip::PaintScale(QPainter& painter, const QRect& plot) const {
  const QRect gutter(0, 0, axis_.plot_left, height());
  painter.fillRect(gutter, QColor(244, 244, 248));
  const QFontMetrics metrics = fontMetrics();
  const int peak = song_->SimultaneousNotes();
  // The counts at the left: 0, the limit and the peak, each where there is room for it.
  double free_above = Y(plot, 0) + metrics.height() / 2.0;
  const auto label = [&](int count, const QColor& colour) {
    const double y = Y(plot, count);
    if (y + metrics.height() / 2.0 > free_above) return;
    painter.setPen(colour);
    painter.drawText(QRectF(0, y - metrics.height() / 2.0, gutter.width() - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(count));
    free_above = y - metrics.height() / 2.0;
  };
  const int lower = std::min(peak, limit_);
  label(0, Qt::black);
  label(lower, lower == peak ? kPeakMark : kLimitLine);
  label(std::max(peak, limit_), lower == peak ? kLimitLine : kPeakMark);
  painter.setPen(QColor(150, 150, 175));
  painter.drawLine(gutter.topRight(), gutter.bottomRight());

  const QString caption =
      QString::fromUtf8("Notes sounding: peak %1 (▼), limit %2 (dashed)").arg(peak).arg(limit_);
  painter.setPen(Qt::black);
  painter.drawText(QPointF(plot.left() + 4, metrics.ascent() + 1), caption);
}

}  // namespace quillmar
