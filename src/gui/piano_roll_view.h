#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "edit/row_effects.h"
#include "preview/song_preview.h"

class QPainter;

namespace quillmar {

inline constexpr int kNoteCount = 128;

// Where the piano roll and the strip under it place ticks, so that both show the same moment
// at the same x: the plot starts `plot_left` pixels from the left edge of each widget with
// `first_tick` there, and each pixel spans `ticks_per_pixel` ticks.
struct TimeAxis {
  int plot_left = 0;
  double first_tick = 0;
  double ticks_per_pixel = 1;

  double X(double tick) const { return plot_left + (tick - first_tick) / ticks_per_pixel; }
  double TickAt(double x) const { return first_tick + (x - plot_left) * ticks_per_pixel; }
  // X rounded down or up to a pixel, kept within what an int holds for far ticks.
  int FloorX(double tick) const { return ToPixel(std::floor(X(tick))); }
  int CeilX(double tick) const { return ToPixel(std::ceil(X(tick))); }

 private:
  static int ToPixel(double x) { return static_cast<int>(std::clamp(x, -1e9, 1e9)); }
};

// The colour of a MIDI channel (0-15) in the roll, the legend and the track list.
QColor ChannelColour(int channel);

// A note number with its octave, as "C4" for 60: C-1 is 0 and G9 is 127.
QString NoteName(int note);

// Draws the measure lines of the song that fall within `area` (a plot's rectangle), leaving
// out lines closer than a few pixels to the last one drawn.
void PaintMeasureLines(QPainter& painter, const SongPreview& song, const TimeAxis& axis,
                       const QRect& area);

// Shades the parts of `area` under the spans, where more notes sound than the limit.
void PaintSpansAbove(QPainter& painter, const std::vector<TickSpan>& spans, const TimeAxis& axis,
                     const QRect& area);

// Draws the playhead, a line at the moment playing, when it falls within `area`.
void PaintPlayhead(QPainter& painter, std::optional<double> tick, const TimeAxis& axis,
                   const QRect& area);

// The notes of a song with time across and note numbers up: measure numbers in a ruler at the
// top, octave labels beside a keyboard at the left, one colour per channel (paler for a soft
// note), drum notes as diamonds, notes a handset leaves out hatched, the spans above the limit
// shaded and the playhead. It paints only the part in view and is told its axes and spans; it
// counts nothing.
class PianoRollView : public QWidget {
 public:
  explicit PianoRollView(QWidget* parent = nullptr);

  // The song to paint; null shows that there is none. Not owned.
  void SetSong(const SongPreview* song);
  void SetTimeAxis(const TimeAxis& axis);
  // The height of a note's row in pixels, and how far the rows are scrolled down from the
  // top of note 127.
  void SetNoteRows(double row_height, int scroll);
  void SetSpansAbove(std::vector<TickSpan> spans);
  // Notes to mark: framed where a list row left them, dashed where it removed them (or where
  // they stood before it changed them). Empty marks nothing.
  void SetMarks(std::vector<TouchedNote> marks);
  const std::vector<TouchedNote>& Marks() const { return marks_; }
  // One flag for each of the song's notes, true for a note the handset leaves out; empty
  // leaves none out.
  void SetLeftOut(std::vector<bool> left_out);
  const std::vector<bool>& LeftOut() const { return left_out_; }
  // The tick of the moment playing; none shows no playhead.
  void SetPlayhead(std::optional<double> tick);
  std::optional<double> Playhead() const { return playhead_; }

  // The width of the keyboard and its labels left of the plot.
  int GutterWidth() const;
  // The height of the rows under the ruler.
  int RowsHeight() const { return height() - RulerHeight(); }
  // The height of the ruler with the measure numbers at the top.
  int RulerHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double RowTop(int note) const;
  QRect RowRect(int left, double top, int width) const;
  void PaintRows(QPainter& painter, const QRect& plot) const;
  void PaintNotes(QPainter& painter, const QRect& plot) const;
  void PaintMarks(QPainter& painter, const QRect& plot) const;
  void PaintRuler(QPainter& painter) const;
  void PaintKeyboard(QPainter& painter) const;

  const SongPreview* song_ = nullptr;
  TimeAxis axis_;
  double row_height_ = 6;
  int scroll_ = 0;
  std::vector<TickSpan> spans_above_;
  std::vector<TouchedNote> marks_;
  std::vector<bool> left_out_;
  std::optional<double> playhead_;
};

// The sixteen channel colours with their numbers, the drum channel marked as its notes are.
class ChannelLegend : public QWidget {
 public:
  explicit ChannelLegend(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int ChipWidth() const;
};

}  // namespace quillmar
