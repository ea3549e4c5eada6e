#include "directory/directory_list_rules.h"

#include <QDir>

namespace tamble {

namespace {

inline constexpr int kSettingsInitWidth = kSettingsPathWidth;

// The local and remote modem lists differ only in file, caption and help.
DirectoryListTexts ModemListTexts(const QString& fileName, const QString& caption, int helpContext)
{
    return {fileName, QStringLiteral("Setup"), caption, QStringLiteral("&Setup String"),
            QStringLiteral("You must enter a Modem Name"), QStringLiteral("You must enter a Setup String"), helpContext};
}

} // namespace

const DirectoryListTexts& TextsOf(DirectoryList list)
{
    static const DirectoryListTexts phone{
        QStringLiteral("Phone.ini"), QStringLiteral("Number"), QStringLiteral("Phone List"),
        QStringLiteral("&Phone Number"), QStringLiteral("You must enter a Name"),
        QStringLiteral("You must enter a Phone Number"), 16};
    static const DirectoryListTexts local =
        ModemListTexts(QStringLiteral("Local.ini"), QStringLiteral("Local Modem"), 17);
    static const DirectoryListTexts remote =
        ModemListTexts(QStringLiteral("Remote.ini"), QStringLiteral("Remote Modem"), 18);
    switch (list) {
    case DirectoryList::Phone: return phone;
    case DirectoryList::LocalModem: return local;
    case DirectoryList::RemoteModem: break;
    }
    return remote;
}

RecordStoreLayout LayoutOf(DirectoryList list)
{
    return RecordStoreLayout{TextsOf(list).valueKey, 31, 83, 999};
}

int RowForEntry(int entry, int rowCount)
{
    if (rowCount <= 0 || entry < 0)
        return -1;
    return entry < rowCount ? entry : 0;
}

DirectoryListRules::DirectoryListRules(DirectoryList list, std::unique_ptr<IniStorage> storage,
                                       SettingsRecord& settings, MessageService& messages)
    : m_settings(settings), m_store(LayoutOf(list), std::move(storage)), m_list(list), m_messages(messages)
{
}

std::unique_ptr<IniStorage> DirectoryListRules::fileIn(DirectoryList list, const QString& programDir)
{
    return std::make_unique<IniFileStorage>(QDir(programDir).filePath(TextsOf(list).fileName));
}

int DirectoryListRules::entryValue() const
{
    switch (m_list) {
    case DirectoryList::Phone: return m_settings.phoneEntry;
    case DirectoryList::LocalModem: return m_settings.localModemEntry;
    case DirectoryList::RemoteModem: break;
    }
    return m_settings.remoteModemEntry;
}

int& DirectoryListRules::settingsEntry()
{
    switch (m_list) {
    case DirectoryList::Phone: return m_settings.phoneEntry;
    case DirectoryList::LocalModem: return m_settings.localModemEntry;
    case DirectoryList::RemoteModem: break;
    }
    return m_settings.remoteModemEntry;
}

void DirectoryListRules::showError(const QString& text)
{
    m_messages.ask(UserMessage{DialogKind::Error, text, DialogButtons::Ok, 0, {}, {}});
}

void DirectoryListRules::show(bool reportFailure)
{
    // Read afresh each time the window opens, so changes made meanwhile by another run show.
    m_store.close();
    const StoreStatus opened = m_store.open();
    m_names = m_store.names();
    SortDirectoryNames(m_names);
    m_selected = RowForEntry(settingsEntry(), int(m_names.size()));
    fillFields();
    if (!opened.ok() && reportFailure)
        showError(opened.message);
}

void DirectoryListRules::fillFields()
{
    m_nameField.clear();
    m_valueField.clear();
    if (m_selected < 0)
        return;
    DirectoryRecord record;
    if (m_store.get(m_names.at(m_selected), record).ok()) {
        m_nameField = record.name;
        m_valueField = record.value;
    }
}

void DirectoryListRules::select(int row)
{
    m_selected = (row >= 0 && row < m_names.size()) ? row : -1;
    fillFields();
}

void DirectoryListRules::setFields(const QString& name, const QString& value)
{
    // Spaces at either end would not survive the file; they are dropped before any check.
    m_nameField = name.trimmed();
    m_valueField = value.trimmed();
}

ListReaction DirectoryListRules::checkFields()
{
    if (m_nameField.isEmpty()) {
        showError(texts().noNameText);
        return ListReaction::FocusName;
    }
    if (m_valueField.isEmpty()) {
        showError(texts().noValueText);
        return ListReaction::FocusValue;
    }
    return ListReaction::None;
}

QString DirectoryListRules::settingsRecordName() const
{
    const int row = RowForEntry(entryValue(), int(m_names.size()));
    return row < 0 ? QString() : m_names.at(row);
}

// The settings hold a row number of the sorted list; when the list changes under it, the number
// follows the record it named, so a later call does not dial a different entry.
void DirectoryListRules::followSettingsRecord(const QString& before, const QString& renamedFrom,
                                              const QString& renamedTo)
{
    if (before.isEmpty())
        return;
    const QString now = before.compare(renamedFrom, Qt::CaseInsensitive) == 0 ? renamedTo : before;
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(now, Qt::CaseInsensitive) == 0) {
            settingsEntry() = i;
            return;
        }
    }
}

