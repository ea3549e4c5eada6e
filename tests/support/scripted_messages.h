#pragma once
// A MessageService for tests: records every message and answers from a script. With the script
// empty it gives the answer nobody-there would give (DefaultAnswer), so a forgotten answer never
// blocks a test.

#include "util/user_dialog.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace tamble::test {

class ScriptedMessages : public MessageService {
public:
    DialogAnswer ask(const UserMessage& message) override
    {
        shown.push_back(message);
        if (answers.empty())
            return DefaultAnswer(message.buttons);
        const DialogAnswer a = answers.front();
        answers.pop_front();
        return a;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const UserMessage& m : shown)
            out << m.text;
        return out;
    }
    QString lastText() const { return shown.empty() ? QString() : shown.back().text; }

    std::deque<DialogAnswer> answers;
    std::vector<UserMessage> shown;
};

class RecordingHelp : public HelpService {
public:
    void showHelp(int context) override { contexts.push_back(context); }
    std::vector<int> contexts;
};

} // namespace tamble::test
