#include "lists/settings_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <utility>

#include "lists/general_error.h"
#include "lists/list_error.h"
#include "lists/path_helpers.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "report/report.h"

namespace quillmar {
namespace {

struct KindInfo {
  char letter;  // lower case
  int column_count;
  std::size_t cell_limit;
};

// The file list's paths are never cut.
constexpr std::size_t kUncut = std::numeric_limits<std::size_t>::max();

// Indexed by ListKind.
constexpr std::array<KindInfo, 6> kKinds{{
    {'f', 5, kUncut},              // number, input file, output file, title, copyright
    {'v', 5, kListCellByteLimit},  // channel or "Master", volume, velocity, pan, gate time
    {'t', 7, kListCellByteLimit},  // program, name, volume, velocity, octave, bank, substitute
    {'d', 4, kListCellByteLimit},  // note, name, velocity, substitute note
    {'e', 4, kListCellByteLimit},  // command, target, channel, position
    {'o', 2, kListCellByteLimit},  // unused, event keyword
}};

const KindInfo& InfoOf(ListKind kind) {
  return kKinds[static_cast<std::size_t>(kind)];
}

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

// Reports a detail about a row of a list; rows are counted from 1, the header being row 1.
void ReportRow(Reporter& reporter, std::string_view list_name, int row, std::string_view text) {
  ReportDetail(reporter, std::string(list_name) + Sjis(" の ") + std::to_string(row) +
                             Sjis(" 行目: ") + std::string(text));
}

// Reports that the rows of a list from `first_row` on were not read.
void ReportRowsDropped(Reporter& reporter, std::string_view list_name, std::uint32_t list_error,
                       int first_row) {
  ListError(reporter, list_error);
  ReportRow(reporter, list_name, first_row, Sjis("ここから後は読み込んでいません"));
}

// The Shift_JIS form of a cell of a UTF-8 list; a cell with a character Shift_JIS lacks is
// reported with the list's name and row and read as empty.
std::string ShiftJisCell(Reporter& reporter, std::string_view cell, std::string_view list_name,
                         int row) {
  if (std::optional<std::string> sjis = Utf8ToSjis(cell)) return *std::move(sjis);
  ListError(reporter, kListDataError);
  ReportRow(reporter, list_name, row, Utf8ToSjisReplacing(cell));
  return {};
}

// A list file's text as its rows are read.
struct ListText {
  std::string bytes;  // without a byte-order mark; UTF-16 turned into UTF-8
  bool utf8 = false;
  bool cut = false;  // the file goes on after `bytes`
};

// The text of a list file's bytes; `cut` when the file goes on beyond them. Malformed UTF-16
// cuts the text at the fault.
ListText DecodeList(std::string bytes, bool cut) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
  constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
  const bool little = bytes.starts_with(kUtf16LittleMark);
  if (little || bytes.starts_with(kUtf16BigMark)) {
    Utf16Decoded text = Utf16ToUtf8(std::string_view(bytes).substr(kUtf16LittleMark.size()),
                                    little ? std::endian::little : std::endian::big);
    return {std::move(text.utf8), true, cut || !text.whole};
  }
  if (bytes.starts_with(kUtf8Mark)) return {bytes.substr(kUtf8Mark.size()), true, cut};
  const bool utf8 = IsUtf8Text(bytes, cut);
  return {std::move(bytes), utf8, cut};
}

}  // namespace

std::size_t CellLimitOf(ListKind kind) {
  return InfoOf(kind).cell_limit;
}

int ColumnCountOf(ListKind kind) {
  return InfoOf(kind).column_count;
}

char FileLetterOf(ListKind kind) {
  return InfoOf(kind).letter;
}

std::optional<ListKind> ListKindOfFileName(std::string_view file_name) {
  if (file_name.empty()) return std::nullopt;
  char first = file_name.front();
  if (first >= 'A' && first <= 'Z') first = static_cast<char>(first + ('a' - 'A'));
  for (std::size_t i = 0; i < kKinds.size(); ++i) {
    if (kKinds[i].letter == first) return static_cast<ListKind>(i);
  }
  return std::nullopt;
}

