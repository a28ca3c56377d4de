#pragma once

#include <QString>
#include <QWidget>

namespace quillmar {

// The help document's topic top.htm, in the "help" folder beside the program or, once
// installed, in share/quillmar/help.
QString HelpTopicPath();

// Opens the help window on top.htm; a missing help file does nothing.
void ShowHelp(QWidget* parent);

// Opens the help window on an HTML file, or raises the one `parent` already has; a missing
// file does nothing.
void ShowHelpFile(QWidget* parent, const QString& path);

}  // namespace quillmar
