#include "setup/setup_window_files.h"

#include "format/logger_info.h"
#include "setup/setup_file.h"

#include <QFileInfo>

namespace tamble {

namespace {

DialogKind KindOf(SetupMessage::Kind kind)
{
    switch (kind) {
    case SetupMessage::Kind::Warning: return DialogKind::Warning;
    case SetupMessage::Kind::Information: return DialogKind::Information;
    default: return DialogKind::Error;
    }
}

} // namespace

SetupWindowFiles::SetupWindowFiles(SetupWindowModel& model, SetupFileRecords records, MessageService& messages)
    : m_model(model), m_records(records), m_messages(messages)
{
}

void SetupWindowFiles::tell(DialogKind kind, const QString& text) { Tell(m_messages, kind, text); }

bool SetupWindowFiles::load(const QString& path, const QDate& today)
{
    if (path.isEmpty())
        return false;
    if (!IsDataFileName(path) && QFileInfo(path).size() > kSetupRecordSize) {
        tell(DialogKind::Error, QString::fromLatin1(kCorruptSetupText));
        return false;
    }
    // Read into copies: the records change only once the file has passed every check.
    SetupRecord record = m_model.setup();
    SetupRecord saved = m_records.savedCopy;
    QString lastFile = m_records.lastSetupFile;
    const SetupFileOutcome outcome = OpenSetupForWindow(path, record, saved, lastFile);
    if (!outcome.ok) {
        if (outcome.message)
            tell(KindOf(outcome.message->kind), outcome.message->text);
        return false;
    }
    if (const auto problem = SetupRecordProblem(record)) {
        tell(DialogKind::Error, *problem);
        return false;
    }
    m_model.setup() = record;
    m_records.lastSetupFile = lastFile;
    m_model.setFileName(QFileInfo(path).fileName());
    m_model.setupToWindow(today);
    m_records.savedCopy = m_model.setup();
    return true;
}

bool SetupWindowFiles::loadStatus()
{
    if (m_records.loggerInfo.record.isEmpty()) {
        tell(DialogKind::Information, QString::fromLatin1(kNoStatusToLoad));
        return false;
    }
    m_model.statusToWindow(m_records.loggerInfo);
    return true;
}

bool SetupWindowFiles::save(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (!IsSetupFileName(path)) {
        tell(DialogKind::Warning, QString::fromLatin1(kSaveNameText));
        return false;
    }
    m_model.windowToSetup();
    const SetupFileOutcome outcome =
        SaveSetupForWindow(path, m_model.setup(), m_records.savedCopy, m_records.lastSetupFile);
    if (!outcome.ok) {
        if (outcome.message)
            tell(KindOf(outcome.message->kind), outcome.message->text);
        return false;
    }
    m_model.setFileName(QFileInfo(path).fileName());
    m_model.markUnmodified();
    return true;
}

bool SetupWindowFiles::exit(const std::function<QString()>& chooseSaveFile, const QDate& today)
{
    if (!m_model.modified())
        return true;
    const UserMessage question{DialogKind::Information, QString::fromLatin1(kSaveChangesText),
                               DialogButtons::YesNoCancel};
    switch (m_messages.ask(question)) {
    case DialogAnswer::Yes:
        return save(chooseSaveFile ? chooseSaveFile() : QString());
    case DialogAnswer::No:
        showAgain(today);
        return true;
    default:
        return false;  // Cancel: the window stays
    }
}

void SetupWindowFiles::showAgain(const QDate& today)
{
    m_model.setup() = m_records.savedCopy;
    if (m_model.showsStatus())
        m_model.statusToWindow(m_records.loggerInfo);
    else
        m_model.setupToWindow(today);
}

} // namespace tamble
