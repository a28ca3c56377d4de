#include "gui/piano_roll_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <span>

namespace quillmar {
namespace {

// Well apart from each other on a light background; the drum channel is near black, as its
// diamonds need no hue to stand out.
constexpr std::array<QRgb, 16> kChannelColours = {
    0xe6194b, 0x3cb44b, 0x4363d8, 0xf58231, 0x911eb4, 0x2fa3c4, 0xf032e6, 0x8db32a,
    0xd9789a, 0x303030, 0x469990, 0x9d7fd8, 0x9a6324, 0xd4a900, 0x800000, 0x000075};

constexpr int kKeyWidth = 14;              // the keyboard at the gutter's right side
constexpr double kLineSpacing = 10;        // least pixels between two measure lines drawn
constexpr int kStrongLineEvery = 4;        // of the lines drawn, one in this many is darker
constexpr double kRulerLabelMargin = 8;    // pixels beside a measure number
constexpr QColor kShade(230, 20, 20, 45);  // a span above the limit
constexpr QColor kMeasureLine(150, 150, 175);
constexpr QColor kFaintMeasureLine(205, 205, 220);
constexpr QColor kOctaveLine(200, 200, 214);
constexpr QColor kBlackKeyRow(236, 236, 244);
constexpr QColor kPastTheEnd(0, 0, 40, 22);
constexpr QColor kMark(20, 20, 20);  // the frame of a note a list row touched
constexpr QColor kPlayhead(0, 130, 60);

bool IsBlackKey(int note) {
  constexpr std::array<bool, 12> kBlack = {false, true,  false, true,  false, false,
                                           true,  false, true,  false, true,  false};
  return kBlack[static_cast<std::size_t>(note % 12)];
}

// The measures whose lines fall within the plot's columns.
std::span<const MeasureLine> VisibleMeasures(const SongPreview& song, const TimeAxis& axis,
                                             const QRect& area) {
  const std::vector<MeasureLine>& measures = song.Measures();
  const double from = axis.TickAt(area.left());
  const double to = axis.TickAt(area.right() + 1);
  const auto first = std::ranges::partition_point(
      measures, [from](const MeasureLine& measure) { return measure.tick < from; });
  const auto last = std::ranges::partition_point(
      first, measures.end(), [to](const MeasureLine& measure) { return measure.tick < to; });
  return {first, last};
}

// Every how many measures a line or number is drawn so that they stay `spacing` pixels apart:
// a power of two, so that the ones drawn start four- and eight-bar phrases (1, 5, 9, ...).
int MeasureStep(std::span<const MeasureLine> visible, const TimeAxis& axis, double spacing) {
  if (visible.size() < 2) return 1;
  const double average = (axis.X(static_cast<double>(visible.back().tick)) -
                          axis.X(static_cast<double>(visible.front().tick))) /
                         static_cast<double>(visible.size() - 1);
  int step = 1;
  while (step < INT_MAX / 2 && average * step < spacing) step *= 2;
  return step;
}

bool IsDrawn(const MeasureLine& measure, int step) {
  return (measure.number - 1) % step == 0;
}

// The channel colour made paler for a softer note.
QColor NoteColour(int channel, int velocity) {
  const QColor base = ChannelColour(channel);
  const double strength = 0.5 + 0.5 * std::clamp(velocity, 0, 127) / 127.0;
  const auto mix = [strength](int part) {
    return static_cast<int>(std::lround(255 - (255 - part) * strength));
  };
  return QColor(mix(base.red()), mix(base.green()), mix(base.blue()));
}

QPolygonF Diamond(double x, double y, double half) {
  return QPolygonF(
      {QPointF(x, y - half), QPointF(x + half, y), QPointF(x, y + half), QPointF(x - half, y)});
}

}  // namespace

QColor ChannelColour(int channel) {
  return QColor(kChannelColours[static_cast<std::size_t>(channel & 15)]);
}

QString NoteName(int note) {
  static const std::array<const char*, 12> kNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                     "F#", "G",  "G#", "A",  "A#", "B"};
  return QString::fromLatin1(kNames[static_cast<std::size_t>(note % 12)]) +
         QString::number(note / 12 - 1);
}

