#pragma once
// The save dialog of Receive/Data: a detailed list of the folder, wide enough for the name, size,
// type and date columns and never larger than the screen, with a name suggested.

#include <QString>

class QWidget;

namespace tamble {

// The chosen path, empty on cancel.
QString AskDataFileName(QWidget* parent, const QString& folder, const QString& suggested);

} // namespace tamble
