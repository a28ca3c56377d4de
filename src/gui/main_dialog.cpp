#include "gui/main_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextLayout>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <functional>

#include "gui/about_box.h"
#include "gui/dialog_units.h"
#include "gui/help_window.h"
#include "gui/list_view_dialog.h"
#include "gui/preview_window.h"
#include "lists/general_error.h"
#include "lists/path_helpers.h"
#include "platform/encoding.h"
#include "report/report.h"
#include "shell/file_list_building.h"

namespace quillmar {
namespace {

// A control's rectangle in dialog units.
struct Place {
  int x, y, width, height;
};

constexpr Place kDialogSize = {0, 0, 438, 359};
constexpr Place kTabArea = {5, 55, 205, 145};

// The row of each list: its list button and its view button at a height on the dialog; a
// slot list also has its switch there, at a height of its own.
struct ListRow {
  ListKind kind;
  int list_id;
  int view_id;
  int y;
  int switch_id;  // 0 for the file list, which is always on
  int switch_y;
  const char* switch_caption;
};
// Top to bottom: the file list, then the slot lists.
constexpr std::array<ListRow, 1 + kSlotListCount> kListRows = {
    {{ListKind::FileList, 1000, 1001, 30, 0, 0, nullptr},
     {ListKind::Volume, 1002, 1003, 75, 1030, 75, "Volume Setting"},
     {ListKind::Tone, 1004, 1005, 100, 1031, 101, "Tone Setting"},
     {ListKind::Drum, 1007, 1008, 125, 1032, 125, "Drum Setting"},
     {ListKind::Edit, 1009, 1010, 150, 1033, 151, "Edit Setting"},
     {ListKind::Order, 1011, 1012, 175, 1034, 175, "Order Setting"}}};

struct FormatBox {
  int id;
  int y;
  const char* caption;
  OutputFormat format;
};
constexpr std::array<FormatBox, kOutputFormats.size()> kFormatBoxes = {
    {{1035, 205, "Same as original", OutputFormat::SameAsOriginal},
     {1036, 230, "Format 0", OutputFormat::Format0},
     {1037, 250, "Format 1", OutputFormat::Format1}}};

// The handset models: shown, never enabled, never read.
struct Handset {
  int id;
  Place place;
  const char* caption;
};
constexpr std::array<Handset, 4> kHandsets = {{{1038, {95, 280, 55, 15}, "N503i"},
                                               {1039, {95, 295, 50, 15}, "P503i"},
                                               {1040, {150, 280, 55, 15}, "N504i"},
                                               {1041, {150, 295, 60, 15}, "P504i"}}};

struct Tip {
  int id;
  const char* text;
};
constexpr const char* kContentTip = "ＣＳＶファイルの内容を表示することができます。";
constexpr std::array<Tip, 9> kTips = {
    {{1000,
      "変換するファイルのリストが書かれたＣＳＶファイルの名前です。ボタンをクリックすると、"
      "使用するＣＳＶファイルを変更することができます。"},
     {1001, kContentTip},
     {1003, kContentTip},
     {1005, kContentTip},
     {1008, kContentTip},
     {1002,
      "ボリュームに関する設定が記述されているＣＳＶファイルの名前です。ボタンをクリックすると、"
      "使用するＣＳＶファイルを変更することができます。"},
     {1004,
      "音色に関する設定が記述されているＣＳＶファイルの名前です。ボタンをクリックすると、"
      "使用するＣＳＶファイルを変更することができます。"},
     {1007,
      "ドラムに関する設定が記述されているＣＳＶファイルの名前です。ボタンをクリックすると、"
      "使用するＣＳＶファイルを変更することができます。"},
     {1016, "設定にしたがって処理を開始します。"}}};
constexpr const char* kDialogTip =
    "ボタンの上にマウスを置くと、ヘルプが表示されます。\n"
    "ドラッグ＆ドロップでファイルを設定できます。";

constexpr int kResultExtent = 600;    // pixels, or the list's width when it is wider
constexpr int kTipWidth = 300;        // pixels; longer tips wrap
constexpr int kTipDuration = 30'000;  // milliseconds

// Creates the dialog's controls at their places in dialog units, named by their identifiers.
class ControlMaker {
 public:
  explicit ControlMaker(QDialog* dialog) : dialog_(dialog), metrics_(dialog->font()) {}

