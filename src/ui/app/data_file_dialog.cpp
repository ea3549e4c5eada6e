#include "ui/app/data_file_dialog.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>
#include <algorithm>

namespace tamble {

QString AskDataFileName(QWidget* parent, const QString& folder, const QString& suggested)
{
    QFileDialog dialog(parent, QStringLiteral("Receive data"), folder, QStringLiteral("Tamble Logger Data (*.TL1)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("TL1"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setViewMode(QFileDialog::Detail);
    const QScreen* screen = parent && parent->screen() ? parent->screen() : nullptr;
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    dialog.resize(std::min(860, area.width() - 40), std::min(520, area.height() - 60));
    if (auto* files = dialog.findChild<QTreeView*>()) {
        files->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    dialog.selectFile(suggested);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace tamble
