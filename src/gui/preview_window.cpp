#include "gui/preview_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "audio/audio_player.h"
#include "audio/synthesizer.h"
#include "audio/wav_file.h"
#include "gui/dialog_units.h"
#include "gui/timeline_strip.h"
#include "lists/path_helpers.h"
#include "platform/encoding.h"
#include "preview/handset_notes.h"

namespace quillmar {
namespace {

constexpr char kLimitKey[] = "preview/limit";
constexpr char kSoundFontKey[] = "preview/soundfont";
constexpr int kPlayerPollMs = 30;  // how often the playhead follows the player
// Sixteen notes at once unless the person sets another limit.
constexpr int kDefaultLimit = 16;
constexpr int kMostLimit = 128;
constexpr double kZoomStep = 1.25;  // per notch of the wheel
constexpr double kLeastTicksPerPixel = 1.0 / 16;
constexpr double kMostPixels = 1e9;  // the widest the song may be drawn
constexpr double kLeastRowHeight = 2;
constexpr double kMostRowHeight = 16;
constexpr int kNoteMargin = 2;  // rows above and below the song's notes when fitted
constexpr int kWheelRows = 3;   // rows scrolled per notch
constexpr int kWheelSteps = 8;  // notches that scroll the time by one window width

enum TrackColumn { kNumberColumn, kNameColumn, kChannelColumn, kNotesColumn, kVoicesColumn };

QString Unicode(std::string_view sjis) {
  return QString::fromStdString(SjisToUtf8(sjis));
}

QSettings Settings() {
  return QSettings(QStringLiteral("Quillmar"), QStringLiteral("Quillmar"));
}

QIcon Swatch(int channel) {
  QPixmap pixmap(10, 10);
  pixmap.fill(ChannelColour(channel));
  return QIcon(pixmap);
}

// A time as minutes and seconds, "3:07".
QString Duration(double seconds) {
  const auto whole = static_cast<long long>(std::lround(seconds));
  return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// The result lines as the panel shows them; a message box's text breaks its lines with CR.
QString ResultText(const std::vector<std::string>& lines) {
  QStringList texts;
  for (const std::string& line : lines) texts << Unicode(line);
  return texts.join(QLatin1Char('\n'))
      .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// The SoundFont the person chose (a native path); none plays the system's.
std::optional<std::string> ChosenSoundFont() {
  const QString chosen = Settings().value(QLatin1String(kSoundFontKey)).toString();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

}  // namespace

PreviewWindow::PreviewWindow(const Workspace& workspace, std::string sjis_path,
                             std::optional<PreviewCells> cells, PlaybackOutput output,
                             QWidget* parent)
    : QWidget(parent, Qt::Window),
      workspace_(workspace),
      path_(std::move(sjis_path)),
      cells_(std::move(cells)),
      output_(output) {
  setWindowTitle(QStringLiteral("Quillmar preview - ") + Unicode(BaseName(path_)));
  setFont(DialogFont());
  CreateControls();
  resize(1100, 720);
  OpenAudio();
  RefreshViewChoices();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::CreateControls() {
  auto* controls = new QHBoxLayout;
  view_choice_ = new QComboBox(this);
  view_choice_->setObjectName(QStringLiteral("view"));
  view_choice_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(view_choice_, &QComboBox::currentIndexChanged, this, &PreviewWindow::ShowView);
  limit_ = new QSpinBox(this);
  limit_->setObjectName(QStringLiteral("limit"));
  limit_->setRange(1, kMostLimit);
  limit_->setSuffix(QStringLiteral(" notes"));
  limit_->setValue(Settings().value(QLatin1String(kLimitKey), kDefaultLimit).toInt());
  limit_->setToolTip(
      QStringLiteral("The most notes the handset sounds at once; the moments "
                     "above it are shaded"));
  connect(limit_, &QSpinBox::valueChanged, this, &PreviewWindow::SetLimit);
  auto* fit = new QPushButton(QStringLiteral("Fit"), this);
  fit->setObjectName(QStringLiteral("fit"));
  fit->setToolTip(QStringLiteral("Fits the whole song into the window (F)"));
  connect(fit, &QPushButton::clicked, this, &PreviewWindow::Fit);
  controls->addWidget(new QLabel(QStringLiteral("View:"), this));
  controls->addWidget(view_choice_);
  controls->addSpacing(12);
  controls->addWidget(new QLabel(QStringLiteral("Handset limit:"), this));
  controls->addWidget(limit_);
  controls->addSpacing(12);
  controls->addWidget(fit);
  controls->addStretch(1);
  controls->addWidget(new QLabel(QStringLiteral("Channels:"), this));
  controls->addWidget(new ChannelLegend(this));

  const auto add_shortcuts = [this](const QList<QKeySequence>& keys, auto slot) {
    auto* action = new QAction(this);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
  };
  add_shortcuts({QKeySequence(Qt::Key_F), QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { Fit(); });
  // The keys zoom around the middle of the plot.
  add_shortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                [this] { ZoomTime(kZoomStep, axis_.plot_left + PlotWidth() / 2); });
  add_shortcuts({QKeySequence::ZoomOut},
                [this] { ZoomTime(1 / kZoomStep, axis_.plot_left + PlotWidth() / 2); });
  add_shortcuts({QKeySequence(Qt::Key_Space)}, [this] { TogglePlay(); });

  auto* panes = new QSplitter(Qt::Horizontal, this);
  panes->addWidget(CreateSongPane());
  panes->addWidget(CreateSidePane());
  panes->setStretchFactor(0, 1);
  panes->setSizes({800, 300});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addLayout(CreateSoundControls());
  layout->addWidget(panes, 1);
}

QLayout* PreviewWindow::CreateSoundControls() {
  play_ = new QPushButton(QStringLiteral("Play"), this);
  play_->setObjectName(QStringLiteral("play"));
  connect(play_, &QPushButton::clicked, this, &PreviewWindow::TogglePlay);
  handset_ = new QCheckBox(QStringLiteral("As the handset plays it"), this);
  handset_->setObjectName(QStringLiteral("handset"));
  connect(handset_, &QCheckBox::toggled, this, &PreviewWindow::UpdateSound);
  auto* soundfont = new QPushButton(QStringLiteral("SoundFont…"), this);
  soundfont->setObjectName(QStringLiteral("soundfont"));
  soundfont->setToolTip(QStringLiteral("Chooses the SoundFont to play with"));
  connect(soundfont, &QPushButton::clicked, this, &PreviewWindow::ChooseSoundFont);
  save_wav_ = new QPushButton(QStringLiteral("Save WAV…"), this);
  save_wav_->setObjectName(QStringLiteral("wav"));
  save_wav_->setToolTip(QStringLiteral(
      "Saves the view shown as a WAV file, as the handset plays it when that is ticked; also "
      "without an audio device"));
  connect(save_wav_, &QPushButton::clicked, this, &PreviewWindow::SaveWavFile);
  sound_status_ = new QLabel(this);
  sound_status_->setObjectName(QStringLiteral("sound"));
  sound_status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  sound_status_->setWordWrap(true);  // the packages to install make a long line
  player_timer_ = new QTimer(this);
  player_timer_->setInterval(kPlayerPollMs);
  connect(player_timer_, &QTimer::timeout, this, &PreviewWindow::FollowPlayer);
  auto* row = new QHBoxLayout;
  row->addWidget(play_);
  row->addSpacing(12);
  row->addWidget(handset_);
  row->addSpacing(12);
  row->addWidget(soundfont);
  row->addWidget(save_wav_);
  row->addWidget(sound_status_, 1);
  return row;
}

QWidget* PreviewWindow::CreateSongPane() {
  auto* pane = new QWidget(this);
  roll_ = new PianoRollView(pane);
  roll_->setObjectName(QStringLiteral("roll"));
  roll_->setToolTip(
      QStringLiteral("Ctrl+wheel zooms the time, the wheel scrolls the notes, "
                     "Shift+wheel the time; F fits the song"));
  strip_ = new TimelineStrip(pane);
  strip_->setObjectName(QStringLiteral("strip"));
  for (QWidget* view : {static_cast<QWidget*>(roll_), static_cast<QWidget*>(strip_)}) {
    view->installEventFilter(this);
  }
  axis_.plot_left = roll_->GutterWidth();
  note_bar_ = new QScrollBar(Qt::Vertical, pane);
  connect(note_bar_, &QScrollBar::valueChanged, this, &PreviewWindow::ScrollNotes);
  time_bar_ = new QScrollBar(Qt::Horizontal, pane);
  connect(time_bar_, &QScrollBar::valueChanged, this, [this](int value) {
    fitted_ = false;
    SetTimeAxis(value * axis_.ticks_per_pixel, axis_.ticks_per_pixel);
  });
  // The strip lies under the roll at the same width, so that both share the time axis.
  auto* grid = new QGridLayout(pane);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(roll_, 0, 0);
  grid->addWidget(note_bar_, 0, 1);
  grid->addWidget(strip_, 1, 0);
  grid->addWidget(time_bar_, 2, 0);
  grid->setRowStretch(0, 1);
  return pane;
}

QWidget* PreviewWindow::CreateSidePane() {
  auto* side = new QSplitter(Qt::Vertical, this);
  tracks_ = new QTreeWidget(side);
  tracks_->setObjectName(QStringLiteral("tracks"));
  tracks_->setHeaderLabels({QStringLiteral("#"), QStringLiteral("Track"), QStringLiteral("Ch"),
                            QStringLiteral("Notes"), QStringLiteral("Voices")});
  tracks_->setRootIsDecorated(false);
  tracks_->setUniformRowHeights(true);
  tracks_->setToolTip(QString::fromUtf8("Each track's channel, notes and share of the ボイス数"));
  rows_ = new QListWidget(side);
  rows_->setObjectName(QStringLiteral("rows"));
  rows_->setWordWrap(true);
  rows_->setToolTip(QStringLiteral(
      "What each edit- and order-list row did; choose one to mark the notes it touched "
      "(dashed: removed, or where a changed note was)"));
  connect(rows_, &QListWidget::currentRowChanged, this, [this](int row) {
    const auto& effects = result_.effects;
    roll_->SetMarks(row >= 0 && static_cast<std::size_t>(row) < effects.size()
                        ? effects[static_cast<std::size_t>(row)].touched
                        : std::vector<TouchedNote>{});
  });
  auto* result_pane = new QWidget(side);
  figures_ = new QLabel(result_pane);
  figures_->setObjectName(QStringLiteral("figures"));
  figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  result_text_ = new QPlainTextEdit(result_pane);
  result_text_->setObjectName(QStringLiteral("result"));
  result_text_->setReadOnly(true);
  // Long lines (paths, messages) wrap at the pane's width, between words or anywhere.
  result_text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  result_text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  auto* layout = new QVBoxLayout(result_pane);
  layout->setContentsMargins(0, 4, 0, 0);
  layout->addWidget(figures_);
  layout->addWidget(result_text_, 1);
  side->addWidget(tracks_);
  side->addWidget(rows_);
  side->addWidget(result_pane);
  return side;
}

void PreviewWindow::RefreshViewChoices() {
  const int chosen = shown_slot_;
  {
    const QSignalBlocker quiet(view_choice_);
    view_choice_->clear();
    view_choice_->addItem(QStringLiteral("original"), -1);
    for (int index = 0; index < kSlotCount; ++index) {
      if (!workspace_.Converts(index)) continue;
      view_choice_->addItem(QStringLiteral("after output %1's lists").arg(index + 1), index);
    }
    view_choice_->setCurrentIndex(std::max(view_choice_->findData(chosen), 0));
  }
  ShowView();
}

void PreviewWindow::ShowView() {
  const int slot = view_choice_->currentData().toInt();
  // The views let go of the song before it is replaced.
  roll_->SetSong(nullptr);
  strip_->SetSong(nullptr);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  result_ = RunPreview(path_, slot < 0 ? nullptr : &workspace_.Slot(slot),
                       slot < 0 ? std::nullopt : cells_);
  QApplication::restoreOverrideCursor();
  shown_slot_ = slot;
  ShowSong();
}

void PreviewWindow::ShowSong() {
  const SongPreview* song = Song();
  roll_->SetSong(song);
  strip_->SetSong(song);
  FillTrackList();
  FillRowList();
  result_text_->setPlainText(ResultText(result_.lines));
  if (song == nullptr) {
    figures_->setText(QStringLiteral("The file could not be converted."));
  } else {
    const auto counted = [](std::size_t count, const char* noun) {
      return QStringLiteral("%1 %2%3")
          .arg(count)
          .arg(QLatin1String(noun))
          .arg(count == 1 ? "" : "s");
    };
    figures_->setText(QString::fromUtf8("ボイス数 %1　　同時発音数 %2\n%3, %4, %5")
                          .arg(song->VoiceCount())
                          .arg(song->SimultaneousNotes())
                          .arg(counted(song->Measures().size(), "measure"))
                          .arg(Duration(song->Seconds(song->Length())))
                          .arg(counted(song->Notes().size(), "note")));
  }
  ShowLimit();
  UpdateSound();
  ShowPlayState();
  if (fitted_) {
    Fit();
  } else {
    SetTimeAxis(axis_.first_tick, axis_.ticks_per_pixel);
  }
}

void PreviewWindow::FillRowList() {
  roll_->SetMarks({});
  rows_->clear();
  for (const RowEffect& effect : result_.effects) {
    rows_->addItem(QString::fromStdString(SjisToUtf8(DescribeEffect(effect))));
  }
  rows_->setVisible(!result_.effects.empty());
}

void PreviewWindow::FillTrackList() {
  tracks_->clear();
  const SongPreview* song = Song();
  if (song == nullptr) return;
  const auto add_row = [this](const QStringList& texts) {
    auto* item = new QTreeWidgetItem(tracks_, texts);
    for (int column : {kNumberColumn, kNotesColumn, kVoicesColumn}) {
      item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    return item;
  };
  int number = 0;
  for (const PreviewTrack& track : song->Tracks()) {
    const bool has_channel = track.channel.has_value();
    QTreeWidgetItem* item =
        add_row({QString::number(++number), Unicode(track.name),
                 has_channel ? QString::number(*track.channel + 1) : QStringLiteral("-"),
                 QString::number(track.notes), QString::number(track.voices)});
    if (has_channel) item->setIcon(kChannelColumn, Swatch(*track.channel));
  }
  QTreeWidgetItem* total =
      add_row({QString(), QStringLiteral("Total"), QString(), QString::number(song->Notes().size()),
               QString::number(song->VoiceCount())});
  QFont bold = total->font(kNameColumn);
  bold.setBold(true);
  for (int column = 0; column < tracks_->columnCount(); ++column) total->setFont(column, bold);
  for (int column = 0; column < tracks_->columnCount(); ++column) {
    tracks_->resizeColumnToContents(column);
  }
}

void PreviewWindow::SetLimit(int limit) {
  Settings().setValue(QLatin1String(kLimitKey), limit);
  ShowLimit();
  UpdateSound();
}

void PreviewWindow::ShowLimit() {
  const int limit = limit_->value();
  std::vector<TickSpan> spans =
      Song() != nullptr ? Song()->SpansAbove(limit) : std::vector<TickSpan>();
  roll_->SetSpansAbove(spans);
  strip_->SetLimit(limit, std::move(spans));
}

double PreviewWindow::SongTicks() const {
  return Song() != nullptr ? std::max<double>(static_cast<double>(Song()->Length()), 1) : 1;
}

double PreviewWindow::PlotWidth() const {
  return std::max(roll_->width() - axis_.plot_left, 1);
}

double PreviewWindow::ClampedTicksPerPixel(double ticks_per_pixel) const {
  const double most = SongTicks() / PlotWidth();
  const double least = std::min(std::max(kLeastTicksPerPixel, SongTicks() / kMostPixels), most);
  return std::clamp(ticks_per_pixel, least, most);
}

void PreviewWindow::Fit() {
  fitted_ = true;
  SetTimeAxis(0, SongTicks() / PlotWidth());
  // The rows of the song's lowest to highest note, or the middle of the keyboard without notes.
  int lowest = 36;
  int highest = 96;
  if (const SongPreview* song = Song(); song != nullptr && !song->Notes().empty()) {
    const auto [low, high] = std::ranges::minmax_element(
        song->Notes(), {}, [](const PreviewNote& note) { return note.note; });
    lowest = low->note;
    highest = high->note;
  }
  const int rows = highest - lowest + 1 + 2 * kNoteMargin;
  SetRowHeight(static_cast<double>(roll_->RowsHeight()) / rows, (lowest + highest) / 2.0);
}

void PreviewWindow::SetTimeAxis(double first_tick, double ticks_per_pixel) {
  axis_.ticks_per_pixel = ClampedTicksPerPixel(ticks_per_pixel);
  const double width = PlotWidth();
  const double hidden = std::max(SongTicks() - width * axis_.ticks_per_pixel, 0.0);
  axis_.first_tick = std::clamp(first_tick, 0.0, hidden);
  roll_->SetTimeAxis(axis_);
  strip_->SetTimeAxis(axis_);
  const QSignalBlocker quiet(time_bar_);
  time_bar_->setRange(0, static_cast<int>(std::ceil(hidden / axis_.ticks_per_pixel)));
  time_bar_->setPageStep(static_cast<int>(width));
  time_bar_->setSingleStep(std::max(static_cast<int>(width) / kWheelSteps, 1));
  time_bar_->setValue(static_cast<int>(std::lround(axis_.first_tick / axis_.ticks_per_pixel)));
}

void PreviewWindow::ZoomTime(double factor, double anchor_x) {
  fitted_ = false;
  const double anchor_tick = axis_.TickAt(anchor_x);
  const double ticks_per_pixel = ClampedTicksPerPixel(axis_.ticks_per_pixel / factor);
  SetTimeAxis(anchor_tick - (anchor_x - axis_.plot_left) * ticks_per_pixel, ticks_per_pixel);
}

void PreviewWindow::SetRowHeight(double row_height, double centre_note) {
  row_height_ = std::clamp(row_height, kLeastRowHeight, kMostRowHeight);
  UpdateNoteBar();
  const double centre_y = (kNoteCount - centre_note - 0.5) * row_height_;
  {
    const QSignalBlocker quiet(note_bar_);
    note_bar_->setValue(static_cast<int>(std::lround(centre_y - roll_->RowsHeight() / 2.0)));
  }
  roll_->SetNoteRows(row_height_, note_bar_->value());
}

void PreviewWindow::UpdateNoteBar() {
  const int page = std::max(roll_->RowsHeight(), 1);
  const QSignalBlocker quiet(note_bar_);
  note_bar_->setRange(0, std::max(static_cast<int>(std::ceil(kNoteCount * row_height_)) - page, 0));
  note_bar_->setPageStep(page);
  note_bar_->setSingleStep(static_cast<int>(std::ceil(kWheelRows * row_height_)));
}

void PreviewWindow::ScrollNotes(int scroll) {
  fitted_ = false;
  roll_->SetNoteRows(row_height_, scroll);
}

void PreviewWindow::Wheel(QWheelEvent* event, bool over_roll) {
  const QPoint delta = event->angleDelta();
  if (event->modifiers() & Qt::ControlModifier) {
    if (delta.y() != 0) ZoomTime(std::pow(kZoomStep, delta.y() / 120.0), event->position().x());
    return;
  }
  const bool across = delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier) || !over_roll;
  QScrollBar* bar = across ? time_bar_ : note_bar_;
  const int notches = delta.x() != 0 ? delta.x() : delta.y();
  bar->setValue(bar->value() - notches * bar->singleStep() / 120);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    Wheel(static_cast<QWheelEvent*>(event), watched == roll_);
    return true;
  }
  // A click in the roll's ruler sets where playing starts.
  if (watched == roll_ && event->type() == QEvent::MouseButtonPress && Song() != nullptr) {
    const QPointF at = static_cast<QMouseEvent*>(event)->position();
    if (at.y() < roll_->RulerHeight() && at.x() >= axis_.plot_left) {
      StartAt(Song()->Seconds(static_cast<Ticks>(std::max(axis_.TickAt(at.x()), 0.0))));
      return true;
    }
  }
  if (watched == roll_ && event->type() == QEvent::Resize) {
    if (fitted_) {
      Fit();
    } else {
      SetTimeAxis(axis_.first_tick, axis_.ticks_per_pixel);
      UpdateNoteBar();
      roll_->SetNoteRows(row_height_, note_bar_->value());
    }
  }
  return QWidget::eventFilter(watched, event);
}

void PreviewWindow::changeEvent(QEvent* event) {
  // The slots' lists, or the file itself, may have changed meanwhile: the view is run again
  // (a few milliseconds even for the largest song), keeping the zoom.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) RefreshViewChoices();
  QWidget::changeEvent(event);
}

void PreviewWindow::OpenAudio() {
  player_.reset();
  synthesizer_.reset();
  const std::optional<std::string> chosen = ChosenSoundFont();
  const std::optional<std::string> soundfont = SoundFontToUse(chosen);
  QString problem;  // why nothing plays
  if (!soundfont) {
    problem = QString::fromStdString(NoSoundFontText(chosen));
  } else if (auto synthesizer = Synthesizer::Open(*soundfont);
             const auto* text = std::get_if<std::string>(&synthesizer)) {
    problem = QString::fromStdString(*text);
  } else {
    synthesizer_ = std::move(std::get<std::unique_ptr<Synthesizer>>(synthesizer));
    if (output_ == PlaybackOutput::Silent) {
      player_ = AudioPlayer::OpenSilent(*synthesizer_);
    } else if (auto player = AudioPlayer::Open(*synthesizer_);
               std::holds_alternative<std::string>(player)) {
      problem = QStringLiteral("No audio device: the song cannot be played on this machine");
    } else {
      player_ = std::move(std::get<std::unique_ptr<AudioPlayer>>(player));
    }
  }
  // The handset's notes are shown without a device, but not without a SoundFont.
  if (synthesizer_ == nullptr) handset_->setChecked(false);
  handset_->setEnabled(synthesizer_ != nullptr);
  handset_->setToolTip(synthesizer_ != nullptr
                           ? QStringLiteral("Plays the song as a handset with the limit's notes "
                                            "would: notes that start while that many already "
                                            "sound are not played, and are hatched")
                           : problem);
  play_->setEnabled(player_ != nullptr);
  save_wav_->setEnabled(synthesizer_ != nullptr);
  if (synthesizer_ == nullptr) save_wav_->setToolTip(problem);
  play_->setToolTip(player_ != nullptr ? QStringLiteral("Plays the view shown from the playhead "
                                                        "(space); a click in the ruler moves it")
                                       : problem);
  sound_status_->setText(problem.isEmpty()
                             ? QStringLiteral("SoundFont: ") +
                                   QFileInfo(QString::fromStdString(*soundfont)).fileName()
                             : problem);
  ShowPlayState();
}

void PreviewWindow::ChooseSoundFont() {
  const std::optional<std::string> chosen = ChosenSoundFont();
  const QString file = QFileDialog::getOpenFileName(
      this, QStringLiteral("Choose a SoundFont"),
      QString::fromStdString(chosen.value_or(std::string(kDefaultSoundFont))),
      QStringLiteral("SoundFont files (*.sf2 *.sf3);;All files (*)"));
  if (file.isEmpty()) return;
  Settings().setValue(QLatin1String(kSoundFontKey), file);
  OpenAudio();
}

void PreviewWindow::SaveWavFile() {
  const std::optional<std::string> soundfont = SoundFontToUse(ChosenSoundFont());
  if (sound_ == nullptr || !soundfont) return;
  const QFileInfo song(QString::fromStdString(SjisToUtf8(path_)));
  const QString file = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save the sound as WAV"),
      QDir::home().filePath(song.completeBaseName() + QStringLiteral(".wav")),
      QStringLiteral("WAV files (*.wav)"));
  if (file.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::optional<std::string> problem = SaveWav(*sound_, *soundfont, file.toStdString());
  QApplication::restoreOverrideCursor();
  if (problem) {
    QMessageBox::warning(this, QStringLiteral("Save WAV"), QString::fromStdString(*problem));
  }
}

void PreviewWindow::UpdateSound() {
  std::shared_ptr<const SongSound> sound = result_.sound;
  std::vector<bool> left_out;
  if (sound != nullptr && handset_->isChecked()) {
    sound = std::make_shared<const SongSound>(sound->WithHandsetLimit(limit_->value()));
    if (Song() != nullptr) left_out = NotesLeftOut(*Song(), *sound);
  }
  roll_->SetLeftOut(std::move(left_out));
  // The same song run anew (as when the window is activated) plays on undisturbed.
  if (sound != nullptr && sound_ != nullptr && *sound == *sound_) return;
  sound_ = std::move(sound);
  if (player_ != nullptr && player_->Playing()) player_->Switch(sound_);
}

void PreviewWindow::TogglePlay() {
  if (player_ == nullptr) return;
  if (player_->Playing()) {
    player_->Stop();
    position_ = player_->Position();
  } else if (sound_ != nullptr) {
    if (position_ >= sound_->Seconds()) position_ = 0;  // from the start again after the end
    player_->Play(sound_, position_);
    player_timer_->start();
  }
  ShowPlayState();
}

void PreviewWindow::StartAt(double seconds) {
  position_ = seconds;
  if (player_ != nullptr && player_->Playing() && sound_ != nullptr) {
    player_->Play(sound_, position_);
  }
  ShowPlayState();
}

void PreviewWindow::FollowPlayer() {
  if (player_ == nullptr || !player_->Playing()) player_timer_->stop();
  if (player_ == nullptr) return;
  position_ = player_->Position();
  ShowPlayState();
  // The roll turns the page when the playhead leaves it.
  const double tick = Song() != nullptr ? Song()->TickAt(position_) : 0;
  const double shown = PlotWidth() * axis_.ticks_per_pixel;
  if (player_->Playing() && tick <= SongTicks() &&
      (tick < axis_.first_tick || tick >= axis_.first_tick + shown)) {
    fitted_ = false;
    SetTimeAxis(tick - shown / 10, axis_.ticks_per_pixel);
  }
}

void PreviewWindow::ShowPlayState() {
  play_->setText(player_ != nullptr && player_->Playing() ? QStringLiteral("Stop")
                                                          : QStringLiteral("Play"));
  const std::optional<double> tick = player_ != nullptr && Song() != nullptr
                                         ? std::optional(Song()->TickAt(position_))
                                         : std::nullopt;
  roll_->SetPlayhead(tick);
  strip_->SetPlayhead(tick);
}

}  // namespace quillmar
