#include "ui/setup/scaling_entry_dialog.h"

#include "setup/scaling_dialog_rules.h"
#include "ui/link/link_widgets.h"
#include "ui/setup/scaling_widgets.h"
#include "util/user_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tamble {

ScalingEntryDialog::ScalingEntryDialog(const ScalingRecords& records, MessageService& messages, HelpService& help,
                                       QWidget* parent)
    : QDialog(parent), m_records(records), m_messages(messages), m_help(help)
{
    setModal(true);
    connect(this, &QDialog::finished, this, [this](int result) {
        if (result != QDialog::Accepted)
            m_entry.reset();
        emit scalingFinished(m_channel, result == QDialog::Accepted);
    });
}

void ScalingEntryDialog::startFor(int channel)
{
    m_channel = channel;
    m_entry.reset();
    prepare();
    open();
}

bool ScalingEntryDialog::openFor(int channel)
{
    m_channel = channel;
    m_entry.reset();
    prepare();
    return exec() == QDialog::Accepted;
}

bool ScalingEntryDialog::finishWith(const ScalingOutcome& outcome)
{
    if (!outcome.accepted()) {
        ui::ShowErrors(m_messages, outcome.messages);
        return false;
    }
    m_entry = outcome.entry;
    accept();
    return true;
}

QLayout* ScalingEntryDialog::buttonRow()
{
    QPushButton* ok = ui::Button(this, QStringLiteral("OK"), QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QPushButton* cancel = ui::Button(this, QStringLiteral("Cancel"), QStringLiteral("CancelBtn"));
    QPushButton* help = ui::Button(this, QStringLiteral("&Help"), QStringLiteral("HelpBtn"));
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { helpBtnClick(); });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(help);
    return row;
}

} // namespace tamble
