#include "ui/setup/select_table_dialog.h"

#include "help/help_pages.h"
#include "setup/scaling_dialog_rules.h"
#include "ui/link/link_widgets.h"
#include "util/user_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace tamble {

SelectTableDialog::SelectTableDialog(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : ScalingEntryDialog(records, messages, help, parent)
{
    setObjectName(QStringLiteral("TSelectFile"));
    setWindowTitle(QStringLiteral("Custom Table"));
    auto* title = new QLabel(QStringLiteral("Select a Tamble Logger scaling table (.RVT)"), this);
    title->setObjectName(QStringLiteral("TitleLabel"));

    m_dir = ui::ReadOnlyBox(this, QStringLiteral("DirBox"), QStringLiteral("Directory"), 40);
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("FileList"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("FileEdit"));
    m_name->setEnabled(false);
    auto* mask = ui::ReadOnlyBox(this, QStringLiteral("MaskBox"), QStringLiteral("List files of type"), 8);
    mask->setText(QStringLiteral("*.RVT"));

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(title);
    outer->addWidget(ui::BuddyLabel(this, QStringLiteral("&Directory"), m_dir));
    outer->addWidget(m_dir);
    outer->addWidget(ui::BuddyLabel(this, QStringLiteral("&Files"), m_files));
    outer->addWidget(m_files, 1);
    outer->addWidget(ui::BuddyLabel(this, QStringLiteral("File &name"), m_name));
    outer->addWidget(m_name);
    outer->addWidget(ui::BuddyLabel(this, QStringLiteral("List files of &type"), mask));
    outer->addWidget(mask);
    outer->addLayout(buttonRow());

    // The selection, not the current item: a list that merely takes the focus names no file.
    connect(m_files, &QListWidget::itemSelectionChanged, this, [this] { fileChosen(); });
    connect(m_files, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_files->setCurrentItem(item);
        item->setSelected(true);
        OKBtnClick();
    });
}

void SelectTableDialog::prepare()
{
    const TableFolder folder = TableFolderFor(m_records.programDir);
    m_dir->setText(folder.shown);
    m_files->clear();
    m_name->clear();
    const QStringList tables = TableFilesIn(folder.path);
    m_files->addItems(tables);
    // The channel's own table, when it has one, starts selected.
    if (m_records.setup.scalingCode(m_channel) == '1') {
        const QString current = QString::fromLatin1(TrimTrailingSpaces(m_records.setup.tableName(m_channel)));
        for (int row = 0; row < tables.size(); ++row) {
            if (tables[row].compare(current + QStringLiteral(".rvt"), Qt::CaseInsensitive) == 0)
                m_files->setCurrentRow(row);
        }
    }
    m_files->setFocus();
}

void SelectTableDialog::fileChosen()
{
    const QList<QListWidgetItem*> chosen = m_files->selectedItems();
    m_name->setText(chosen.isEmpty() ? QString() : chosen.front()->text());
}

void SelectTableDialog::OKBtnClick()
{
    finishWith(AcceptTableFile(m_records.setup, m_channel, m_name->text()));
}

void SelectTableDialog::helpBtnClick()
{
    m_help.showHelp(kCustomTableHelpContext);
}

} // namespace tamble
