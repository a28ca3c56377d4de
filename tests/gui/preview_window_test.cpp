// The song preview on generated songs: its track list and figures against the result lines,
// the switch to a slot's lists, the remembered limit, zooming, playing (silently) with the
// playhead and the handset's left-out notes, how the main window opens it, and pictures of a
// dense and an empty song.
#include "gui/preview_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "audio/synthesizer.h"
#include "gui/list_view_dialog.h"
#include "gui/main_dialog.h"
#include "gui/recording_prompter.h"
#include "gui/timeline_strip.h"
#include "model/model_builders.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::Smf;
using testing::TempFolder;

std::string Vlq(int value) {
  std::string bytes(1, static_cast<char>(value & 0x7F));
  while ((value >>= 7) > 0) bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
  return bytes;
}

// Notes starting together `delta` ticks after the previous event and ending `gate` ticks
// later, before the next event.
std::string Notes(int delta, int channel, std::initializer_list<int> notes, int gate) {
  std::string events;
  for (const int note : notes) {
    events += Vlq(events.empty() ? delta : 0) + Bytes({0x90 | channel, note, 100});
  }
  int wait = gate;
  for (const int note : notes) {
    events += Vlq(wait) + Bytes({0x80 | channel, note, 64});
    wait = 0;
  }
  return events;
}

std::string Named(const char* utf8_name, const std::string& events) {
  const std::string name = Sjis(utf8_name);
  return Chunk(Bytes({0x00, 0xFF, 0x03, static_cast<int>(name.size())}) + name + events +
               Bytes({0x00, 0xFF, 0x2F, 0x00}));
}

// A title and 4/4 over a piano track (a three-note chord, then a note) and a drum track:
// four notes sound at once at the start.
std::string Song() {
  return Smf(1, 96,
             {Named("春の歌", Bytes({0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08})),
              Named("ピアノ", Notes(0, 0, {60, 64, 67}, 96) + Notes(0, 0, {72}, 96)),
              Named("ドラム", Notes(0, 9, {36}, 12) + Notes(36, 9, {38}, 12))});
}

// Sixteen channel tracks of three-note chords.
std::string DenseSong() {
  std::vector<std::string> tracks;
  for (int channel = 0; channel < 16; ++channel) {
    std::string events;
    for (int step = 0; step < 150; ++step) {
      const int root = 36 + (step * 7 + channel * 5) % 60;
      events += Notes(channel % 3, channel, {root, root + 4, root + 7}, 45 + channel % 4);
    }
    tracks.push_back(Chunk(events + Bytes({0x00, 0xFF, 0x2F, 0x00})));
  }
  return Smf(1, 96, tracks);
}

std::string EmptySong() {
  return Smf(1, 480, {Chunk(Bytes({0x00, 0xFF, 0x2F, 0x00}))});
}

template <typename Widget>
Widget* Part(const QWidget& window, const char* name) {
  auto* widget = window.findChild<Widget*>(QLatin1String(name));
  if (widget == nullptr) qFatal("no part %s", name);
  return widget;
}

QString ResultText(const PreviewWindow& window) {
  return Part<QPlainTextEdit>(window, "result")->toPlainText();
}

QStringList ViewChoices(const PreviewWindow& window) {
  const auto* choice = Part<QComboBox>(window, "view");
  QStringList texts;
  for (int index = 0; index < choice->count(); ++index) texts << choice->itemText(index);
  return texts;
}

QStringList Column(const QTreeWidget* tree, int column) {
  QStringList texts;
  for (int row = 0; row < tree->topLevelItemCount(); ++row) {
    texts << tree->topLevelItem(row)->text(column);
  }
  return texts;
}

QList<PreviewWindow*> OpenPreviews() {
  QList<PreviewWindow*> previews;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* preview = qobject_cast<PreviewWindow*>(widget); preview && preview->isVisible()) {
      previews << preview;
    }
  }
  return previews;
}

