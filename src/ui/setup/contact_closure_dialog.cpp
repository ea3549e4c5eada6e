#include "ui/setup/contact_closure_dialog.h"

#include "setup/scaling_dialog_rules.h"
#include "ui/link/link_widgets.h"
#include "ui/setup/scaling_widgets.h"
#include "util/user_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tamble {

ContactClosureDialog::ContactClosureDialog(const ScalingRecords& records, MessageService& messages, HelpService& help,
                                           QWidget* parent)
    : ScalingEntryDialog(records, messages, help, parent)
{
    setObjectName(QStringLiteral("TContactDlg"));
    setWindowTitle(QStringLiteral("Contact Closure values"));
    m_closed = ui::NumberField(this, QStringLiteral("LoVal_dlg"), kScaleValueWidth);
    m_open = ui::NumberField(this, QStringLiteral("HiVal_dlg"), kScaleValueWidth);
    auto* values = new QFormLayout;
    values->addRow(ui::BuddyLabel(this, QStringLiteral("&Closed:"), m_closed), m_closed);
    values->addRow(ui::BuddyLabel(this, QStringLiteral("O&pen:"), m_open), m_open);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(values);
    outer->addLayout(buttonRow());
}

void ContactClosureDialog::prepare()
{
    m_closed->clear();
    m_open->clear();
    m_closed->setFocus();
}

void ContactClosureDialog::OKBtnClick()
{
    const ScalingOutcome outcome = AcceptContactClosure(m_records.setup, m_channel, m_closed->text(), m_open->text());
    if (!finishWith(outcome)) {
        QLineEdit* field = outcome.focus == ScaleField::High ? m_open : m_closed;
        field->setFocus();
        field->selectAll();
    }
}

void ContactClosureDialog::helpBtnClick()
{
    m_help.showHelp(kContactClosureHelpContext);
}

} // namespace tamble
