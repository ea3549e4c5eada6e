#pragma once
// One way to ask the user: a message of a kind, with buttons and a help context, gives an answer.
// Windows, window rules and the session engine all go through MessageService; the GUI shows a
// QMessageBox, tests answer from a script. HelpService opens the help at a context number.

#include <QString>

#include <utility>

namespace tamble {

enum class DialogKind { Information, Warning, Error, Confirmation };
enum class DialogButtons { Ok, OkHelp, OkCancel, YesNo, OkRetryHelp, YesNoCancel };
enum class DialogAnswer { Ok, Cancel, Yes, No, Retry };

struct UserMessage {
    UserMessage() = default;
    UserMessage(DialogKind kind, QString text, DialogButtons buttons = DialogButtons::Ok, int helpContext = 0,
                QString informative = {}, QString caption = {})
        : kind(kind), text(std::move(text)), buttons(buttons), helpContext(helpContext),
          informative(std::move(informative)), caption(std::move(caption))
    {
    }

    DialogKind kind = DialogKind::Information;
    QString text;
    DialogButtons buttons = DialogButtons::Ok;
    int helpContext = 0;   // 0: no Help button
    QString informative;   // shown below the text (why a port could not be opened, ...)
    QString caption;       // window title; empty: the kind's usual title
    // The affirmative answer erases or overwrites data: Cancel (or No) is the default button.
    bool destructive = false;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual DialogAnswer ask(const UserMessage& message) = 0;
};

class HelpService {
public:
    virtual ~HelpService() = default;
    // Context 0 is the contents page.
    virtual void showHelp(int context) = 0;
};

// A message with only an OK button, whose answer does not matter.
inline void Tell(MessageService& messages, DialogKind kind, const QString& text)
{
    messages.ask(UserMessage{kind, text});
}

// The answer a message gets when nobody is there to give one (no display, a closed dialog).
inline DialogAnswer DefaultAnswer(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::OkCancel: return DialogAnswer::Cancel;
    case DialogButtons::YesNo: return DialogAnswer::No;
    case DialogButtons::YesNoCancel: return DialogAnswer::Cancel;
    default: return DialogAnswer::Ok;
    }
}

} // namespace tamble