void PaintMeasureLines(QPainter& painter, const SongPreview& song, const TimeAxis& axis,
                       const QRect& area) {
  const std::span<const MeasureLine> visible = VisibleMeasures(song, axis, area);
  const int step = MeasureStep(visible, axis, kLineSpacing);
  for (const MeasureLine& measure : visible) {
    if (!IsDrawn(measure, step)) continue;
    painter.setPen(IsDrawn(measure, step * kStrongLineEvery) ? kMeasureLine : kFaintMeasureLine);
    const double x = std::floor(axis.X(static_cast<double>(measure.tick))) + 0.5;
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom() + 1));
  }
}

void PaintSpansAbove(QPainter& painter, const std::vector<TickSpan>& spans, const TimeAxis& axis,
                     const QRect& area) {
  const double from = axis.TickAt(area.left());
  const double to = axis.TickAt(area.right() + 1);
  const auto first = std::ranges::partition_point(
      spans, [from](const TickSpan& span) { return span.second <= from; });
  // Spans narrower than a pixel still show, one pixel wide; spans that meet on the screen are
  // shaded as one, so that no column is shaded twice.
  int run_left = 0;
  int run_right = INT_MIN;
  const auto shade_run = [&] {
    if (run_right > run_left) {
      painter.fillRect(QRect(run_left, area.top(), run_right - run_left, area.height()), kShade);
    }
  };
  for (auto span = first; span != spans.end() && span->first < to; ++span) {
    const int left = std::max(axis.FloorX(static_cast<double>(span->first)), area.left());
    const int right = std::max(
        std::min(axis.CeilX(static_cast<double>(span->second)), area.right() + 1), left + 1);
    if (left <= run_right) {
      run_right = std::max(run_right, right);
    } else {
      shade_run();
      run_left = left;
      run_right = right;
    }
  }
  shade_run();
}

void PaintPlayhead(QPainter& painter, std::optional<double> tick, const TimeAxis& axis,
                   const QRect& area) {
  if (!tick) return;
  const double x = std::floor(axis.X(*tick)) + 0.5;
  if (x < area.left() || x > area.right() + 1) return;
  painter.setPen(QPen(kPlayhead, 2));
  painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom() + 1));
}

PianoRollView::PianoRollView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 120);
}

void PianoRollView::SetSong(const SongPreview* song) {
  song_ = song;
  update();
}

void PianoRollView::SetTimeAxis(const TimeAxis& axis) {
  axis_ = axis;
  update();
}

void PianoRollView::SetNoteRows(double row_height, int scroll) {
  row_height_ = row_height;
  scroll_ = scroll;
  update();
}

void PianoRollView::SetSpansAbove(std::vector<TickSpan> spans) {
  spans_above_ = std::move(spans);
  update();
}

int PianoRollView::GutterWidth() const {
  return fontMetrics().horizontalAdvance(QStringLiteral("C-1")) + kKeyWidth + 10;
}

int PianoRollView::RulerHeight() const {
  return fontMetrics().height() + 6;
}

double PianoRollView::RowTop(int note) const {
  return RulerHeight() + (kNoteCount - 1 - note) * row_height_ - scroll_;
}

// Rows lie on whole pixels, which the painter fills fastest.
QRect PianoRollView::RowRect(int left, double top, int width) const {
  const auto first = static_cast<int>(std::floor(top));
  return {left, first, width, static_cast<int>(std::floor(top + row_height_)) - first};
}

void PianoRollView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (song_ == nullptr) {
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No song to show"));
    return;
  }
  const QRect plot(axis_.plot_left, RulerHeight(), width() - axis_.plot_left, RowsHeight());
  painter.save();
  painter.setClipRect(plot);
  PaintRows(painter, plot);
  PaintSpansAbove(painter, spans_above_, axis_, plot);
  PaintMeasureLines(painter, *song_, axis_, plot);
  PaintNotes(painter, plot);
  PaintMarks(painter, plot);
  painter.restore();
  PaintRuler(painter);
  PaintKeyboard(painter);
  // Across the ruler too, where a click sets it.
  PaintPlayhead(painter, playhead_, axis_, QRect(plot.left(), 0, plot.width(), height()));
}

void PianoRollView::PaintRows(QPainter& painter, const QRect& plot) const {
  for (int note = 0; note < kNoteCount; ++note) {
    const double top = RowTop(note);
    if (top > plot.bottom() || top + row_height_ < plot.top()) continue;
    if (IsBlackKey(note)) {
      painter.fillRect(RowRect(plot.left(), top, plot.width()), kBlackKeyRow);
    }
    if (note % 12 == 0) {  // the line under each C parts the octaves
      painter.setPen(kOctaveLine);
      const double y = std::floor(top + row_height_) - 0.5;
      painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right() + 1, y));
    }
  }
  const int end = std::max(axis_.CeilX(static_cast<double>(song_->Length())), plot.left());
  if (end <= plot.right()) {
    painter.fillRect(QRect(end, plot.top(), plot.right() + 1 - end, plot.height()), kPastTheEnd);
  }
}

