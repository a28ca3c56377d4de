#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTextBrowser>
#include <QtTest>

#include "gui/about_box.h"
#include "gui/dialog_units.h"
#include "gui/help_window.h"
#include "gui/list_view_dialog.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingSink;
using testing::TempFolder;

// A list of `kind` read from a Shift_JIS file holding the UTF-8 text `utf8`.
SettingsList LoadList(const TempFolder& folder, ListKind kind, std::string_view utf8) {
  const std::string path = folder.Write("list.csv", Sjis(utf8));
  RecordingSink sink;
  return SettingsList::Load(sink.Reports(), path, ColumnCountOf(kind));
}

QTableWidget* Grid(const ListViewDialog& dialog) {
  return dialog.findChild<QTableWidget*>(QStringLiteral("1003"));
}

QString Corner(const QTableWidget* grid) {
  return grid->findChild<QAbstractButton*>()->text();
}

QStringList Headings(const QTableWidget* grid, Qt::Orientation orientation) {
  const int count = orientation == Qt::Horizontal ? grid->columnCount() : grid->rowCount();
  QStringList texts;
  for (int i = 0; i < count; ++i) texts << grid->model()->headerData(i, orientation).toString();
  return texts;
}

QStringList RowTexts(const QTableWidget* grid, int row) {
  QStringList texts;
  for (int column = 0; column < grid->columnCount(); ++column) {
    texts << grid->model()->index(row, column).data().toString();
  }
  return texts;
}

QList<QWidget*> HelpWindows() {
  QList<QWidget*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == "Quillmar Help") windows << widget;
  }
  return windows;
}

class ListViewTest : public QObject {
  Q_OBJECT

 private slots:
  void FileListShowsHeaderRowAndNumberColumnAsHeadings() {
    TempFolder folder;
    const SettingsList list = LoadList(folder, ListKind::FileList,
                                       "番号,入力ファイル名,出力ファイル名,タイトル,著作権情報\r\n"
                                       "1,/m/a.mid,a.mid,春の歌,(C) 花子\r\n"
                                       "2,/m/b.mid,b.mid,-,-\r\n"
                                       "3,/m/c.mid,c.mid,x\\\\y,-\r\n");
    ListViewDialog dialog(list, ListKind::FileList);
    const QTableWidget* grid = Grid(dialog);
    QCOMPARE(dialog.windowTitle(), "List View");
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(Headings(grid, Qt::Horizontal),
             QStringList({"入力ファイル名", "出力ファイル名", "タイトル", "著作権情報"}));
    QCOMPARE(Headings(grid, Qt::Vertical), QStringList({"1", "2", "3"}));
    QCOMPARE(Corner(grid), "番号");
    QCOMPARE(RowTexts(grid, 0), QStringList({"/m/a.mid", "a.mid", "春の歌", "(C) 花子"}));
    QCOMPARE(RowTexts(grid, 2), QStringList({"/m/c.mid", "c.mid", "x,y", "-"}));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    QCOMPARE(dialog.result(), QDialog::Accepted);
    QVERIFY(!dialog.isVisible());
  }

  void ToneListShowsSevenColumnsWithMissingCellsEmpty() {
    RecordingSink sink;  // the unfinished last line is reported
    TempFolder folder;
    const SettingsList list =
        LoadList(folder, ListKind::Tone,
                 "音色,名前,ボリューム,ベロシティ,オクターブ,バンク,代替音色\r\n"
                 "1,Piano,-,-,1,-,-\r\n"
                 "2,Bright");
    ListViewDialog dialog(list, ListKind::Tone);
    const QTableWidget* grid = Grid(dialog);
    QCOMPARE(grid->columnCount() + 1, 7);
    QCOMPARE(Headings(grid, Qt::Vertical), QStringList({"1", "2"}));
    QCOMPARE(RowTexts(grid, 0), QStringList({"Piano", "-", "-", "1", "-", "-"}));
    QCOMPARE(RowTexts(grid, 1), QStringList({"Bright", "", "", "", "", ""}));
  }

  void ColumnWidthsFollowTheLongestCellInBytes() {
    TempFolder folder;
    // Column 1's longest cell is its header, five double-byte characters: 10 bytes.
    const SettingsList list = LoadList(folder, ListKind::Volume,
                                       "ch,ボリューム,vel,pan,gate\r\n"
                                       "Master,100,-,-,-\r\n"
                                       "1,+10,80%,64,-\r\n");
    ListViewDialog dialog(list, ListKind::Volume);
    const QTableWidget* grid = Grid(dialog);
    const int char_width = AverageCharWidth(QFontMetrics(DialogFont()));
    QVERIFY(char_width > 0);
    // bytes x 16 x character width twips, 15 twips to the pixel.
    QCOMPARE(grid->columnWidth(0), qRound(10 * 16 * char_width / 15.0));
    QCOMPARE(grid->verticalHeader()->width(), qRound(6 * 16 * char_width / 15.0));  // "Master"
    // Three bytes would be narrower than a header section can be.
    const int least = grid->horizontalHeader()->minimumSectionSize();
    QVERIFY(qRound(3 * 16 * char_width / 15.0) < least);
    QCOMPARE(grid->columnWidth(1), least);
  }

