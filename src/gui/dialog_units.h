#pragma once

#include <QFontMetrics>
#include <QRect>

namespace quillmar {

// Converts a rectangle in dialog units (4 per average character width and 8 per character
// height of the dialog's font) into pixels.
QRect DialogRect(const QFontMetrics& metrics, int x, int y, int width, int height);

}  // namespace quillmar
