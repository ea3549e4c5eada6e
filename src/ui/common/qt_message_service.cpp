#include "ui/common/qt_message_service.h"

#include "util/dialog_buttons.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <map>

namespace tamble {

namespace {

QMessageBox::Icon iconFor(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Information: return QMessageBox::Information;
    case DialogKind::Warning: return QMessageBox::Warning;
    case DialogKind::Error: return QMessageBox::Critical;
    case DialogKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtMessageService::QtMessageService(HelpService& help, QWidget* parent)
    : m_help(help), m_parent(parent)
{
}

bool QtMessageService::dialogsSuppressed()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen")
        && qEnvironmentVariable("TAMBLE_NO_DIALOGS") == QLatin1String("1");
}

QWidget* QtMessageService::askingWindow() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    return m_parent;
}

DialogAnswer QtMessageService::ask(const UserMessage& message)
{
    if (dialogsSuppressed())
        return DefaultAnswer(message.buttons);

    // The box belongs to the window whose action raised it: stacked above that window, and the
    // focus goes back to it when the box closes.
    QWidget* owner = askingWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QMessageBox box(owner);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setIcon(iconFor(message.kind));
    box.setWindowTitle(DialogTitle(message));
    box.setText(message.text);
    box.setInformativeText(message.informative);
    box.setAccessibleName(message.text);

    std::map<QAbstractButton*, DialogAnswer> answers;
    const int defaultIndex = DefaultButtonIndex(message);
    int index = -1;
    for (const MessageButton& choice : MessageButtons(message.buttons)) {
        ++index;
        const QMessageBox::ButtonRole role = choice.help ? QMessageBox::HelpRole : QMessageBox::AcceptRole;
        QPushButton* button = box.addButton(choice.caption, role);
        button->setAccessibleName(WithoutMnemonic(choice.caption));
        button->setObjectName(WithoutMnemonic(choice.caption) + QStringLiteral("Btn"));
        if (choice.help) {
            // Cut the box's own handling so that Help does not close it.
            button->disconnect();
            const int context = message.helpContext;
            QObject::connect(button, &QPushButton::clicked, &box, [this, context] { m_help.showHelp(context); });
            continue;
        }
        answers[button] = choice.answer;
        if (index == defaultIndex)
            box.setDefaultButton(button);
        if (choice.escape)
            box.setEscapeButton(button);
    }

    box.exec();
    if (owner && owner->isVisible()) {
        owner->activateWindow();
        if (focus && focus->window() == owner)
            focus->setFocus(Qt::OtherFocusReason);
    }
    const auto found = answers.find(box.clickedButton());
    return found != answers.end() ? found->second : DefaultAnswer(message.buttons);
}

} // namespace tamble
