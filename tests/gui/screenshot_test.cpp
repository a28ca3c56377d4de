// Paints the main window after a small conversion and the list view of its file list, and
// saves both as PNG files into $QUILLMAR_SCREENSHOT_DIR for a person to look at.
#include <QDir>
#include <QPushButton>
#include <QtTest>

#include "gui/list_view_dialog.h"
#include "gui/main_dialog.h"
#include "gui/recording_prompter.h"
#include "model/model_builders.h"
#include "platform/encoding.h"
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
  void MainWindowAndListViewArePainted() {
    if (qEnvironmentVariableIsEmpty("QUILLMAR_SCREENSHOT_DIR")) QSKIP("QUILLMAR_SCREENSHOT_DIR");
    const testing::TempFolder folder;
    Workspace workspace(Sjis(folder.Path()));
    testing::RecordingPrompter prompter;
    const auto path = [&folder](const std::string& name, const std::string& bytes) {
      return QString::fromStdString(folder.Write(name, bytes));
    };
    MainDialog dialog(
        workspace, prompter,
        {path("かえるの歌.mid", Melody()), path("scale.mid", Melody()),
         path("v_volume.csv", Sjis("チャネル,ボリューム,ベロシティ,パン,ゲートタイム\r\n"
                                   "1,80%,-,40,-\r\n"))});
    dialog.show();
    dialog.findChild<QPushButton*>("1016")->click();
    QTRY_VERIFY(prompter.messages.contains(QString::fromUtf8("処理が終了しました")));
    QTRY_VERIFY(dialog.findChild<QWidget*>("1043")->isEnabled());  // the run has ended
    SaveScreenshot(dialog, "main_dialog.png");

    ListViewDialog view(*workspace.FileList(), ListKind::FileList, &dialog);
    view.show();
    SaveScreenshot(view, "list_view.png");
  }
};

}  // namespace quillmar

QTEST_MAIN(quillmar::ScreenshotTest)
#include "screenshot_test.moc"
