#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shell/workspace.h"

namespace quillmar {

// What a run is about to write that deserves a question before it starts. Paths are the
// Shift_JIS targets as the run composes them.
struct OutputConflicts {
  // The first output that is the same file as an input of the file list or a loaded list.
  std::optional<std::string> overwritten_input;
  // The first output that two writes of the run go to: two formats of a slot in one folder
  // ("Same as original" counting as both formats), two rows with one output name, two slots
  // with one folder and name.
  std::optional<std::string> written_twice;
};

// Looks at every output of every slot the run converts (slot 1, and every slot with a list
// switched on), every row and every checked format, the snapshots of its edit list's Save
// rows included. Paths are compared as files: made
// absolute, `.`, `..` and symbolic links resolved, and by device and inode where they exist.
[[nodiscard]] OutputConflicts FindOutputConflicts(const Workspace& workspace);

// True when the file (Shift_JIS) is one that the run reads (an input, the file list, a loaded
// list) or writes (an output, a timeline, a snapshot), compared as FindOutputConflicts does:
// a file saved there afterwards (the result list) would replace it.
[[nodiscard]] bool RunReadsOrWrites(const Workspace& workspace, std::string_view path);

}  // namespace quillmar