void PianoRollView::SetMarks(std::vector<TouchedNote> marks) {
  marks_ = std::move(marks);
  update();
}

void PianoRollView::SetLeftOut(std::vector<bool> left_out) {
  left_out_ = std::move(left_out);
  update();
}

void PianoRollView::SetPlayhead(std::optional<double> tick) {
  playhead_ = tick;
  update();
}

void PianoRollView::PaintMarks(QPainter& painter, const QRect& plot) const {
  painter.setBrush(Qt::NoBrush);
  for (const TouchedNote& mark : marks_) {
    const double top = RowTop(mark.key);
    if (top > plot.bottom() || top + row_height_ < plot.top()) continue;
    const int left = axis_.FloorX(static_cast<double>(mark.tick));
    const int right = std::max(left + 4, axis_.CeilX(static_cast<double>(mark.tick + mark.gate)));
    if (right < plot.left() || left > plot.right()) continue;
    painter.setPen(QPen(kMark, 2, mark.removed ? Qt::DashLine : Qt::SolidLine));
    painter.drawRect(QRectF(left - 1, std::floor(top), right - left + 2, row_height_ + 1));
  }
}

void PianoRollView::PaintNotes(QPainter& painter, const QRect& plot) const {
  const double half = std::clamp(row_height_ * 0.6, 2.5, 6.0);  // of a drum diamond
  // Drum notes are diamonds while a sixteenth note leaves room between two of them, and
  // upright ticks when zoomed out further, so that a busy drum row stays readable.
  const double sixteenth = std::max<std::int32_t>(song_->Division(), 4) / 4.0;
  const bool diamonds = sixteenth / axis_.ticks_per_pixel >= 2 * half + 2;
  const double margin = half * axis_.ticks_per_pixel;
  const auto from =
      static_cast<Ticks>(std::max(0.0, std::floor(axis_.TickAt(plot.left()) - margin)));
  const auto to = static_cast<Ticks>(std::ceil(axis_.TickAt(plot.right() + 1) + margin)) + 1;
  const int height = std::max(1, static_cast<int>(std::floor(row_height_)) - 1);
  // Zoomed out, many notes of a row fall on the same pixels: a note within the pixels that
  // the last note of its row and channel covered is not drawn again.
  std::array<int, kNoteCount> covered_to;
  std::array<int, kNoteCount> covered_channel;
  covered_to.fill(INT_MIN);
  covered_channel.fill(-1);
  for (const PreviewNote& note : song_->NotesBetween(from, to)) {
    const double top = RowTop(note.note);
    if (top > plot.bottom() || top + row_height_ < plot.top()) continue;
    const auto row = static_cast<std::size_t>(note.note);
    const QColor colour = NoteColour(note.channel, note.velocity);
    // A note the handset leaves out is drawn in its colour's hatching over white.
    const auto index = static_cast<std::size_t>(&note - song_->Notes().data());
    const bool hatched = index < left_out_.size() && left_out_[index];
    const QBrush fill = hatched ? QBrush(colour.darker(130), Qt::BDiagPattern) : QBrush(colour);
    if (note.channel == kDrumChannel) {
      const int x = axis_.FloorX(static_cast<double>(note.start));
      const int right = diamonds ? x + static_cast<int>(std::ceil(half)) + 1 : x + 1;
      if (covered_channel[row] == note.channel && right <= covered_to[row]) continue;
      if (diamonds) {
        const QPolygonF diamond =
            Diamond(axis_.X(static_cast<double>(note.start)), top + row_height_ / 2, half);
        painter.setPen(colour.darker(150));
        if (hatched) {
          painter.setBrush(Qt::white);
          painter.drawPolygon(diamond);
        }
        painter.setBrush(fill);
        painter.drawPolygon(diamond);
      } else {
        painter.fillRect(RowRect(x, top, 1), fill);
      }
      covered_to[row] = right;
      covered_channel[row] = note.channel;
      continue;
    }
    const int left = axis_.FloorX(static_cast<double>(note.start));
    const int right = std::max(left + 1, axis_.CeilX(static_cast<double>(note.end)));
    if (covered_channel[row] == note.channel && right <= covered_to[row]) continue;
    const QRect bar(left, static_cast<int>(std::floor(top)) + (row_height_ >= 4 ? 1 : 0),
                    right - left, height);
    if (hatched) painter.fillRect(bar, Qt::white);
    painter.fillRect(bar, fill);
    if (bar.width() >= 4 && bar.height() >= 3) {
      painter.setPen(colour.darker(150));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(bar.adjusted(0, 0, -1, -1));
    }
    covered_to[row] = right;
    covered_channel[row] = note.channel;
  }
}

