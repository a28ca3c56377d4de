#pragma once

#include <QString>
#include <QWidget>

namespace quillmar {

// The help document's topic top.htm, shipped in the "help" folder beside the program.
QString HelpTopicPath();

// Opens the help window on top.htm; a missing help file does nothing.
void ShowHelp(QWidget* parent);

}  // namespace quillmar
