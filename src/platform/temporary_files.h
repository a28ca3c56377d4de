#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillmar {

// The files and folders that exist only while the process works with them: the temporary
// names under which files are written before they are renamed into place, and private work
// folders. They are known here so that an interrupted process can remove every one of them
// before it ends, whichever thread made them.

// The prefix of every temporary file name, so that a file left behind by a killed process is
// recognisable and never taken for an output (it starts with a dot and does not end in .mid).
inline constexpr std::string_view kTemporaryPrefix = ".quillmar-";

// Runs `make`, which creates the native path and tells whether it did, and remembers the
// path when it did: one step that RemoveTemporariesAndExit never cuts in two.
[[nodiscard]] bool MakeTemporary(const std::string& native_path, const std::function<bool()>& make);

// Runs `finish` (the rename or removal of a remembered path) and forgets the path: one step
// that RemoveTemporariesAndExit never cuts in two.
void FinishTemporary(const std::string& native_path, const std::function<void()>& finish);

// Removes every remembered file and folder and ends the process at once with `status`.
// Temporary files that other threads would make after this call are never made.
[[noreturn]] void RemoveTemporariesAndExit(int status);

}  // namespace quillmar
