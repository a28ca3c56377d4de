#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/report.h"

namespace quillmar {

// The six kinds of list file.
enum class ListKind { FileList, Volume, Tone, Drum, Edit, Order };

// Columns per row of a kind: 5, 5, 7, 4, 4 and 2.
int ColumnCountOf(ListKind kind);

// The longest cell a kind keeps: 127 bytes, but the file list's paths are never cut.
std::size_t CellLimitOf(ListKind kind);

// The first letter of a kind's file names, in lower case: f, v, t, d, e or o.
char FileLetterOf(ListKind kind);

// The kind that a file name (without its folder) selects by its first byte, its letter in
// either case; none for any other name.
std::optional<ListKind> ListKindOfFileName(std::string_view file_name);

// Limits of a list file. The byte bound lets a full table be read in any encoding: 1000 rows
// of 16 cells of 127 bytes take about 4 MB in UTF-16 and at most 6 MB in UTF-8, and 8 MiB
// also hold 1000 file-list rows of two 4096-byte paths (file-list cells are never cut).
inline constexpr std::size_t kListFileByteLimit = 8 * 1024 * 1024;  // a longer file is cut
inline constexpr int kListRowLimit = 1000;                          // rows kept, header included
inline constexpr int kListColumnLimit = 16;
inline constexpr std::size_t kListCellByteLimit = 127;  // longer cells keep their start

// One list file as a table of Shift_JIS text cells. Row 0 is the file's header line.
class SettingsList {
 public:
  // A table without a file and without rows.
  SettingsList() = default;

  // Reads the file and splits it into rows of `column_count` cells (kept within 1 to
  // kListColumnLimit). A file in UTF-8 (valid UTF-8 holding a multi-byte character, or
  // starting with a byte-order mark) or in UTF-16 (starting with a byte-order mark) has its
  // cells turned into Shift_JIS; a cell with a character that Shift_JIS lacks is reported with
  // the list's name and row, and left empty. Cells end at the separator, CR or LF; there is no
  // quoting, and two backslashes inside a cell stand for one comma. A path without a folder is
  // opened in the current folder. Problems are reported with ListError and the rows read so far
  // are kept: a file that cannot be opened gives a table without rows.
  // Cuts are reported with a detail naming the list and a row, counted from 1 for the header
  // (the line numbers of a list written one row a line): a cell longer than `cell_limit`
  // (see CellLimitOf) keeps its first bytes; rows after the 1000th are dropped; and a file
  // beyond kListFileByteLimit or with malformed UTF-16 is read up to the last whole row
  // before that point.
  static SettingsList Load(Reporter& reporter, std::string_view path, int column_count,
                           char separator = ',', std::size_t cell_limit = kListCellByteLimit);

  const std::string& Name() const { return name_; }  // the path without its folder
  const std::string& Path() const { return path_; }  // the path as opened
  int ColumnCount() const { return column_count_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }

  // The cell's text; an empty text outside the stored rows and columns.
  const std::string& Cell(int row, int column) const;
  // Replaces a stored cell's text (cut to the cell limit like a cell as read); cells
  // outside the stored rows and columns are left alone.
  void SetCell(int row, int column, std::string text);

  // The length in bytes of the column's longest cell as stored before unescaping, header
  // included; 0 outside the columns.
  int ColumnWidth(int column) const;

  // True when rows of the file were dropped: beyond the 1000th, or beyond a cut in its bytes.
  [[nodiscard]] bool Cut() const { return cut_; }

  // The file's bytes as read, without a byte-order mark; UTF-16 turned into UTF-8.
  const std::string& Data() const { return data_; }

 private:
  void ParseRows(Reporter& reporter, char separator, bool utf8, bool data_cut);
  // The cell as stored before unescaping: in Shift_JIS and within the cell limit.
  std::string StoredCell(Reporter& reporter, std::string_view cell, bool utf8, int row) const;
  void AddRow(std::vector<std::string> stored);
  bool Contains(int row, int column) const;

  std::string name_;
  std::string path_;
  int column_count_ = 0;
  std::size_t cell_limit_ = kListCellByteLimit;
  std::string data_;
  std::vector<std::vector<std::string>> rows_;
  std::vector<int> column_widths_;
  bool cut_ = false;
};

}  // namespace quillmar
