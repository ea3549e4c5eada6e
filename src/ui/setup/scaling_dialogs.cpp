#include "ui/setup/scaling_dialogs.h"

#include "setup/scaling_dialog_rules.h"
#include "ui/setup/contact_closure_dialog.h"
#include "ui/setup/linear_scale_dialog.h"
#include "ui/setup/select_table_dialog.h"

#include <QWidget>

namespace tamble {

ScalingDialogs::ScalingDialogs(AppRecords& records, MessageService& messages, HelpService& help, QWidget* window)
    : QObject(window)
{
    setObjectName(QStringLiteral("ScalingDialogs"));
    m_linear = new LinearScaleDialog(records, messages, help, window);
    m_contact = new ContactClosureDialog(records, messages, help, window);
    m_select = new SelectTableDialog(records, messages, help, window);
    for (ScalingEntryDialog* dialog : {static_cast<ScalingEntryDialog*>(m_linear),
                                       static_cast<ScalingEntryDialog*>(m_contact),
                                       static_cast<ScalingEntryDialog*>(m_select)}) {
        connect(dialog, &ScalingEntryDialog::scalingFinished, this, [this, dialog](int channel, bool accepted) {
            const auto& entry = dialog->entry();
            if (accepted && entry)
                emit scalingFinished(channel, true, entry->listIndex, entry->text);
            else
                emit scalingFinished(channel, false, -1, QString());
        });
    }
}

ScalingDialogs::~ScalingDialogs()
{
    if (!parent()) {
        delete m_linear;
        delete m_contact;
        delete m_select;
    }
}

bool ScalingDialogs::startFor(int channel, int listIndex, const QString& linearEntry)
{
    switch (DialogForScalingIndex(listIndex)) {
    case ScalingDialogKind::LinearScale:
        m_linear->setLinearEntry(linearEntry);
        m_linear->startFor(channel);
        return true;
    case ScalingDialogKind::ContactClosure:
        m_contact->startFor(channel);
        return true;
    case ScalingDialogKind::CustomTable:
        m_select->startFor(channel);
        return true;
    case ScalingDialogKind::None:
        break;
    }
    return false;
}

} // namespace tamble