SettingsList SettingsList::Load(Reporter& reporter, std::string_view path, int column_count,
                                char separator, std::size_t cell_limit) {
  SettingsList list;
  list.cell_limit_ = std::max<std::size_t>(cell_limit, 2);
  list.name_ = BaseName(path);
  // A name without a folder lies in the current folder.
  const bool has_folder = list.name_.size() != path.size();
  const std::string folder = has_folder ? std::string() : DirectoryOf(path);
  if (!has_folder && folder.empty()) ReportGeneralError(reporter, kGeneralInternalError);
  list.path_ = has_folder ? std::string(path) : JoinPath(folder, path);
  list.column_count_ = std::clamp(column_count, 1, kListColumnLimit);
  list.column_widths_.assign(static_cast<std::size_t>(list.column_count_), 0);
  // One byte more than the bound tells whether the file goes on beyond it.
  std::string bytes;
  if (!ReadFileBytes(list.path_, kListFileByteLimit + 1, bytes)) {
    ListError(reporter, kListOpenFailed);
    return list;
  }
  const bool beyond = bytes.size() > kListFileByteLimit;
  bytes.resize(std::min(bytes.size(), kListFileByteLimit));
  ListText text = DecodeList(std::move(bytes), beyond);
  list.data_ = std::move(text.bytes);
  list.ParseRows(reporter, separator, text.utf8, text.cut);
  return list;
}

// Each row takes exactly column_count cells, wherever the line breaks fall: a cell ends at
// the separator, CR or LF, which is skipped, and one LF after a row's last cell is skipped
// too. So a line of more cells carries them into the next row, and cells missing where the
// data ends stay empty; but when the data is cut off (`data_cut`), the row it cuts short is
// dropped.
void SettingsList::ParseRows(Reporter& reporter, char separator, bool utf8, bool data_cut) {
  const std::string_view data = data_;
  const char terminators[] = {separator, '\r', '\n'};
  const std::string_view cell_ends(terminators, sizeof terminators);
  std::size_t pos = 0;
  while (pos < data.size()) {
    std::vector<std::string> stored;
    bool ended = true;  // the last cell read was ended by its terminator
    while (std::cmp_less(stored.size(), column_count_) && pos < data.size()) {
      const std::size_t end = std::min(data.find_first_of(cell_ends, pos), data.size());
      ended = end < data.size();
      if (!ended && data_cut) break;
      if (!ended) ListError(reporter, kListDataError);  // the data ends inside the cell
      stored.push_back(StoredCell(reporter, data.substr(pos, end - pos), utf8, RowCount() + 1));
      pos = end + 1;
    }
    const bool whole = ended && std::cmp_equal(stored.size(), column_count_);
    if (data_cut && !whole) break;
    if (pos < data.size() && data[pos] == '\n') ++pos;
    AddRow(std::move(stored));
    if (RowCount() == kListRowLimit) {
      // The message is given at 1000 rows as described; the detail only when rows are lost.
      cut_ = pos < data.size() || data_cut;
      if (cut_) {
        ReportRowsDropped(reporter, name_, kListTooManyRows, kListRowLimit + 1);
      } else {
        ListError(reporter, kListTooManyRows);
      }
      return;
    }
  }
  if (data_cut) {
    cut_ = true;
    ReportRowsDropped(reporter, name_, kListDataError, RowCount() + 1);
  }
}

std::string SettingsList::StoredCell(Reporter& reporter, std::string_view cell, bool utf8,
                                     int row) const {
  std::string stored = utf8 ? ShiftJisCell(reporter, cell, name_, row) : std::string(cell);
  const std::size_t kept = KeptLength(stored, cell_limit_);
  if (kept < stored.size()) {
    stored.resize(kept);
    ListError(reporter, kListDataError);
    ReportRow(reporter, name_, row, Sjis("長すぎるセル「") + stored + Sjis("」"));
  }
  return stored;
}

void SettingsList::AddRow(std::vector<std::string> stored) {
  std::vector<std::string>& row = rows_.emplace_back(static_cast<std::size_t>(column_count_));
  for (std::size_t column = 0; column < stored.size(); ++column) {
    // Widths count the cell as stored, after the length cut and before unescaping.
    int& width = column_widths_[column];
    width = std::max(width, static_cast<int>(stored[column].size()));
    row[column] = Unescape(stored[column]);
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
