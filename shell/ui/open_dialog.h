#pragma once
// The file chooser for opening pictures. File types come as "description|patterns|..." pairs
// (patterns separated by ";"); the first pair is selected. The chooser starts in the current
// folder. The result is the chosen path, or empty when the user cancels.
#include <QString>

class QWidget;

namespace orv {

QString RunOpenDialog(QWidget* parent, const QString& title, const QString& filterPairs,
                      const QString& initialFile = QString());

} // namespace orv