  // A column is never narrower than its texts (twelve W are wider than twelve bytes make it);
  // the dialog opens as wide as its columns need, but no wider than the (800 pixel) screen.
  void DialogOpensWideEnoughForEveryColumnWithinTheScreen() {
    struct Case {
      std::string copyright;
      bool every_column_shows;
    };
    TempFolder folder;
    const QSize least = DialogRect(QFontMetrics(DialogFont()), 0, 0, 375, 275).size();
    const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
    for (const Case& row :
         {Case{"(C) 2003 花子 Music", true}, Case{std::string(120, 'c'), false}}) {
      const SettingsList list =
          LoadList(folder, ListKind::FileList,
                   "番号,入力ファイル名,出力ファイル名,タイトル,著作権情報\r\n"
                   "1,/home/hanako/midi/2003/かえるの歌.mid,kaeru.mid,WWWWWWWWWWWW," +
                       row.copyright + "\r\n");
      ListViewDialog dialog(list, ListKind::FileList);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      const QTableWidget* grid = Grid(dialog);
      QVERIFY(grid->columnWidth(2) > grid->fontMetrics().horizontalAdvance("WWWWWWWWWWWW"));
      QCOMPARE(dialog.minimumSize(), least);
      QVERIFY(dialog.width() > least.width());
      QCOMPARE(dialog.width() == screen, !row.every_column_shows);
      const int last = grid->columnCount() - 1;
      QCOMPARE(
          grid->columnViewportPosition(last) + grid->columnWidth(last) <= grid->viewport()->width(),
          row.every_column_shows);
    }
  }

  void UnreadableListOpensWithEmptyGrid() {
    RecordingSink sink;
    TempFolder folder;
    const SettingsList list = SettingsList::Load(sink.Reports(), folder / "v_missing.csv", 5);
    ListViewDialog dialog(list, ListKind::Volume);
    dialog.show();
    const QTableWidget* grid = Grid(dialog);
    QCOMPARE(grid->rowCount(), 0);
    QCOMPARE(grid->columnCount(), 4);
    QCOMPARE(Corner(grid), "");
  }

  void DescriptionFollowsTheKindWithOneLinePerSentence() {
    const SettingsList list;
    const auto lines = [&](ListKind kind) {
      ListViewDialog dialog(list, kind);
      return dialog.findChild<QLabel*>(QStringLiteral("1004"))->text().split('\n');
    };
    QCOMPARE(lines(ListKind::FileList).size(), 3);
    QCOMPARE(lines(ListKind::Volume).value(3), "(+のかわりに#を使用することができます。)");
    QCOMPARE(lines(ListKind::Tone).size(), 5);
    QCOMPARE(lines(ListKind::Edit),
             QStringList({"CSVファイルに記述されている編集に関する設定を表示しています。"}));
    QCOMPARE(ListDescription(ListKind::Order),
             Sjis("CSVファイルに記述されているメッセージの順序に関する設定を表示しています。"));
  }

  void HelpOpensOneWindowOnlyForAnExistingFile() {
    QWidget owner;
    ShowHelpFile(&owner, QStringLiteral("/nonexistent/help/top.htm"));
    QVERIFY(HelpWindows().isEmpty());

    const QString topic = QFINDTESTDATA("../../resources/help/top.htm");
    QVERIFY(!topic.isEmpty());
    ShowHelpFile(&owner, topic);
    ShowHelpFile(&owner, topic);
    QCOMPARE(HelpWindows().size(), 1);
    const QString text = HelpWindows().front()->findChild<QTextBrowser*>()->toPlainText();
    QVERIFY(text.contains("ボリュームリスト"));
    QVERIFY(text.contains("Volume list"));
  }

  void AboutBoxShowsVersionAndPurpose() {
    AboutBox box;
    QStringList texts;
    for (const QLabel* label : box.findChildren<QLabel*>()) texts << label->text();
    QCOMPARE(box.windowTitle(), "Quillmarのﾊﾞｰｼﾞｮﾝ情報");
    QVERIFY(texts.contains("Quillmar Version 4.0"));
    QVERIFY(texts.contains("Standard MIDI File converter"));
    QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("1"))->text(), "OK");
  }

  void DialogRectScalesByCharacterWidthAndHeightAndKeepsNeighboursAdjacent() {
    const QFontMetrics metrics(DialogFont());
    const int width = qRound(
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0);
    const QRect rect = DialogRect(metrics, 8, 16, 40, 80);
    QCOMPARE(rect, QRect(2 * width, 2 * metrics.height(), 10 * width, 10 * metrics.height()));
    QCOMPARE(DialogRect(metrics, 5, 5, 3, 3).right() + 1, DialogRect(metrics, 8, 5, 3, 3).left());
  }
};

}  // namespace
}  // namespace quillmar

QTEST_MAIN(quillmar::ListViewTest)
#include "list_view_test.moc"
