#pragma once

#include <string_view>

#include "shell/workspace.h"

namespace quillmar {

// The name of the temporary file list written beside dropped MIDI files.
inline constexpr std::string_view kTempFileListName = "file_list_temp.csv";

// Takes a dropped (or command-line) path: a folder gives its *.csv files and then its *.mid
// files; a path that names nothing gives nothing; a file is taken by AddListOrMidiFile.
void AddDroppedPath(Workspace& workspace, std::string_view path);

// Takes one file: a list file by the first letter of its name, a MIDI file into the
// temporary file list of its folder, anything else refused with a message box. Its path
// becomes a result line, and the current slot's output folders become its folder.
void AddListOrMidiFile(Workspace& workspace, std::string_view path);

}  // namespace quillmar
