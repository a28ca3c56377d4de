#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmar {

// File system access. Every path given to these functions is Shift_JIS as written in lists
// or composed by the system; `\` and `/` both separate. Conversion to the native form
// happens here and nowhere else. A path holding a NUL byte names no file: every function
// fails for it.

// Native (UTF-8, `/`-separated) form of a Shift_JIS path.
std::string NativePath(std::string_view sjis_path);

// A native path made absolute against the current folder (links are not resolved).
std::string AbsoluteNativePath(std::string_view native_path);

// True when standard error is a terminal (progress is shown only there).
bool StandardErrorIsTerminal();

// Shift_JIS form of a native path (from a drop, the command line, a folder scan or a dialog);
// nullopt when a character of it has no Shift_JIS form, and when it holds a backslash or a
// NUL byte: a native name may hold a backslash, but the Shift_JIS form would split it there.
[[nodiscard]] std::optional<std::string> SjisPath(std::string_view native_path);

// Reads up to `limit` bytes from the start of the file into `out`. False when the file
// cannot be opened or read, or is no regular file (a folder, a FIFO, a device).
[[nodiscard]] bool ReadFileBytes(std::string_view sjis_path, std::size_t limit, std::string& out);

// Writes `bytes` under a temporary name in the target's folder (kTemporaryPrefix) and renames
// it into place, so the target is either the complete new file or untouched. False on any
// failure, with errno telling why.
[[nodiscard]] bool WriteFileReplacing(std::string_view sjis_path, std::string_view bytes);

// Copies a file over `to` (created or replaced whole, as WriteFileReplacing does).
[[nodiscard]] bool CopyFileReplacing(std::string_view sjis_from, std::string_view sjis_to);

[[nodiscard]] bool MakeFolder(std::string_view sjis_path);
// Makes the folder and every missing folder above it; the reason when it cannot be made.
[[nodiscard]] std::optional<std::string> MakeFolderTree(std::string_view sjis_path);
bool IsFolder(std::string_view sjis_path);
bool IsFile(std::string_view sjis_path);

// Names (not paths) of the regular files in a folder whose names end with `extension`
// (such as ".mid", compared without regard to ASCII case), sorted by name. Names that have no
// Shift_JIS form are left out and listed in `unrepresentable` (native form) when given.
std::vector<std::string> ListFolder(std::string_view sjis_folder, std::string_view extension,
                                    std::vector<std::string>* unrepresentable = nullptr);

// The system's temporary folder ($TMPDIR, else /tmp) in Shift_JIS; empty when it has no
// Shift_JIS form.
std::string SystemTemporaryFolder();

// Makes a new private folder inside `sjis_parent` and gives its Shift_JIS path; nullopt when
// it cannot be made. The folder is removed with the other temporaries should the process be
// interrupted.
[[nodiscard]] std::optional<std::string> MakeTemporaryFolder(std::string_view sjis_parent);

// Removes a folder with everything in it; false when something could not be removed.
[[nodiscard]] bool RemoveFolderTree(std::string_view sjis_path);

// The process's current folder in Shift_JIS; nullopt when it cannot be obtained or has no
// Shift_JIS form.
[[nodiscard]] std::optional<std::string> CurrentFolder();

}  // namespace quillmar
