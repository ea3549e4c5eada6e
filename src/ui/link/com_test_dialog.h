#pragma once
// "Test Communication Cable and Port": the loop-back test of the cable on the session port. The
// dialog owns the engine's cable test procedure and installs it on the engine when it is created
// (once for the run, like every window); the procedure enables and disables the dialog.

#include "link/com_test.h"

#include <QDialog>

namespace tamble {

class SessionEngine;
class MessageService;
class HelpService;

class ComTestDialog : public QDialog {
    Q_OBJECT
public:
    ComTestDialog(SessionEngine& engine, MessageService& messages, HelpService& help,
                  QWidget* parent = nullptr);

    ComTest& procedure() { return m_test; }

private:
    void testBtnClick();

    SessionEngine& m_engine;
    MessageService& m_messages;
    ComTest m_test;
};

} // namespace tamble
