#include "ui/graph/export_dialog.h"

#include "ui/datafiles/ascii_export_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tamble {

ExportDialog::ExportDialog(const ExportRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : QDialog(parent), m_help(help)
{
    setObjectName(QStringLiteral("TExpDialog"));
    setWindowTitle(QStringLiteral("Export"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("File Type"));
    box->setObjectName(QStringLiteral("FileType"));
    auto* v = new QVBoxLayout(box);
    m_fileType = new QButtonGroup(this);
    const std::pair<const char*, const char*> items[] = {{"ASCII", "AsciiBtn"}, {"Graphic", "GraphicBtn"}};
    int id = 0;
    for (const auto& [caption, name] : items) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption));
        radio->setObjectName(QString::fromLatin1(name));
        radio->setAccessibleName(QString::fromLatin1(caption));
        m_fileType->addButton(radio, id++);
        v->addWidget(radio);
    }
    layout->addWidget(box);

    auto* row = new QHBoxLayout;
    auto add = [&](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(caption);
        row->addWidget(b);
        return b;
    };
    QPushButton* ok = add(QStringLiteral("OK"), "OKBtn");
    ok->setDefault(true);
    QPushButton* cancel = add(QStringLiteral("Cancel"), "CancelBtn");
    QPushButton* helpBtn = add(QStringLiteral("Help"), "HelpBtn");
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &ExportDialog::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpBtn, &QPushButton::clicked, this, [this] { m_help.showHelp(kExportDialogHelpContext); });

    // A sibling of this dialog, so that it stays up when this one closes.
    if (parent) {
        m_ascii = new AsciiExportDialog(records, messages, help, parent);
    } else {
        m_ownedAscii = std::make_unique<AsciiExportDialog>(records, messages, help);
        m_ascii = m_ownedAscii.get();
    }
    m_fileType->button(0)->setChecked(true);
}

ExportDialog::~ExportDialog() = default;

ExportFileType ExportDialog::fileType() const
{
    return m_fileType->checkedId() == 1 ? ExportFileType::Graphic : ExportFileType::Ascii;
}

void ExportDialog::showEvent(QShowEvent* event)
{
    m_fileType->button(0)->setChecked(true);
    QDialog::showEvent(event);
}

void ExportDialog::OKBtnClick()
{
    const ExportFileType type = fileType();
    accept();
    if (type == ExportFileType::Ascii)
        m_ascii->open();
    else if (exportGraphic)
        exportGraphic();
}

} // namespace tamble
