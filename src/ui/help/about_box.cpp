#include "ui/help/about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef TAMBLE_VERSION
#define TAMBLE_VERSION "unknown"
#endif

namespace tamble {

namespace {

QLabel* makeLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("About Tamble Logger"));

    QLabel* name = makeLabel(QStringLiteral("Tamble Logger"), QStringLiteral("ProductName"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    QLabel* version = makeLabel(versionText(), QStringLiteral("Version"), this);
    QLabel* comments = makeLabel(
        QStringLiteral("Sets up Tamble Logger data loggers, reads their status and recorded readings "
                       "by cable, modem or network, and shows the readings as graphs "
                       "and exports."),
        QStringLiteral("Comments"), this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(comments);
    layout->addSpacing(8);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setMinimumWidth(360);
}

QString AboutBox::versionText()
{
    return QStringLiteral("Version ") + QStringLiteral(TAMBLE_VERSION);
}

} // namespace tamble