void PianoRollView::PaintRuler(QPainter& painter) const {
  const QRect ruler(0, 0, width(), RulerHeight());
  painter.fillRect(ruler, QColor(228, 228, 238));
  painter.setPen(kMeasureLine);
  painter.drawLine(ruler.bottomLeft(), ruler.bottomRight());
  const QRect plot(axis_.plot_left, 0, width() - axis_.plot_left, RulerHeight());
  const std::span<const MeasureLine> visible = VisibleMeasures(*song_, axis_, plot);
  const QFontMetrics metrics = fontMetrics();
  const double label_width =
      metrics.horizontalAdvance(QString::number(visible.empty() ? 1 : visible.back().number)) +
      kRulerLabelMargin;
  const int step = MeasureStep(visible, axis_, label_width);
  painter.save();
  painter.setClipRect(plot);
  for (const MeasureLine& measure : visible) {
    if (!IsDrawn(measure, step)) continue;
    const double x = std::floor(axis_.X(static_cast<double>(measure.tick))) + 0.5;
    painter.setPen(kMeasureLine);
    painter.drawLine(QPointF(x, ruler.height() / 2.0), QPointF(x, ruler.bottom()));
    // A number is shown whole or not at all.
    const QString number = QString::number(measure.number);
    if (x + 3 + metrics.horizontalAdvance(number) > plot.right() + 1) continue;
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + 3, metrics.ascent() + 2), number);
  }
  painter.restore();
}

void PianoRollView::PaintKeyboard(QPainter& painter) const {
  const QRect gutter(0, RulerHeight(), axis_.plot_left, RowsHeight());
  painter.save();
  painter.setClipRect(gutter);
  painter.fillRect(gutter, QColor(244, 244, 248));
  const int key_left = gutter.right() + 1 - kKeyWidth;
  const QFontMetrics metrics = fontMetrics();
  for (int note = 0; note < kNoteCount; ++note) {
    const double top = RowTop(note);
    if (top > gutter.bottom() || top + row_height_ < gutter.top()) continue;
    painter.fillRect(RowRect(key_left, top, kKeyWidth),
                     IsBlackKey(note) ? QColor(60, 60, 70) : Qt::white);
    if (note % 12 != 0) continue;
    painter.setPen(kOctaveLine);
    const double y = std::floor(top + row_height_) - 0.5;
    painter.drawLine(QPointF(key_left, y), QPointF(gutter.right() + 1, y));
    painter.setPen(Qt::black);
    const QRectF label(0, top + row_height_ / 2 - metrics.height() / 2.0, key_left - 3,
                       metrics.height());
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, NoteName(note));
  }
  painter.setPen(kMeasureLine);
  painter.drawLine(gutter.topRight(), gutter.bottomRight());
  painter.restore();
}

ChannelLegend::ChannelLegend(QWidget* parent) : QWidget(parent) {
  setToolTip(
      QStringLiteral("The colour of each channel; channel 10 (drums) shows its notes as "
                     "diamonds"));
}

int ChannelLegend::ChipWidth() const {
  return fontMetrics().horizontalAdvance(QStringLiteral("16")) + 22;
}

QSize ChannelLegend::sizeHint() const {
  return {16 * ChipWidth(), fontMetrics().height() + 4};
}

void ChannelLegend::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int swatch = std::min(10, height() - 4);
  const double middle = height() / 2.0;
  for (int channel = 0; channel < 16; ++channel) {
    const int left = channel * ChipWidth();
    const QColor colour = ChannelColour(channel);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    if (channel == kDrumChannel) {
      painter.drawPolygon(Diamond(left + swatch / 2.0 + 1, middle, swatch / 2.0 + 1));
    } else {
      painter.drawRect(QRectF(left + 1, middle - swatch / 2.0, swatch, swatch));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRectF(left + swatch + 5, 0, ChipWidth() - swatch - 5, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::number(channel + 1));
  }
}

}  // namespace quillmar
