// Paints the main window after a small conversion, at its least size and larger, the list
// view of its file list and of one with long cells, the preview of a song after a slot's lists,
// and while it plays and as the handset plays it, and saves them as PNG files into
// $QUILLMAR_SCREENSHOT_DIR for a person to look at.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTextBlock>
#include <QtTest>
#include <algorithm>

#include "audio/synthesizer.h"
#include "gui/list_view_dialog.h"
#include "gui/main_dialog.h"
#include "gui/preview_window.h"
#include "gui/recording_prompter.h"
#include "model/model_builders.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

// Three rising notes under a Japanese track name.
std::string Melody() {
  using namespace quillmar::testing;
  const std::string name = Sjis("かえるの歌");
  return Smf(
      1, 96,
      {Chunk(Bytes({0x00, 0xFF, 0x03, static_cast<int>(name.size())}) + name +
             Bytes({0x00, 0x90, 60, 90, 0x60, 0x80, 60, 0, 0x00, 0x90, 62,   90,  0x60, 0x80, 62, 0,
                    0x00, 0x90, 64, 90, 0x60, 0x80, 64, 0, 0x00, 0xFF, 0x2F, 0x00}))});
}

// Sixteen four-note chords, a quarter each, over a bass of half notes on channel 2.
std::string Chords() {
  using namespace quillmar::testing;
  std::string chords;
  std::string bass;
  for (int chord = 0; chord < 16; ++chord) {
    const int root = 60 + (chord * 5) % 12;
    const std::initializer_list<int> keys = {root, root + 4, root + 7, root + 12};
    for (const int key : keys) chords += Bytes({0x00, 0x90, key, 90});
    int wait = 0x60;
    for (const int key : keys) {
      chords += Bytes({wait, 0x80, key, 0});
      wait = 0;
    }
    if (chord % 2 == 0) bass += Bytes({0x00, 0x91, root - 24, 100, 0x81, 0x40, 0x81, root - 24, 0});
  }
  const std::string end = Bytes({0x00, 0xFF, 0x2F, 0x00});
  return Smf(1, 96, {Chunk(chords + end), Chunk(bass + end)});
}

// Saves the widget's picture and checks that it was written and shows more than one colour.
void SaveScreenshot(QWidget& widget, const QString& name) {
  QVERIFY(QTest::qWaitForWindowExposed(&widget));
  const QImage image = widget.grab().toImage();
  const QDir folder(qEnvironmentVariable("QUILLMAR_SCREENSHOT_DIR"));
  QVERIFY(folder.mkpath("."));
  const QString path = folder.filePath(name);
  QVERIFY(image.save(path));

  const QImage saved(path);
  QVERIFY(!saved.isNull());
  bool blank = true;
  for (int y = 0; y < saved.height() && blank; ++y) {
    for (int x = 0; x < saved.width() && blank; ++x) blank = saved.pixel(x, y) == saved.pixel(0, 0);
  }
  QVERIFY2(!blank, qPrintable(path));
}

}  // namespace

class ScreenshotTest : public QObject {
  Q_OBJECT

