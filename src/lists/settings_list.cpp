#include "lists/settings_list.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "lists/list_error.h"
#include "lists/path_helpers.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "report/report.h"

namespace quillmar {
namespace {

struct KindInfo {
  char letter;
  int column_count;
};

// Indexed by ListKind.
constexpr std::array<KindInfo, 6> kKinds{{
    {'F', 5},  // number, input file, output file, title, copyright
    {'V', 5},  // channel or "Master", volume, velocity, pan, gate time
    {'T', 7},  // program, name, volume, velocity, octave, bank, substitute program
    {'D', 4},  // note, name, velocity, substitute note
    {'E', 4},  // command, target, channel, position
    {'O', 2},  // unused, event keyword
}};

// The length a cell keeps: at most `limit` bytes, one less when the limit would split a
// double-byte character.
std::size_t KeptLength(std::string_view cell, std::size_t limit) {
  if (cell.size() <= limit) return cell.size();
  return IsCharacterStart(cell, limit) ? limit : limit - 1;
}

// Turns each pair of backslashes into a comma. Double-byte characters are copied whole, so
// the 0x5C trail byte of "表" or "ソ" never pairs with a backslash.
std::string Unescape(std::string_view cell) {
  std::string text;
  text.reserve(cell.size());
  for (std::size_t i = 0; i < cell.size(); ++i) {
    const bool has_next = i + 1 < cell.size();
    if (has_next && IsSjisLeadByte(static_cast<unsigned char>(cell[i]))) {
      text.append(cell.substr(i, 2));
      ++i;
    } else if (has_next && cell[i] == '\\' && cell[i + 1] == '\\') {
      text.push_back(',');
      ++i;
    } else {
      text.push_back(cell[i]);
    }
  }
  return text;
}

// The Shift_JIS form of a cell of a UTF-8 list; a cell with a character Shift_JIS lacks is
// reported with the list's name and row (1 is the header) and read as empty.
std::string ShiftJisCell(std::string_view cell, std::string_view list_name, int row) {
  if (std::optional<std::string> sjis = Utf8ToSjis(cell)) return *std::move(sjis);
  ListError(kListDataError);
  ReportDetail(std::string(list_name) + Sjis(" の ") + std::to_string(row) + Sjis(" 行目: ") +
               Utf8ToSjisReplacing(cell));
  return {};
}

}  // namespace

std::size_t CellLimitOf(ListKind kind) {
  return kind == ListKind::FileList ? std::numeric_limits<std::size_t>::max() : kListCellByteLimit;
}

int ColumnCountOf(ListKind kind) {
  return kKinds[static_cast<std::size_t>(kind)].column_count;
}

std::optional<ListKind> ListKindOfFileName(std::string_view file_name) {
  if (file_name.empty()) return std::nullopt;
  char first = file_name.front();
  if (first >= 'a' && first <= 'z') first = static_cast<char>(first - ('a' - 'A'));
  for (std::size_t i = 0; i < kKinds.size(); ++i) {
    if (kKinds[i].letter == first) return static_cast<ListKind>(i);
  }
  return std::nullopt;
}

SettingsList SettingsList::Load(std::string_view path, int column_count, char separator,
                                std::size_t cell_limit) {
  SettingsList list;
  list.cell_limit_ = std::max<std::size_t>(cell_limit, 2);
  list.name_ = BaseName(path);
  // A name without a folder lies in the current folder.
  const bool has_folder = list.name_.size() != path.size();
  list.path_ = has_folder ? std::string(path) : JoinPath(DirectoryOf(path), path);
  list.column_count_ = std::clamp(column_count, 1, kListColumnLimit);
  list.column_widths_.assign(static_cast<std::size_t>(list.column_count_), 0);
  if (!ReadFileBytes(list.path_, kListFileByteLimit, list.data_)) {
    ListError(kListOpenFailed);
    return list;
  }
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  bool utf8 = list.data_.starts_with(kByteOrderMark);
  if (utf8) list.data_.erase(0, kByteOrderMark.size());
  utf8 = utf8 || IsUtf8Text(list.data_, list.data_.size() == kListFileByteLimit);
  list.ParseRows(separator, utf8);
  return list;
}

// Each row takes exactly column_count cells, wherever the line breaks fall: a cell ends at
// the separator, CR or LF, which is skipped, and one LF after a row's last cell is skipped
// too. So a line of more cells carries them into the next row, and cells missing where the
// data ends stay empty.
void SettingsList::ParseRows(char separator, bool utf8) {
  const std::string_view data = data_;
  const char terminators[] = {separator, '\r', '\n'};
  const std::string_view cell_ends(terminators, sizeof terminators);
  std::size_t pos = 0;
  while (pos < data.size()) {
    std::vector<std::string>& row = rows_.emplace_back(static_cast<std::size_t>(column_count_));
    for (int column = 0; column < column_count_ && pos < data.size(); ++column) {
      const std::size_t end = std::min(data.find_first_of(cell_ends, pos), data.size());
      if (end == data.size()) ListError(kListDataError);  // the data ends inside the cell
      std::string_view cell = data.substr(pos, end - pos);
      pos = end + 1;
      std::string converted;
      if (utf8) {
        converted = ShiftJisCell(cell, name_, RowCount());
        cell = converted;
      }
      const std::size_t kept = KeptLength(cell, cell_limit_);
      // Widths count the cell as stored, after the length cut and before unescaping.
      int& width = column_widths_[static_cast<std::size_t>(column)];
      width = std::max(width, static_cast<int>(kept));
      row[static_cast<std::size_t>(column)] = Unescape(cell.substr(0, kept));
    }
    if (pos < data.size() && data[pos] == '\n') ++pos;
    if (RowCount() == kListRowLimit) {
      ListError(kListTooManyRows);
      break;
    }
  }
}

bool SettingsList::Contains(int row, int column) const {
  return row >= 0 && row < RowCount() && column >= 0 && column < column_count_;
}

const std::string& SettingsList::Cell(int row, int column) const {
  static const std::string kEmpty;
  if (!Contains(row, column)) return kEmpty;
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void SettingsList::SetCell(int row, int column, std::string text) {
  if (!Contains(row, column)) return;
  text.resize(KeptLength(text, cell_limit_));
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
}

int SettingsList::ColumnWidth(int column) const {
  if (column < 0 || column >= column_count_) return 0;
  return column_widths_[static_cast<std::size_t>(column)];
}

}  // namespace quillmar
