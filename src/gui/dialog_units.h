#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>

namespace quillmar {

// The 9-point font of the dialogs, one that shows Japanese ("Noto Sans CJK JP" when
// installed).
QFont DialogFont();

// The font's average character width in pixels: the width of the 52 letters A-Z and a-z
// divided by 52, rounded.
int AverageCharWidth(const QFontMetrics& metrics);

// Converts a rectangle in dialog units (4 per average character width and 8 per character
// height of the dialog's font) into pixels.
QRect DialogRect(const QFontMetrics& metrics, int x, int y, int width, int height);

}  // namespace quillmar
