#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shell/workspace.h"

namespace quillmar {

// The name of the temporary file list written beside dropped MIDI files.
inline constexpr std::string_view kTempFileListName = "file_list_temp.csv";

// The Shift_JIS form of a native path that the person dropped, chose or named, made
// absolute. A path that Shift_JIS cannot name, or whose names hold a backslash, becomes a
// result line (with '?' for what does not fit) and is refused with a message box; nothing
// is given then.
[[nodiscard]] std::optional<std::string> TakeNativePath(Reporter& reporter,
                                                        std::string_view native_path);

// Takes a dropped (or command-line) path: a folder gives its *.csv files and then its *.mid
// files; a path that names nothing gives nothing; a file is taken by AddListOrMidiFile.
void AddDroppedPath(Reporter& reporter, Workspace& workspace, std::string_view path);

// Takes one file: a list file by the first letter of its name, a MIDI file into the
// temporary file list of its folder (or of the workspace's TempFileListFolder), anything else
// refused with a message box. Its path
// becomes a result line, and the current slot's output folders become its folder.
// The temporary file list is written and read back under a lock on its folder, so that
// another process writing one there at the same time never changes the list loaded here;
// it takes no more MIDI files once it holds as many rows or bytes as a list can.
void AddListOrMidiFile(Reporter& reporter, Workspace& workspace, std::string_view path);

}  // namespace quillmar
