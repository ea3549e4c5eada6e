#include "ui/setup/scaling_dialogs.h"

#include "setup/scaling_dialog_rules.h"
#include "setup/setup_window_lists.h"
#include "setup/setup_window_model.h"
#include "ui/setup/contact_closure_dialog.h"
#include "ui/setup/linear_scale_dialog.h"
#include "ui/setup/select_table_dialog.h"

#include <QWidget>

namespace tamble {

ScalingDialogs::ScalingDialogs(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* window)
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

bool ScalingDialogs::runFor(int channel, ScalingChoice& choice)
{
    // The dialog writes the channel's scaling into the setup; the window takes its entry.
    std::optional<ScalingEntry> entry;
    switch (choice.dialog) {
    case ScalingChoice::Dialog::LinearScale:
        m_linear->setLinearEntry(LinearEntryText(choice.currentLinear));
        if (!m_linear->openFor(channel))
            return false;
        entry = m_linear->entry();
        break;
    case ScalingChoice::Dialog::ContactClosure:
        if (!m_contact->openFor(channel))
            return false;
        entry = m_contact->entry();
        break;
    case ScalingChoice::Dialog::CustomTable:
        if (!m_select->openFor(channel))
            return false;
        entry = m_select->entry();
        break;
    }
    if (!entry)
        return false;
    return TakeScalingEntry(entry->text, choice);
}

} // namespace tamble
