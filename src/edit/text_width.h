#pragma once

#include <string>

namespace quillmar {

// Folds full-width digits and Latin letters (Shift_JIS 82 4F-82 58, 82 60-82 79, 82 81-82 9A) to
// their ASCII forms, in place.
void FoldAlphanumericToHalfWidth(std::string& text);

// Folds full-width katakana to half-width katakana (JIS X 0201), in place: the one-byte table, then
// the voiced letters to a base letter and the voiced mark.
void FoldKatakanaToHalfWidth(std::string& text);

}  // namespace quillmar