  QRect Rect(Place place) const {
    return DialogRect(metrics_, place.x, place.y, place.width, place.height);
  }

  template <typename Widget, typename... Arguments>
  Widget* Make(int id, Place place, Arguments&&... arguments) const {
    auto* widget = new Widget(std::forward<Arguments>(arguments)..., dialog_);
    widget->setObjectName(QString::number(id));
    widget->setGeometry(Rect(place));
    return widget;
  }

  // A static text, centred at the top of its rectangle, wrapped.
  QLabel* Static(int id, Place place, const QString& text) const {
    auto* label = Make<QLabel>(id, place, text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
  }

 private:
  QDialog* dialog_;
  QFontMetrics metrics_;
};

QString TitleText() {
  return QString::fromUtf8("Quillmar Version " QUILLMAR_VERSION
                           "  ―  Standard MIDI File 一括変換ツール");
}

// The text broken into lines of at most kTipWidth pixels in the tooltip font.
QString WrappedTip(const char* utf8_text) {
  QStringList lines;
  const QFont font = QToolTip::font();
  for (const QString& paragraph : QString::fromUtf8(utf8_text).split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(kTipWidth);
      lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
  }
  return lines.join(QLatin1Char('\n'));
}

void SetTip(QWidget* widget, const char* utf8_text) {
  widget->setToolTip(WrappedTip(utf8_text));
  widget->setToolTipDuration(kTipDuration);
}

// A switch that is on stands out from the grey ones that are off, in bold white on blue; its
// caption stays.
void ShowSwitchState(QPushButton* button, bool on) {
  QFont font;  // what is not set here is the dialog's
  QPalette colours;
  if (on) {
    font.setBold(true);
    colours.setColor(QPalette::Button, QColor(40, 90, 200));
    colours.setColor(QPalette::ButtonText, Qt::white);
  }
  button->setFont(font);
  button->setPalette(colours);
}

ListKind KindOf(int list) {
  return kListRows[static_cast<std::size_t>(list)].kind;
}

QString NameOf(const std::optional<SettingsList>& list) {
  return list ? QString::fromStdString(SjisToUtf8(list->Name())) : QString();
}

PreviewCells CellsOfRow(const SettingsList& file_list, int row) {
  return {file_list.Cell(row, kTitleColumn), file_list.Cell(row, kCopyrightColumn)};
}

// The title and copyright of the first file-list row with the input, as a run applies them.
std::optional<PreviewCells> CellsOfInput(const std::optional<SettingsList>& file_list,
                                         std::string_view input) {
  if (!file_list) return std::nullopt;
  for (int row = 1; row < file_list->RowCount(); ++row) {
    if (file_list->Cell(row, kInputColumn) == input) return CellsOfRow(*file_list, row);
  }
  return std::nullopt;
}

}  // namespace

QPalette DialogColours() {
  QPalette colours = QApplication::palette();
  colours.setColor(QPalette::Window, QColor(200, 200, 250));
  colours.setColor(QPalette::WindowText, Qt::black);
  return colours;
}

MainDialog::MainDialog(Workspace& workspace, Prompter& prompter, const QStringList& paths,
                       QWidget* parent)
    : QDialog(parent),
      workspace_(workspace),
      prompter_(prompter),
      user_interface_(results_, prompter),
      run_(workspace, user_interface_, user_interface_.Reports()) {
  setWindowTitle(QStringLiteral("Quillmar"));
  setFont(DialogFont());
  setPalette(DialogColours());
  setAcceptDrops(true);

  auto* about = new QAction(QString::fromUtf8("Quillmar のﾊﾞｰｼﾞｮﾝ情報(&A)..."), this);
  connect(about, &QAction::triggered, this, [this] { AboutBox(this).exec(); });
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  CreateControls();
  // The described layout is the least size; a larger window gives the room to the result list.
  setMinimumSize(ControlMaker(this).Rect(kDialogSize).size());
  resize(minimumSize());
  SetToolTips();
  // An empty start folder is a working folder that could not be read at start.
  if (workspace_.StartFolder().empty()) {
    ReportGeneralError(user_interface_.Reports(), kGeneralInternalError);
  }
  DropPaths(paths);
}

MainDialog::~MainDialog() {
  for (const QPointer<PreviewWindow>& preview : previews_) delete preview.data();
  StopRunAndWait();
}

void MainDialog::CreateControls() {
  const ControlMaker make(this);
  make.Static(1027, {5, 5, 425, 20}, TitleText());
  make.Static(1044, {5, 30, 60, 20}, QStringLiteral("File Setting"));

  // The tabs above a pane on which the switches and list buttons of every slot lie.
  const QRect tab_area = make.Rect(kTabArea);
  auto* pane = new QFrame(this);
  pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  tabs_ = make.Make<QTabBar>(1043, kTabArea);
  tabs_->setDrawBase(false);
  // Narrow tabs, so that all six fit above the pane.
  tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    tabs_->addTab(QStringLiteral("output %1").arg(slot));
  }
  tabs_->setGeometry(tab_area.x(), tab_area.y(), tab_area.width(), tabs_->sizeHint().height());
  pane->setGeometry(tab_area.adjusted(0, tabs_->height() - 1, 0, 0));
  connect(tabs_, &QTabBar::currentChanged, this, &MainDialog::SelectTab);