 private slots:
  // The preview's remembered settings stay apart from the person's.
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QStringLiteral("Quillmar"), QStringLiteral("Quillmar")).clear();
  }

  void MainWindowAndListViewArePainted() {
    if (qEnvironmentVariableIsEmpty("QUILLMAR_SCREENSHOT_DIR")) QSKIP("QUILLMAR_SCREENSHOT_DIR");
    const testing::TempFolder folder;
    Workspace workspace(Sjis(folder.Path()));
    testing::RecordingPrompter prompter;
    const auto path = [&folder](const std::string& name, const std::string& bytes) {
      return QString::fromStdString(folder.Write(name, bytes));
    };
    QStringList paths;
    for (int song = 1; song <= 6; ++song) {
      paths << path("かえるの歌 第" + std::to_string(song) + "番 (long name).mid", Melody());
    }
    paths << path("v_volume.csv", Sjis("チャネル,ボリューム,ベロシティ,パン,ゲートタイム\r\n"
                                       "1,80%,-,40,-\r\n"));
    paths << path("e_edit.csv", "c,t,ch,p\r\nDel,Note=62,-,-\r\nFoo,x,-,-\r\n");
    MainDialog dialog(workspace, prompter, paths);
    dialog.show();
    dialog.findChild<QPushButton*>("1016")->click();
    QTRY_VERIFY(prompter.messages.contains(QString::fromUtf8("処理が終了しました")));
    QTRY_VERIFY(dialog.findChild<QWidget*>("1043")->isEnabled());  // the run has ended
    SaveScreenshot(dialog, "main_dialog.png");

    dialog.resize(dialog.size() * 3 / 2);
    SaveScreenshot(dialog, "main_dialog_large.png");

    ListViewDialog view(*workspace.FileList(), ListKind::FileList, &dialog);
    view.show();
    SaveScreenshot(view, "list_view.png");

    testing::RecordingSink sink;
    const std::string long_cells = folder.Write(
        "f_long.csv", Sjis("番号,入力ファイル名,出力ファイル名,タイトル,著作権情報\r\n"
                           "1,/home/hanako/midi/2003/かえるの歌.mid,kaeru.mid,かえるの歌 (合唱版),"
                           "(C) 2003 Hanako Yamada Music Publishing Co. Ltd. 無断転載禁止\r\n"));
    const SettingsList file_list = SettingsList::Load(sink.Reports(), long_cells, 5);
    ListViewDialog wide(file_list, ListKind::FileList, &dialog);
    wide.show();
    SaveScreenshot(wide, "list_view_long_cells.png");

    // After output 1's volume list, the result pane's lines include long messages.
    PreviewWindow preview(workspace, Sjis(folder.Write("song.mid", Melody())), std::nullopt);
    preview.findChild<QComboBox*>("view")->setCurrentIndex(1);
    preview.show();
    SaveScreenshot(preview, "preview_long_line.png");
    const QTextDocument* result = preview.findChild<QPlainTextEdit*>("result")->document();
    bool wrapped = false;
    for (QTextBlock line = result->firstBlock(); line.isValid(); line = line.next()) {
      wrapped = wrapped || line.layout()->lineCount() > 1;
    }
    QVERIFY(wrapped);

    // The first edit row chosen: the note it removed is marked where it stood.
    preview.findChild<QListWidget*>("rows")->setCurrentRow(0);
    SaveScreenshot(preview, "preview_row_marks.png");
  }

  void PreviewPlayingAndAsTheHandsetPlaysItIsPainted() {
    if (qEnvironmentVariableIsEmpty("QUILLMAR_SCREENSHOT_DIR")) QSKIP("QUILLMAR_SCREENSHOT_DIR");
    if (!SoundFontToUse(std::nullopt)) QSKIP("no SoundFont installed");
    const testing::TempFolder folder;
    Workspace workspace(Sjis(folder.Path()));
    PreviewWindow preview(workspace, Sjis(folder.Write("chords.mid", Chords())), std::nullopt,
                          PlaybackOutput::Silent);
    preview.show();
    auto* play = preview.findChild<QPushButton*>("play");
    auto* roll = preview.findChild<PianoRollView*>("roll");
    play->click();
    QTRY_VERIFY(*roll->Playhead() > 3 * preview.Song()->Division());
    SaveScreenshot(preview, "preview_playing.png");
    play->click();

    preview.findChild<QSpinBox*>("limit")->setValue(3);
    preview.findChild<QCheckBox*>("handset")->setChecked(true);
    QVERIFY(std::ranges::count(roll->LeftOut(), true) > 0);
    SaveScreenshot(preview, "preview_handset.png");
  }
};

}  // namespace quillmar

QTEST_MAIN(quillmar::ScreenshotTest)
#include "screenshot_test.moc"
