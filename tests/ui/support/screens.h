#pragma once
// Writes a window's picture under build/screens/ for review (QWidget::grab).

#include <QDir>
#include <QString>
#include <QWidget>

namespace tamble::test {

inline QString SaveScreen(QWidget& widget, const QString& name)
{
    QDir().mkpath(QStringLiteral(TAMBLE_SCREENS_DIR));
    const QString path = QStringLiteral(TAMBLE_SCREENS_DIR) + QLatin1Char('/') + name + QStringLiteral(".png");
    widget.grab().save(path);
    return path;
}

} // namespace tamble::test