  CreateListRows();
  CreateFormatBoxes();

  auto* result_list = make.Make<QListWidget>(1023, {215, 30, 215, 230});
  result_list_ = result_list;
  result_list->setSelectionMode(QAbstractItemView::NoSelection);
  result_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  result_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  result_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  result_list->setTextElideMode(Qt::ElideNone);
  ShowResultExtent();
  connect(
      result_list, &QListWidget::itemDoubleClicked, this,
      [this, result_list](QListWidgetItem* item) { PreviewResultLine(result_list->row(item)); });
  auto* save = make.Make<QPushButton>(1042, {230, 270, 185, 30}, QStringLiteral("Save Result"));
  connect(save, &QPushButton::clicked, this, &MainDialog::SaveResult);

  auto* execute = make.Make<QPushButton>(1016, {5, 320, 90, 25}, QStringLiteral("Execute"));
  connect(execute, &QPushButton::clicked, this, &MainDialog::Execute);
  auto* status = make.Static(1021, {100, 320, 75, 25}, QStringLiteral("---"));
  auto* ok = make.Make<QPushButton>(1, {295, 325, 60, 20}, QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* help = make.Make<QPushButton>(57670, {360, 325, 60, 20}, QString::fromUtf8("ﾍﾙﾌﾟ(&H)"));
  connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this); });
  growing_.Add(result_list, Follow::Grow);
  growing_.Add(save, Follow::MoveDown);  // centred under the result list
  growing_.Add(ok, Follow::MoveDownRight);
  growing_.Add(help, Follow::MoveDownRight);

  user_interface_.Publish(result_list, status, this);
}

void MainDialog::ShowResultExtent() {
  // Lines lie in cells of one height, as wide as the horizontal extent.
  const int inside = result_list_->width() - 2 * result_list_->frameWidth() -
                     result_list_->verticalScrollBar()->sizeHint().width();
  result_list_->setGridSize(
      QSize(std::max(kResultExtent, inside), result_list_->fontMetrics().height() + 2));
}

void MainDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  growing_.Place(size() - minimumSize());
  ShowResultExtent();
}

