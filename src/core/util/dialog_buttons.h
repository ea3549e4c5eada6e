#pragma once
// What a message box shows for a UserMessage: its title by kind and its buttons in order, each
// with the answer it gives. A Help button gives no answer: it opens the help and the box stays.

#include "util/user_dialog.h"

#include <QString>
#include <vector>

namespace tamble {

struct MessageButton {
    QString caption;      // with "&" for the mnemonic
    DialogAnswer answer;  // unused for the Help button
    bool help = false;
    bool escape = false;  // the button Esc or closing the box stands for
};

std::vector<MessageButton> MessageButtons(DialogButtons buttons);

// Which of MessageButtons(message.buttons) is the default: the first that answers, or, when the
// affirmative answer erases or overwrites data, the first that does not say OK or Yes.
int DefaultButtonIndex(const UserMessage& message);

// The window title: the message's caption, else the kind's usual title.
QString DialogTitle(const UserMessage& message);

// A caption without its mnemonic marks ("&&" stays a single "&").
QString WithoutMnemonic(const QString& caption);

} // namespace tamble
