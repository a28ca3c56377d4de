#include "gui/list_view_dialog.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableWidget>
#include <algorithm>
#include <array>

#include "gui/dialog_units.h"
#include "platform/encoding.h"

namespace quillmar {
namespace {

QString Unicode(const std::string& sjis) {
  return QString::fromStdString(SjisToUtf8(sjis));
}

// The pixels of a grid column: its longest cell in bytes x 16 x the average character
// width, in twips, at 15 twips per pixel (96 dots per inch).
int ColumnPixels(int bytes, int char_width) {
  return (bytes * 16 * char_width + 7) / 15;
}

// Draws the grid's top-left corner button as a heading that shows the button's text, the
// list's first cell; the table's own corner has no text.
class CornerHeading : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto* corner = static_cast<QAbstractButton*>(watched);
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = corner->text();
    QStylePainter painter(corner);
    painter.drawControl(QStyle::CE_Header, option);
    return true;
  }
};

// The grid: row 0 of the list as the horizontal heading, column 0 as the vertical heading,
// their common first cell in the corner, the other cells read-only below and beside them.
// A column is as wide as its longest cell in bytes makes it, and wider where its texts need
// more; never narrower than the header's least section.
QTableWidget* MakeGrid(const SettingsList& list, int char_width, QWidget* parent) {
  auto* grid = new QTableWidget(std::max(list.RowCount() - 1, 0),
                                std::max(list.ColumnCount() - 1, 0), parent);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->setTextElideMode(Qt::ElideNone);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
  for (int column = 1; column < list.ColumnCount(); ++column) {
    grid->setHorizontalHeaderItem(column - 1, new QTableWidgetItem(Unicode(list.Cell(0, column))));
  }
  for (int row = 1; row < list.RowCount(); ++row) {
    grid->setVerticalHeaderItem(row - 1, new QTableWidgetItem(Unicode(list.Cell(row, 0))));
    for (int column = 1; column < list.ColumnCount(); ++column) {
      grid->setItem(row - 1, column - 1, new QTableWidgetItem(Unicode(list.Cell(row, column))));
    }
  }
  const int least = grid->horizontalHeader()->minimumSectionSize();
  const auto width_of = [&](int column, int texts) {
    return std::max({ColumnPixels(list.ColumnWidth(column), char_width), texts, least});
  };
  grid->verticalHeader()->setFixedWidth(width_of(0, grid->verticalHeader()->sizeHint().width()));
  grid->resizeColumnsToContents();
  for (int column = 1; column < list.ColumnCount(); ++column) {
    grid->setColumnWidth(column - 1, width_of(column, grid->columnWidth(column - 1)));
  }
  if (auto* corner = grid->findChild<QAbstractButton*>()) {
    corner->setText(Unicode(list.Cell(0, 0)));
    corner->installEventFilter(new CornerHeading(grid));
  }
  return grid;
}

// The width that shows every column of the grid: the headings, the columns, the frame and a
// vertical scroll bar.
int WidthShowingEveryColumn(const QTableWidget& grid) {
  int width = grid.verticalHeader()->width() + 2 * grid.frameWidth() +
              grid.verticalScrollBar()->sizeHint().width();
  for (int column = 0; column < grid.columnCount(); ++column) width += grid.columnWidth(column);
  return width;
}

}  // namespace

ListViewDialog::ListViewDialog(const SettingsList& list, ListKind kind, QWidget* parent,
                               std::function<void(int row)> open_row)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("List View"));
  setFont(DialogFont());
  const QFontMetrics metrics = fontMetrics();

  auto* description = new QLabel(Unicode(ListDescription(kind)).replace(u'\r', u'\n'), this);
  description->setObjectName(QStringLiteral("1004"));
  description->setTextFormat(Qt::PlainText);
  description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  description->setWordWrap(true);
  description->setGeometry(DialogRect(metrics, 5, 5, 365, 60));

  QTableWidget* grid = MakeGrid(list, AverageCharWidth(metrics), this);
  grid->setObjectName(QStringLiteral("1003"));
  const QRect least_grid = DialogRect(metrics, 5, 75, 365, 165);
  grid->setGeometry(least_grid);
  if (open_row) {
    setWindowModality(Qt::WindowModal);
    connect(grid, &QTableWidget::cellDoubleClicked, this,
            [open_row = std::move(open_row)](int row, int) { open_row(row + 1); });
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  ok->setGeometry(DialogRect(metrics, 160, 250, 50, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  // The described layout is the least size; the dialog opens as wide as its columns need,
  // within the screen, and the grid takes whatever room it is given.
  growing_.Add(description, Follow::GrowWidth);
  growing_.Add(grid, Follow::Grow);
  growing_.Add(ok, Follow::MoveDown);
  const QSize least = DialogRect(metrics, 0, 0, 375, 275).size();
  setMinimumSize(least);
  const int wanted = least.width() + WidthShowingEveryColumn(*grid) - least_grid.width();
  resize(std::min(wanted, screen()->availableGeometry().width()), least.height());
}

void ListViewDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  growing_.Place(size() - minimumSize());
}

const std::string& ListDescription(ListKind kind) {
  // Indexed by ListKind.
  // clang-format off
  static const std::array<std::string, 6> kTexts = {
      // The file list.
      Sjis("CSVファイルに記述されている入力ファイル名、出力ファイル名、タイトル、著作権情報を表示しています。\r"
           "元々のファイルにタイトルや著作権情報が設定されていない場合は、下の文字列が挿入されます。\r"
           "元々のファイルにタイトルや著作権情報が設定されている場合は、下の文字列で上書きされます。"),
      // The volume list.
      Sjis("CSVファイルに記述されている各チャネルのボリュームやマスターボリュームの設定を表示しています。\r"
           "0～127までの数字だけを記述すると、その値がボリュームとして設定されます。\r"
           "+-を数値の前につけると、元々設定されていたボリュームにその値を加算、減算した値が新しいボリュームになります。\r"
           "(+のかわりに#を使用することができます。)\r"
           "0%～200%までで記述すると、元々設定されていたボリュームにその値を掛けた値が新しいボリュームになります。"),
      // The tone list.
      Sjis("CSVファイルに記述されている音色に関する設定を表示しています。\r"
           "ボリュームやベロシティは、その音色が使用されている場合に設定されるボリュームやベロシティを示しています。\r"
           "0～127までの数値のほか、-+で加算、減算したり、%で増減の割合を指定したりすることができます。\r"
           "オクターブを指定すると、その音色の音をオクターブ単位で上げたり、下げたりして出力ファイルを書き出すことができます。\r"
           "代替音を指定すると、その音色を別の音色に変えて、出力ファイルを書き出すことができます。"),
      // The drum list.
      Sjis("CSVファイルに記述されているドラムに関する設定を表示しています。\r"
           "ベロシティは、そのドラムが使用されている場合に設定されるベロシティを示しています。\r"
           "0～127までの数値のほか、-+で加算、減算したり、%で増減の割合を指定したりすることができます。\r"
           "代替音を指定すると、そのドラムを別のドラムに変えて、出力ファイルを書き出すことができます。"),
      // The edit list.
      Sjis("CSVファイルに記述されている編集に関する設定を表示しています。"),
      // The order list.
      Sjis("CSVファイルに記述されているメッセージの順序に関する設定を表示しています。"),
  };
  // clang-format on
  return kTexts[static_cast<std::size_t>(kind)];
}

}  // namespace quillmar