void MainDialog::CreateListRows() {
  const ControlMaker make(this);
  for (const ListRow& row : kListRows) {
    const std::optional<int> index = SlotListIndex(row.kind);
    if (!index) continue;
    QPushButton* button = make.Make<QPushButton>(row.switch_id, {10, row.switch_y, 55, 20},
                                                 QString::fromUtf8(row.switch_caption));
    button->setCheckable(true);
    connect(button, &QPushButton::toggled, this,
            [this, index = *index](bool on) { ToggleSwitch(index, on); });
    switches_[static_cast<std::size_t>(*index)] = button;
  }
  for (int list = 0; list < kListCount; ++list) {
    const ListRow& row = kListRows[static_cast<std::size_t>(list)];
    const auto at = static_cast<std::size_t>(list);
    list_buttons_[at] = make.Make<QPushButton>(row.list_id, {70, row.y, 90, 20}, QString());
    view_buttons_[at] = make.Make<QPushButton>(
        row.view_id, {160, row.y, 45, 20},
        row.kind == ListKind::FileList ? QStringLiteral("Content") : QString::fromUtf8("確認"));
    connect(list_buttons_[at], &QPushButton::clicked, this, [this, list] { ChooseList(list); });
    connect(view_buttons_[at], &QPushButton::clicked, this, [this, list] { ViewList(list); });
  }
}

void MainDialog::CreateFormatBoxes() {
  const ControlMaker make(this);
  make.Static(1045, {5, 205, 85, 60}, QStringLiteral("Midi Format"));
  for (std::size_t index = 0; index < kFormatBoxes.size(); ++index) {
    const FormatBox& format = kFormatBoxes[index];
    auto* box =
        make.Make<QCheckBox>(format.id, {95, format.y, 110, 15}, QString::fromUtf8(format.caption));
    box->setChecked(workspace_.Formats().Checked(format.format));
    connect(box, &QCheckBox::toggled, this,
            [this, which = format.format](bool on) { workspace_.Formats().Checked(which) = on; });
    format_boxes_[index] = box;
  }
  make.Static(1046, {5, 275, 85, 35}, QStringLiteral("Quillmar file format"));
  for (const Handset& handset : kHandsets) {
    make.Make<QCheckBox>(handset.id, handset.place, QString::fromUtf8(handset.caption))
        ->setEnabled(false);
  }
}

void MainDialog::SetToolTips() {
  SetTip(this, kDialogTip);
  for (const Tip& tip : kTips) SetTip(findChild<QWidget*>(QString::number(tip.id)), tip.text);
}

std::optional<SettingsList>& MainDialog::ListAt(int list) {
  const std::optional<int> index = SlotListIndex(KindOf(list));
  return index ? workspace_.Current().lists[static_cast<std::size_t>(*index)]
               : workspace_.FileList();
}

void MainDialog::ChooseList(int list) {
  const QString filter =
      QStringLiteral("CSV files (%1*.csv)").arg(QLatin1Char(FileLetterOf(KindOf(list))));
  const std::optional<QString> chosen = prompter_.OpenFile(this, filter);
  if (!chosen) return;
  const std::optional<std::string> path = user_interface_.TakePath(*chosen);
  if (!path) return;
  workspace_.LoadList(user_interface_.Reports(), KindOf(list), *path);
  RefreshListControls();
}

void MainDialog::ViewList(int list) {
  const std::optional<SettingsList>& shown = ListAt(list);
  if (!shown) return;
  std::function<void(int)> open_row;
  if (KindOf(list) == ListKind::FileList) open_row = [this](int row) { PreviewFileListRow(row); };
  ListViewDialog(*shown, KindOf(list), this, std::move(open_row)).exec();
}

void MainDialog::ToggleSwitch(int index, bool on) {
  workspace_.SetSwitch(index, on);
  RefreshListControls();
}

void MainDialog::SelectTab(int index) {
  workspace_.SelectSlot(index);
  RefreshListControls();
}

void MainDialog::RefreshListControls() {
  // The slot's flags follow its switches at once, so that a preview lists the slots that a
  // run would convert.
  workspace_.SaveSwitches();
  for (int list = 0; list < kListCount; ++list) {
    const auto at = static_cast<std::size_t>(list);
    list_buttons_[at]->setText(NameOf(ListAt(list)));
    const std::optional<int> index = SlotListIndex(KindOf(list));
    if (!index) continue;  // the file list is always on
    const bool on = workspace_.Switch(*index);
    QPushButton* switch_button = switches_[static_cast<std::size_t>(*index)];
    {
      const QSignalBlocker quiet(switch_button);
      switch_button->setChecked(on);
    }
    ShowSwitchState(switch_button, on);
    list_buttons_[at]->setVisible(on);
    view_buttons_[at]->setVisible(on);
  }
}

