#pragma once
// The setup window's Load (a file or the last status), Save As and Exit, without widgets: what a
// file must be for the window to take it, that a file it cannot take changes nothing, and the
// "Save changes?" question with what each answer does. Messages and the question go through the
// MessageService; the file dialogs stay with the window, which hands over the chosen names.

#include "setup/setup_window_model.h"
#include "util/user_dialog.h"

#include <QDate>
#include <QString>
#include <functional>

namespace tamble {

struct LoggerInfo;

// What the window's files touch besides the setup record itself.
struct SetupFileRecords {
    SetupRecord& savedCopy;        // the setup as last loaded or saved
    QString& lastSetupFile;        // the setup file last read or written
    const LoggerInfo& loggerInfo;  // the last status read from a logger
};

class SetupWindowFiles {
public:
    SetupWindowFiles(SetupWindowModel& model, SetupFileRecords records, MessageService& messages);

    // Load File: a ".TL1" file is imported, any other file read as a setup file. A setup file
    // longer than a setup record, a file that cannot be read and a setup the window cannot take
    // are reported and change nothing. True when the window shows the file's setup.
    bool load(const QString& path, const QDate& today);
    // Load Status: the last status in the window, or the message that there is none.
    bool loadStatus();
    // Save As: the window's setup under `path`, which must end in ".SET". False (nothing saved)
    // for an empty path, a wrong name (with a warning) or a failed write (with its message).
    bool save(const QString& path);
    // Exit: true when the window may close. With unsaved changes "Save changes?" is asked: Yes
    // saves under the name `chooseSaveFile` gives and closes only when that worked; No puts the
    // setup back as last loaded or saved, shows it again and closes; Cancel stays.
    bool exit(const std::function<QString()>& chooseSaveFile, const QDate& today);

private:
    void tell(DialogKind kind, const QString& text);
    void showAgain(const QDate& today);

    SetupWindowModel& m_model;
    SetupFileRecords m_records;
    MessageService& m_messages;
};

} // namespace tamble