void DirectoryListRules::reload(const QString& selectName)
{
    m_names = m_store.names();
    SortDirectoryNames(m_names);
    m_selected = -1;
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(selectName, Qt::CaseInsensitive) == 0)
            m_selected = i;
    }
}

ListReaction DirectoryListRules::insert()
{
    if (const ListReaction r = checkFields(); r != ListReaction::None)
        return r;
    const QString before = settingsRecordName();
    const StoreStatus added = m_store.add(DirectoryRecord{m_nameField, m_valueField});
    if (!added.ok()) {
        showError(added.message);
        return ListReaction::None;
    }
    reload(m_nameField);
    followSettingsRecord(before, {}, {});
    return ListReaction::None;
}

ListReaction DirectoryListRules::modify()
{
    if (const ListReaction r = checkFields(); r != ListReaction::None)
        return r;
    if (m_selected < 0)
        return ListReaction::Beep;
    const QString before = settingsRecordName();
    const QString oldName = m_names.at(m_selected);
    const StoreStatus updated = m_store.update(oldName, DirectoryRecord{m_nameField, m_valueField});
    if (!updated.ok()) {
        showError(updated.message);
        return ListReaction::None;
    }
    reload(m_nameField);
    followSettingsRecord(before, oldName, m_nameField);
    return ListReaction::None;
}

ListReaction DirectoryListRules::remove()
{
    if (m_selected < 0)
        return ListReaction::Beep;
    const QString name = m_names.at(m_selected);
    const QString question = QStringLiteral("Are you sure you want to delete \"") + name + QStringLiteral("\"?");
    UserMessage ask{DialogKind::Confirmation, question, DialogButtons::YesNo};
    ask.destructive = true;
    if (m_messages.ask(ask) != DialogAnswer::Yes)
        return ListReaction::None;
    const QString before = settingsRecordName();
    const int row = m_selected;
    const StoreStatus deleted = m_store.remove(name);
    if (!deleted.ok()) {
        showError(deleted.message);
        return ListReaction::None;
    }
    m_names = m_store.names();
    SortDirectoryNames(m_names);
    m_selected = m_names.isEmpty() ? -1 : std::min(row, int(m_names.size()) - 1);
    fillFields();
    followSettingsRecord(before, {}, {});
    return ListReaction::None;
}

bool DirectoryListRules::accept()
{
    if (m_selected < 0)
        return false;
    DirectoryRecord record;
    const StoreStatus got = m_store.get(m_names.at(m_selected), record);
    if (!got.ok()) {
        showError(got.message);
        return false;
    }
    settingsEntry() = m_selected;
    applyRecord(m_selected, record);
    m_store.close();
    return true;
}

void PhoneListRules::applyRecord(int, const DirectoryRecord& record)
{
    m_settings.phoneNumber = record.value.left(kSettingsPhoneWidth);
    if (phoneNameChosen)
        phoneNameChosen(record.name);
    if (hangUp)
        hangUp();
}

void LocalModemListRules::applyRecord(int, const DirectoryRecord& record)
{
    m_settings.localModemInit = record.value.left(kSettingsInitWidth);
}

void RemoteModemListRules::applyRecord(int, const DirectoryRecord& record)
{
    m_settings.remoteModemInit = record.value.left(kSettingsInitWidth);
}

void RemoteModemListRules::configure(const QString& setupField)
{
    m_settings.remoteModemInit = setupField.left(kSettingsInitWidth);
    if (openConfiguration)
        openConfiguration();
}

std::optional<QString> PhoneListNumber(const QString& phoneIniPath, int index)
{
    IniRecordStore store(LayoutOf(DirectoryList::Phone), std::make_unique<IniFileStorage>(phoneIniPath));
    if (index < 0 || !store.open().ok())
        return std::nullopt;
    QStringList names = store.names();
    SortDirectoryNames(names);
    DirectoryRecord record;
    if (index >= names.size() || !store.get(names.at(index), record).ok())
        return std::nullopt;
    return record.value;
}

PhoneEntryApplied ApplySelectedPhoneEntry(const QString& programDir, SettingsRecord& settings)
{
    PhoneEntryApplied result;
    IniRecordStore store(LayoutOf(DirectoryList::Phone), DirectoryListRules::fileIn(DirectoryList::Phone, programDir));
    if (const StoreStatus opened = store.open(); !opened.ok()) {
        result.error = opened.message;
        return result;
    }
    QStringList names = store.names();
    SortDirectoryNames(names);
    const int row = RowForEntry(settings.phoneEntry, int(names.size()));
    if (row < 0)
        return result;
    DirectoryRecord record;
    if (const StoreStatus got = store.get(names.at(row), record); !got.ok()) {
        result.error = got.message;
        return result;
    }
    settings.phoneEntry = row;
    settings.phoneNumber = record.value.left(kSettingsPhoneWidth);
    result.applied = true;
    result.name = record.name;
    return result;
}

} // namespace tamble