void MainDialog::DropPaths(const QStringList& paths) {
  if (run_in_progress_) return;
  for (const QString& native_path : paths) {
    if (const auto path = user_interface_.TakePath(native_path))
      AddDroppedPath(user_interface_.Reports(), workspace_, *path);
  }
  RefreshListControls();
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (!run_in_progress_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  event->acceptProposedAction();
  DropPaths(paths);
}

void MainDialog::Execute() {
  if (run_in_progress_) {
    run_.RequestStop();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const RunControl::ExecuteResult result = run_.Execute();
  QApplication::restoreOverrideCursor();
  if (result != RunControl::ExecuteResult::Started) return;
  run_in_progress_ = true;
  EnableRunSensitiveControls(false);
  run_watcher_ = std::thread([this] {
    run_.Wait();
    QMetaObject::invokeMethod(this, &MainDialog::EndRun, Qt::QueuedConnection);
  });
}

void MainDialog::EndRun() {
  run_watcher_.join();
  run_in_progress_ = false;
  EnableRunSensitiveControls(true);
}

void MainDialog::EnableRunSensitiveControls(bool enabled) {
  tabs_->setEnabled(enabled);
  for (QPushButton* button : list_buttons_) button->setEnabled(enabled);
  for (QPushButton* button : view_buttons_) button->setEnabled(enabled);
  for (QPushButton* button : switches_) button->setEnabled(enabled);
  for (QCheckBox* box : format_boxes_) box->setEnabled(enabled);
}

void MainDialog::StopRunAndWait() {
  if (!run_in_progress_) return;
  run_.RequestStop();
  // The worker still reports and shows its completion message through this thread.
  while (run_in_progress_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void MainDialog::done(int result) {
  if (closing_) return;  // a second close while the first waits for the run
  closing_ = true;
  StopRunAndWait();
  closing_ = false;
  QDialog::done(result);
}

void MainDialog::PreviewFile(const QString& native_path) {
  if (const auto path = user_interface_.TakePath(native_path)) {
    ShowPreview(*path, CellsOfInput(workspace_.FileList(), *path));
  }
}

void MainDialog::PreviewFileListRow(int row) {
  const SettingsList& file_list = *workspace_.FileList();
  ShowPreview(file_list.Cell(row, kInputColumn), CellsOfRow(file_list, row));
}

void MainDialog::PreviewResultLine(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= results_.Count()) return;
  const std::string line = results_.Line(static_cast<std::size_t>(index));
  // A file's line stands unindented, as the run's file list names it; the lines of list
  // files taken name no song.
  if (line.empty() || line.starts_with(kReportIndent) || ExtensionOf(line) == "csv") return;
  ShowPreview(line, CellsOfInput(workspace_.FileList(), line));
}

void MainDialog::ShowPreview(std::string sjis_path, std::optional<PreviewCells> cells) {
  // Without a parent, so that it takes input while the modal file-list view is open.
  auto* preview = new PreviewWindow(workspace_, std::move(sjis_path), std::move(cells));
  preview->setAttribute(Qt::WA_DeleteOnClose);
  std::erase_if(previews_, [](const QPointer<PreviewWindow>& open) { return open.isNull(); });
  previews_.emplace_back(preview);
  preview->show();
  preview->raise();
  preview->activateWindow();
}

void MainDialog::SaveResult() {
  const std::optional<QString> chosen =
      prompter_.SaveFile(this, QStringLiteral("TEXT files (v*.txt)"), QStringLiteral("txt"));
  if (!chosen) return;
  const auto path = user_interface_.TakePath(*chosen);
  // A file that cannot be written is reported in the result list; nothing else is to be done.
  if (path) static_cast<void>(SaveResultList(user_interface_.Reports(), results_, *path));
}

}  // namespace quillmar
