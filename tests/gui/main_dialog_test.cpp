#include "gui/main_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "gui/recording_prompter.h"
#include "model/model_builders.h"
#include "platform/encoding.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingPrompter;
using testing::TempFolder;

constexpr const char* kFinished = "処理が終了しました";

// A one-note song.
std::string SmallSong() {
  using namespace quillmar::testing;
  return Smf(1, 96,
             {Chunk(Bytes({0x00, 0x90, 60, 90, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}))});
}

QString Native(const std::string& path) {
  return QString::fromStdString(path);
}

}  // namespace

class MainDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<TempFolder>();
    workspace_ = std::make_unique<Workspace>(Sjis(folder_->Path()));
    prompter_ = std::make_unique<RecordingPrompter>();
    Open({});
  }

  void cleanup() {
    dialog_.reset();
    prompter_.reset();
    workspace_.reset();
    folder_.reset();
  }

  void StartsWithCaptionsEmptyListsAndHiddenSlotButtons() {
    const QList<int> ids = {1044, 1000, 1001, 1030, 1031, 1032, 1033, 1034, 1003, 1045,
                            1035, 1036, 1037, 1046, 1038, 1042, 1016, 1021, 57670};
    QStringList captions;
    for (int id : ids) captions << Caption(id);
    QCOMPARE(captions,
             QStringList({"File Setting", "", "Content", "Volume Setting", "Tone Setting",
                          "Drum Setting", "Edit Setting", "Order Setting", "確認", "Midi Format",
                          "Same as original", "Format 0", "Format 1", "Quillmar file format",
                          "N503i", "Save Result", "Execute", "---", "ﾍﾙﾌﾟ(&H)"}));
    QVERIFY(Caption(1027).startsWith("Quillmar Version 4.0"));
    QCOMPARE(dialog_->windowTitle(), QString("Quillmar"));
    QCOMPARE(dialog_->palette().color(QPalette::Window), QColor(200, 200, 250));

    for (int id : {1002, 1003, 1004, 1005, 1007, 1008, 1009, 1010, 1011, 1012}) {
      QVERIFY2(!Control<QWidget>(id)->isVisible(), qPrintable(QString::number(id)));
    }
    QVERIFY(Control<QWidget>(1000)->isVisible());
    QVERIFY(Control<QCheckBox>(1035)->isChecked());
    for (int id : {1038, 1039, 1040, 1041}) QVERIFY(!Control<QCheckBox>(id)->isEnabled());

    auto* tabs = Control<QTabBar>(1043);
    QCOMPARE(tabs->count(), 6);
    for (int tab = 0; tab < 6; ++tab)
      QCOMPARE(tabs->tabText(tab), QString("output %1").arg(tab + 1));
    QCOMPARE(dialog_->actions().size(), 1);
    QCOMPARE(dialog_->actions().first()->text(), QString("Quillmar のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  }

  void TipsWrapAtThreeHundredPixelsAndStayThirtySeconds() {
    const QWidget* button = Control<QWidget>(1000);
    QCOMPARE(button->toolTipDuration(), 30000);
    const QStringList lines = button->toolTip().split('\n');
    QVERIFY(lines.size() > 1);
    QCOMPARE(lines.join(""), QString("変換するファイルのリストが書かれたＣＳＶファイルの名前です。"
                                     "ボタンをクリックすると、使用するＣＳＶファイルを変更する"
                                     "ことができます。"));
    const QFontMetrics metrics(QToolTip::font());
    for (const QString& line : lines) QVERIFY(metrics.horizontalAdvance(line) <= 300);
  }

  // A switch that is on is marked by a bold caption on a colour of its own.
  void SwitchShowsItsButtonsAndATabChangeKeepsIt() {
    auto* volume = Control<QPushButton>(1030);
    const QColor off = volume->palette().color(QPalette::Button);
    const auto marked = [volume, off] {
      return volume->font().bold() && volume->palette().color(QPalette::Button) != off;
    };
    volume->click();
    QVERIFY(Control<QWidget>(1002)->isVisible());
    QVERIFY(Control<QWidget>(1003)->isVisible());
    QVERIFY(marked());
    QCOMPARE(Caption(1030), QString("Volume Setting"));
    volume->click();
    QVERIFY(!Control<QWidget>(1002)->isVisible());
    QVERIFY(!Control<QWidget>(1003)->isVisible());
    QVERIFY(!volume->font().bold());
    QCOMPARE(volume->palette().color(QPalette::Button), off);

    volume->click();
    Control<QTabBar>(1043)->setCurrentIndex(2);
    QVERIFY(!volume->isChecked());
    QVERIFY(!Control<QWidget>(1002)->isVisible());
    QVERIFY(!volume->font().bold());
    Control<QTabBar>(1043)->setCurrentIndex(0);
    QVERIFY(volume->isChecked());
    QVERIFY(Control<QWidget>(1002)->isVisible());
    QVERIFY(marked());
  }

  // The described layout is the least size; the room of a larger window goes to the result
  // list, the buttons under it move down with its bottom and the other controls stay.
  void ALargerWindowGivesTheResultListTheExtraRoom() {
    const QSize least = dialog_->size();
    QCOMPARE(dialog_->minimumSize(), least);
    const QList<QWidget*> controls = dialog_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QList<QRect> before;
    for (const QWidget* control : controls) before << control->geometry();

    dialog_->resize(least + QSize(200, 100));
    QTRY_COMPARE(Control<QWidget>(1023)->geometry(),
                 before[controls.indexOf(Control<QWidget>(1023))].adjusted(0, 0, 200, 100));
    for (qsizetype at = 0; at < controls.size(); ++at) {
      const QString id = controls[at]->objectName();
      if (id == "1023") continue;
      const QPoint moved = id == "1" || id == "57670" ? QPoint(200, 100)
                           : id == "1042"             ? QPoint(100, 100)
                                                      : QPoint();
      QCOMPARE(controls[at]->geometry(), before[at].translated(moved));
    }
  }

  void ListChosenOnTheSecondTabStaysWithIt() {
    auto* tabs = Control<QTabBar>(1043);
    tabs->setCurrentIndex(1);
    Control<QPushButton>(1030)->click();
    prompter_->file_to_open = Native(folder_->Write("v_second.csv", "a,b,c,d,e\r\n"));
    Control<QPushButton>(1002)->click();
    QCOMPARE(prompter_->filters, QStringList{"CSV files (v*.csv)"});
    QCOMPARE(Caption(1002), QString("v_second.csv"));

    tabs->setCurrentIndex(0);
    QCOMPARE(Caption(1002), QString());
    tabs->setCurrentIndex(1);
    QCOMPARE(Caption(1002), QString("v_second.csv"));
    QVERIFY(Control<QWidget>(1002)->isVisible());

    prompter_->file_to_open.reset();  // a cancelled dialog changes nothing
    Control<QPushButton>(1002)->click();
    QCOMPARE(Caption(1002), QString("v_second.csv"));
  }

  void ViewButtonOpensTheListViewOnlyForALoadedList() {
    QCOMPARE(ModalOpenedBy(1001), QString());
    Control<QPushButton>(1030)->click();
    QCOMPARE(ModalOpenedBy(1003), QString());
    dialog_->DropPaths({Native(folder_->Write("a.mid", SmallSong()))});
    QCOMPARE(ModalOpenedBy(1001), QString("quillmar::ListViewDialog"));
  }

  void DroppedMidiFilesAndListsAreLoaded() {
    const QStringList paths = {Native(folder_->Write("a.mid", SmallSong())),
                               Native(folder_->Write("b.mid", SmallSong())),
                               Native(folder_->Write("v_volume.csv", "a,b,c,d,e\r\n"))};
    dialog_->DropPaths(paths);
    QCOMPARE(ResultLines(), paths);
    QCOMPARE(Caption(1000), QString("file_list_temp.csv"));
    QCOMPARE(workspace_->FileList()->RowCount(), 3);
    QVERIFY(Control<QPushButton>(1030)->isChecked());
    QVERIFY(Control<QWidget>(1002)->isVisible());
    QCOMPARE(Caption(1002), QString("v_volume.csv"));
  }

  void PathsGivenAtStartAreTakenLikeDrops() {
    const QString song = Native(folder_->Write("a.mid", SmallSong()));
    Open({song});
    QCOMPARE(ResultLines(), QStringList{song});
    QCOMPARE(Caption(1000), QString("file_list_temp.csv"));
  }

  void RunDisablesTheSettingsUntilItHasConvertedEveryRow() {
    LoadFileList(2);
    Control<QPushButton>(1016)->click();
    // The worker waits for this thread to show its first row, so the run is in progress.
    for (int id : {1043, 1000, 1001, 1030, 1034, 1035, 1037}) {
      QVERIFY2(!Control<QWidget>(id)->isEnabled(), qPrintable(QString::number(id)));
    }
    QVERIFY(Control<QWidget>(1016)->isEnabled());
    QVERIFY(Control<QWidget>(1042)->isEnabled());
    dialog_->DropPaths({InFolder("a.mid")});  // refused while running

    QTRY_VERIFY(prompter_->messages.contains(kFinished));
    QTRY_VERIFY(Control<QWidget>(1043)->isEnabled());
    QVERIFY(Control<QWidget>(1035)->isEnabled());
    QCOMPARE(ResultLines().count(InFolder("a.mid")), 2);
    QCOMPARE(Caption(1021), QString("2"));
    QVERIFY(QFile::exists(InFolder("out1.mid")));
    QVERIFY(QFile::exists(InFolder("out2.mid")));
  }

  // A file list chosen with its button sets no folder: Execute asks for output 1's folder
  // instead of writing into the folder the window was started in.
  void OutputOneAsksTheFolderThatNobodyChose() {
    folder_->Write("a.mid", SmallSong());
    prompter_->file_to_open = Native(
        folder_->Write("f_list.csv", "h,h,h,h,h\r\n1," + (*folder_ / "a.mid") + ",o.mid,-,-\r\n"));
    Control<QPushButton>(1000)->click();
    const TempFolder chosen;
    prompter_->folder_to_pick = Native(chosen.Path());
    Control<QPushButton>(1016)->click();
    QTRY_VERIFY(prompter_->messages.contains(kFinished));
    QCOMPARE(prompter_->folder_titles,
             QStringList{"[output 1] select folder for original format."});
    QVERIFY(QFile::exists(Native(chosen / "o.mid")));
    QVERIFY(!QFile::exists(InFolder("o.mid")));
  }

  // A dropped file would be written back over itself: the question names it, Cancel keeps it.
  void DroppedFileIsNotWrittenOverWithoutTheQuestion() {
    const QString song = Native(folder_->Write("a.mid", SmallSong()));
    dialog_->DropPaths({song});
    prompter_->answer_ok = false;
    Control<QPushButton>(1016)->click();
    QCOMPARE(
        prompter_->messages,
        QStringList{QString::fromUtf8("入力ファイル名と出力ファイル名が同じものがあります。これらの"
                                      "ファイルは上書きされますが、よろしいですか？\n\n") +
                    song});
    QCOMPARE(QString::fromStdString(folder_->Read("a.mid")), QString::fromStdString(SmallSong()));
    QVERIFY(Control<QWidget>(1043)->isEnabled());
  }

  void ExecuteDuringARunStopsItAfterTheCurrentRow() {
    LoadFileList(50);
    auto* execute = Control<QPushButton>(1016);
    execute->click();
    execute->click();
    QTRY_COMPARE(prompter_->messages, QStringList{kFinished});
    QVERIFY(ResultLines().count(InFolder("a.mid")) <= 1);

    QTRY_VERIFY(Control<QWidget>(1043)->isEnabled());
    execute->click();  // a new run
    QTRY_COMPARE(prompter_->messages.count(kFinished), 2);
  }

  void ClosingDuringARunStopsItAndAnswersItsEnd() {
    LoadFileList(50);
    Control<QPushButton>(1016)->click();
    dialog_->reject();
    QCOMPARE(prompter_->messages, QStringList{kFinished});
    QVERIFY(ResultLines().count(InFolder("a.mid")) <= 1);
    QVERIFY(!dialog_->isVisible());
  }

  void SavedResultIsTheListInShiftJisWithCrLf() {
    const std::string unknown = folder_->Write("x.csv", "");
    dialog_->DropPaths({Native(unknown)});
    prompter_->file_to_save = InFolder("v_result.txt");
    Control<QPushButton>(1042)->click();
    QCOMPARE(prompter_->filters, QStringList{"TEXT files (v*.txt) .txt"});
    const std::string expected = unknown + "\r\n            " +
                                 Sjis("リストファイルの名前から種別を特定できませんでした。") +
                                 "\r\n";
    QCOMPARE(QByteArray::fromStdString(folder_->Read("v_result.txt")),
             QByteArray::fromStdString(expected));
  }

 private:
  void Open(const QStringList& paths) {
    dialog_.reset();
    dialog_ = std::make_unique<MainDialog>(*workspace_, *prompter_, paths);
    dialog_->show();
  }

  QString InFolder(const char* name) const { return Native(*folder_ / name); }

  template <typename Widget>
  Widget* Control(int id) const {
    auto* widget = dialog_->findChild<Widget*>(QString::number(id));
    if (widget == nullptr) qFatal("no control %d", id);
    return widget;
  }

  QString Caption(int id) const {
    if (const auto* label = qobject_cast<const QLabel*>(Control<QWidget>(id))) return label->text();
    return Control<QAbstractButton>(id)->text();
  }

  QStringList ResultLines() const {
    QStringList lines;
    const auto* list = Control<QListWidget>(1023);
    for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
    return lines;
  }

  // A file list of `rows` rows that convert a.mid into out.mid, dropped on the window.
  void LoadFileList(int rows) {
    folder_->Write("a.mid", SmallSong());
    std::string text = "h1,h2,h3,h4,h5\r\n";
    for (int row = 1; row <= rows; ++row) {
      text += std::to_string(row) + "," + (*folder_ / "a.mid") + ",out" + std::to_string(row) +
              ".mid,-,-\r\n";
    }
    dialog_->DropPaths({Native(folder_->Write("f_list.csv", text))});
  }

  // Presses the button; the class name of the modal dialog it opened (closed again), or
  // nothing.
  QString ModalOpenedBy(int id) {
    QString opened;
    QTimer::singleShot(0, this, [&opened] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        opened = modal->metaObject()->className();
        modal->close();
      }
    });
    Control<QPushButton>(id)->click();
    QCoreApplication::processEvents();
    return opened;
  }

  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<Workspace> workspace_;
  std::unique_ptr<RecordingPrompter> prompter_;
  std::unique_ptr<MainDialog> dialog_;
};

}  // namespace quillmar

QTEST_MAIN(quillmar::MainDialogTest)
#include "main_dialog_test.moc"
