#pragma once

#include <string>
#include <string_view>

namespace quillmar {

// Path texts are Shift_JIS; `\` and `/` both separate, and the trail byte of a double-byte
// character (0x5C in "表") is never taken for a separator.

// The text after the last separator; the whole text when there is none.
std::string BaseName(std::string_view path);

// The text before the last separator. A path in the root gives the root ("/x" gives "/";
// "C:\x" gives "C:"). Without a separator: the process's current folder, or an empty text
// when it cannot be had.
std::string DirectoryOf(std::string_view path);

// The text after the last '.' (the whole text without one), ASCII capitals made small.
std::string ExtensionOf(std::string_view path);

// True when the text names one file or folder inside a folder, in its Shift_JIS bytes and in
// its native form alike: not empty, ".", "..", and holding no separator, NUL, CR or LF. (A
// byte that is no Shift_JIS character may turn into a separator when the name is converted.)
bool IsPlainName(std::string_view name);

// The folder and the name joined by one `/`, or by none when the folder already ends in a
// separator or is empty.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace quillmar