// Saves the widget's picture (into $QUILLMAR_SCREENSHOT_DIR, else the test's folder) and gives
// how many colours it shows.
int SaveScreenshot(QWidget& widget, const QString& folder, const QString& name) {
  const QImage image = widget.grab().toImage();
  const QString path = QDir(folder).filePath(name);
  if (!image.save(path)) qFatal("cannot save %s", qPrintable(path));
  QSet<QRgb> colours;
  const QImage saved(path);
  for (int y = 0; y < saved.height(); y += 2) {
    for (int x = 0; x < saved.width(); x += 2) colours.insert(saved.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

}  // namespace

class PreviewWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() {
    QSettings(QStringLiteral("Quillmar"), QStringLiteral("Quillmar")).clear();
    folder_ = std::make_unique<TempFolder>();
    workspace_ = std::make_unique<Workspace>(Sjis(folder_->Path()));
  }

  void cleanup() {
    workspace_.reset();
    folder_.reset();
  }

  void ShowsTheTracksAndTheFiguresOfTheResultLines() {
    PreviewWindow window(*workspace_, Write("春の歌.mid", Song()), std::nullopt);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), "Quillmar preview - 春の歌.mid");
    QCOMPARE(ViewChoices(window), QStringList({"original", "after output 1's lists"}));

    const auto* tracks = Part<QTreeWidget>(window, "tracks");
    QCOMPARE(Column(tracks, 1), QStringList({"春の歌", "ピアノ", "ドラム", "Total"}));
    QCOMPARE(Column(tracks, 2), QStringList({"-", "1", "10", ""}));
    QCOMPARE(Column(tracks, 3), QStringList({"0", "4", "2", "6"}));
    // The voices of the tracks add up to the total, which is the run's figure.
    const QStringList voices = Column(tracks, 4);
    int sum = 0;
    for (qsizetype row = 0; row + 1 < voices.size(); ++row) sum += voices[row].toInt();
    const QString result = ResultText(window);
    const QRegularExpressionMatch figure =
        QRegularExpression(QStringLiteral("ボイス数 (\\d+)")).match(result);
    QVERIFY2(figure.hasMatch(), qPrintable(result));
    QCOMPARE(voices.last(), figure.captured(1));
    QCOMPARE(QString::number(sum), voices.last());

    QVERIFY2(result.contains("同時発音数 4"), qPrintable(result));
    QVERIFY(Part<QLabel>(window, "figures")->text().contains("同時発音数 4"));
    window.grab();
    QCOMPARE(Part<TimelineStrip>(window, "strip")->PaintedMaximum(), 4);
  }

  void SwitchingToASlotWithAVolumeListRunsItsLists() {
    LoadVolumeList(2);
    testing::RecordingSink sink;
    workspace_->LoadList(
        sink.Reports(), ListKind::Edit,
        Sjis(folder_->Write("e_list.csv", "c,t,ch,p\r\nLimit,GateTime<2,-,-\r\n")));
    workspace_->SetSwitch(3, true);
    workspace_->SaveSwitches();
    PreviewWindow window(*workspace_, Write("song.mid", Song()), PreviewCells{"-", "-"});
    QCOMPARE(ViewChoices(window),
             QStringList({"original", "after output 1's lists", "after output 3's lists"}));
    const QString original = ResultText(window);
    Part<QComboBox>(window, "view")->setCurrentIndex(2);
    const QString after = ResultText(window);
    QVERIFY2(after.split('\n').size() > original.split('\n').size(), qPrintable(after));
    QVERIFY(window.Song() != nullptr);
    // The edit row's effect is listed; choosing it marks every note it shortened.
    auto* rows = Part<QListWidget>(window, "rows");
    QCOMPARE(rows->count(), 1);
    QVERIFY2(rows->item(0)->text().startsWith(QString::fromUtf8("e_list.csv 2行目 Limit")),
             qPrintable(rows->item(0)->text()));
    rows->setCurrentRow(0);
    QCOMPARE(Part<PianoRollView>(window, "roll")->Marks().size(),
             2 * window.Song()->Notes().size());

    Part<QComboBox>(window, "view")->setCurrentIndex(0);
    QCOMPARE(ResultText(window), original);
    QVERIFY(Part<PianoRollView>(window, "roll")->Marks().empty());
    QCOMPARE(rows->count(), 0);
  }

  void LimitIsRememberedForTheNextWindow() {
    {
      PreviewWindow window(*workspace_, Write("song.mid", Song()), std::nullopt);
      QCOMPARE(Part<QSpinBox>(window, "limit")->value(), 16);
      Part<QSpinBox>(window, "limit")->setValue(3);
    }
    PreviewWindow window(*workspace_, Write("song.mid", Song()), std::nullopt);
    QCOMPARE(Part<QSpinBox>(window, "limit")->value(), 3);
  }

  void CtrlWheelZoomsAroundTheCursorAndFitShowsTheWholeSong() {
    PreviewWindow window(*workspace_, Write("dense.mid", DenseSong()), std::nullopt);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* roll = Part<QWidget>(window, "roll");
    const TimeAxis fitted = window.Axis();
    const auto length = static_cast<double>(window.Song()->Length());
    QCOMPARE(fitted.first_tick, 0.0);
    QVERIFY(std::abs(fitted.TickAt(roll->width()) - length) < fitted.ticks_per_pixel);

    const QPointF cursor(roll->width() * 0.6, 50);
    const double tick = fitted.TickAt(cursor.x());
    QWheelEvent wheel(cursor, roll->mapToGlobal(cursor), {}, {0, 240}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(roll, &wheel);
    const TimeAxis zoomed = window.Axis();
    QVERIFY(std::abs(zoomed.ticks_per_pixel * 1.25 * 1.25 - fitted.ticks_per_pixel) < 1e-9);
    QVERIFY(std::abs(zoomed.TickAt(cursor.x()) - tick) < zoomed.ticks_per_pixel);

    Part<QPushButton>(window, "fit")->click();
    QCOMPARE(window.Axis().ticks_per_pixel, fitted.ticks_per_pixel);
    QCOMPARE(window.Axis().first_tick, 0.0);
  }

  void PlayMovesThePlayheadAndASwitchOfViewGoesOnAtTheSameMoment() {
    if (!SoundFontToUse(std::nullopt)) QSKIP("no SoundFont installed");
    LoadVolumeList(0);
    PreviewWindow window(*workspace_, Write("dense.mid", DenseSong()), std::nullopt,
                         PlaybackOutput::Silent);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* play = Part<QPushButton>(window, "play");
    auto* roll = Part<PianoRollView>(window, "roll");
    QVERIFY(play->isEnabled());
    QCOMPARE(roll->Playhead(), std::optional<double>(0));

    // A click in the ruler sets where playing starts: a quarter into the song.
    const double quarter = window.Song()->Length() / 4.0;
    QTest::mouseClick(roll, Qt::LeftButton, {},
                      QPoint(static_cast<int>(window.Axis().X(quarter)), 2));
    QVERIFY(std::abs(*roll->Playhead() - quarter) <= window.Axis().ticks_per_pixel + 1);
    play->click();
    QCOMPARE(play->text(), "Stop");
    QTRY_VERIFY(*roll->Playhead() > quarter + window.Song()->Division());

    // The view after output 1's volume list plays on from the same moment.
    const double before = *roll->Playhead();
    Part<QComboBox>(window, "view")->setCurrentIndex(1);
    const double at_switch = *roll->Playhead();
    QTRY_VERIFY(*roll->Playhead() != at_switch);
    QVERIFY(*roll->Playhead() >= before);

    QTest::keyClick(&window, Qt::Key_Space);
    QCOMPARE(play->text(), "Play");
    QVERIFY(*roll->Playhead() >= before);
  }

  void TheHandsetBoxHatchesTheNotesItLeavesOut() {
    if (!SoundFontToUse(std::nullopt)) QSKIP("no SoundFont installed");
    const auto left_out = [](const PreviewWindow& window) {
      return std::ranges::count(Part<PianoRollView>(window, "roll")->LeftOut(), true);
    };
    {
      PreviewWindow window(*workspace_, Write("song.mid", Song()), std::nullopt,
                           PlaybackOutput::Silent);
      auto* limit = Part<QSpinBox>(window, "limit");
      auto* handset = Part<QCheckBox>(window, "handset");
      limit->setValue(2);
      QCOMPARE(left_out(window), 0);
      // Of the four notes at the start, the chord's third and the drum; the snare that starts
      // while two sound; not the last note, which starts as the chord ends.
      handset->setChecked(true);
      QCOMPARE(left_out(window), 3);
      limit->setValue(4);
      QCOMPARE(left_out(window), 0);
      limit->setValue(3);
      QCOMPARE(left_out(window), 2);
      handset->setChecked(false);
      QCOMPARE(left_out(window), 0);
    }
    // Without its SoundFont neither plays, and both tell why.
    const std::string missing = folder_->Path() + "/missing.sf2";
    QSettings(QStringLiteral("Quillmar"), QStringLiteral("Quillmar"))
        .setValue("preview/soundfont", QString::fromStdString(missing));
    PreviewWindow window(*workspace_, Write("song.mid", Song()), std::nullopt,
                         PlaybackOutput::Silent);
    const QString why = QString::fromStdString(NoSoundFontText(missing));
    for (const char* name : {"play", "handset", "wav"}) {
      QVERIFY(!Part<QWidget>(window, name)->isEnabled());
      QCOMPARE(Part<QWidget>(window, name)->toolTip(), why);
    }
    QCOMPARE(Part<QLabel>(window, "sound")->text(), why);
  }

  void ScreenshotsOfADenseAndAnEmptySongShowThem() {
    const QString shots = qEnvironmentVariableIsEmpty("QUILLMAR_SCREENSHOT_DIR")
                              ? QString::fromStdString(folder_->Path())
                              : qEnvironmentVariable("QUILLMAR_SCREENSHOT_DIR");
    QVERIFY(QDir(shots).mkpath("."));
    PreviewWindow dense(*workspace_, Write("dense.mid", DenseSong()), std::nullopt);
    dense.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dense));
    QVERIFY(SaveScreenshot(dense, shots, "preview_dense.png") > 16);
    QCOMPARE(Part<TimelineStrip>(dense, "strip")->PaintedMaximum(),
             dense.Song()->SimultaneousNotes());
    QVERIFY(dense.Song()->SimultaneousNotes() > 16);  // some moments are shaded

    PreviewWindow empty(*workspace_, Write("empty.mid", EmptySong()), std::nullopt);
    empty.show();
    QVERIFY(QTest::qWaitForWindowExposed(&empty));
    QVERIFY(SaveScreenshot(empty, shots, "preview_empty.png") > 1);
    QCOMPARE(Column(Part<QTreeWidget>(empty, "tracks"), 3), QStringList({"0", "0"}));
  }

  void MainWindowOpensItFromTheResultListAndTheFileListView() {
    testing::RecordingPrompter prompter;
    const QString song = QString::fromStdString(folder_->Write("a.mid", Song()));
    const QString list = QString::fromStdString(folder_->Write("v_list.csv", "a,b,c,d,e\r\n"));
    MainDialog dialog(*workspace_, prompter, {song});
    dialog.show();
    dialog.findChild<QTabBar*>(QStringLiteral("1043"))->setCurrentIndex(1);
    dialog.DropPaths({list});
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* results = dialog.findChild<QListWidget*>(QStringLiteral("1023"));
    // A press and release, then the second press as the window system reports it.
    const auto double_click = [](QAbstractItemView* view, const QModelIndex& index) {
      const QPoint centre = view->visualRect(index).center();
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    };
    QCOMPARE(results->item(1)->text(), list);
    double_click(results, results->model()->index(1, 0));
    QVERIFY(OpenPreviews().isEmpty());
    QCOMPARE(results->item(0)->text(), song);
    double_click(results, results->model()->index(0, 0));
    QTRY_COMPARE(OpenPreviews().size(), 1);
    QCOMPARE(OpenPreviews().front()->windowTitle(), "Quillmar preview - a.mid");
    // The second slot, whose volume list the drop switched on, is listed at once.
    QCOMPARE(ViewChoices(*OpenPreviews().front()).last(), "after output 2's lists");
    OpenPreviews().front()->close();
    QTRY_VERIFY(OpenPreviews().isEmpty());

    QTimer::singleShot(0, this, [&] {
      auto* view = qobject_cast<ListViewDialog*>(QApplication::activeModalWidget());
      QVERIFY(view != nullptr);
      auto* grid = view->findChild<QTableWidget*>(QStringLiteral("1003"));
      double_click(grid, grid->model()->index(0, 1));
      QCOMPARE(OpenPreviews().size(), 1);
      view->close();
    });
    dialog.findChild<QPushButton*>(QStringLiteral("1001"))->click();
    // The preview outlives the file list's view that opened it.
    QCOMPARE(OpenPreviews().size(), 1);
    QCOMPARE(OpenPreviews().front()->windowTitle(), "Quillmar preview - a.mid");
  }

 private:
  // Switches on a volume list in slot `index` that sets channel 1's volume and pan.
  void LoadVolumeList(int index) {
    workspace_->SelectSlot(index);
    testing::RecordingSink sink;
    workspace_->LoadList(sink.Reports(), ListKind::Volume,
                         Sjis(folder_->Write("v_list.csv", Sjis("チャネル,ボリューム,ベロシティ,"
                                                                "パン,ゲートタイム\r\n"
                                                                "1,+10,-,40,-\r\n"))));
    workspace_->SetSwitch(0, true);
    workspace_->SaveSwitches();
  }

  // Writes the song into the test's folder and gives its Shift_JIS path.
  std::string Write(const char* utf8_name, const std::string& bytes) const {
    return Sjis(folder_->Write(utf8_name, bytes));
  }

  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<Workspace> workspace_;
};

}  // namespace quillmar

QTEST_MAIN(quillmar::PreviewWindowTest)
#include "preview_window_test.moc"
