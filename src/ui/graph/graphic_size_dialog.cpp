#include "ui/graph/graphic_size_dialog.h"

#include "ui/common/button_row.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tamble {

namespace {

QSpinBox* SideBox(QWidget* parent, const QString& name, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(name);
    box->setRange(kMinGraphicSide, kMaxGraphicSide);
    box->setSuffix(QStringLiteral(" px"));
    box->setValue(value);
    return box;
}

} // namespace

GraphicSizeDialog::GraphicSizeDialog(GraphicFormat format, int width, int height, QWidget* parent)
    : QDialog(parent), m_format(format)
{
    setObjectName(QStringLiteral("TGraphicSizeDlg"));
    setWindowTitle(QStringLiteral("Picture Size"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_width = SideBox(this, QStringLiteral("Width"), width);
    m_height = SideBox(this, QStringLiteral("Height"), height);
    form->addRow(QStringLiteral("&Width"), m_width);
    form->addRow(QStringLiteral("&Height"), m_height);
    layout->addLayout(form);
    m_twice = new QCheckBox(QStringLiteral("Twice the pixels, for high-density screens"), this);
    m_twice->setObjectName(QStringLiteral("Twice"));
    m_twice->setAccessibleName(QStringLiteral("Twice the pixels, for high-density screens"));
    m_twice->setVisible(format == GraphicFormat::Png);
    layout->addWidget(m_twice);

    auto* row = new QHBoxLayout;
    QPushButton* ok = NewButton(this, QStringLiteral("OK"), QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QPushButton* cancel = NewButton(this, QStringLiteral("Cancel"), QStringLiteral("CancelBtn"));
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

GraphicSize GraphicSizeDialog::size() const
{
    return ChooseGraphicSize(m_width->value(), m_height->value(), m_twice->isChecked(), m_format);
}

} // namespace tamble
