#pragma once
// The program's MessageService: a modal QMessageBox with the message's icon, buttons, informative
// text and title. A Help button opens the help at the message's context and leaves the box open.
// With no display to show it on (offscreen platform and TAMBLE_NO_DIALOGS=1) a message gets the
// answer nobody-there would give, so a headless run never waits for a click.

#include "util/user_dialog.h"

#include <QPointer>
#include <QWidget>

namespace tamble {

class QtMessageService : public MessageService {
public:
    explicit QtMessageService(HelpService& help, QWidget* parent = nullptr);

    DialogAnswer ask(const UserMessage& message) override;

    // The window the boxes are modal over when no window of the program is active.
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    // The window a box opened now belongs to: the open modal dialog, else the active window.
    QWidget* askingWindow() const;

    // True when messages are answered without being shown.
    static bool dialogsSuppressed();

private:
    HelpService& m_help;
    QPointer<QWidget> m_parent;
};

} // namespace tamble
