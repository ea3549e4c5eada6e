#pragma once
// The rules of the three dial-up list windows (phone list, local modem list, remote modem list),
// without any widget: which record the list selects, what Insert, Modify and Delete check, write
// and say, and which settings fields OK sets. The windows only copy their controls to and from
// these classes.

#include "settings/settings_record.h"
#include "directory/ini_record_store.h"
#include "util/user_dialog.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace tamble {

enum class DirectoryList { Phone, LocalModem, RemoteModem };

struct DirectoryListTexts {
    QString fileName;     // in the program directory
    QString valueKey;     // key of the value in a record's section
    QString caption;      // window title
    QString valueLabel;   // label of the value field
    QString noNameText;   // the name field is empty
    QString noValueText;  // the value field is empty
    int helpContext = 0;
};

const DirectoryListTexts& TextsOf(DirectoryList list);

// The record layout of a list file: names up to 31 characters, values up to 83, 999 records.
RecordStoreLayout LayoutOf(DirectoryList list);

// What the window does after an action besides showing the new state.
enum class ListReaction { None, Beep, FocusName, FocusValue };

// The list row a settings entry index selects: the index itself, the first row when the index
// is beyond the end, none (-1) when the list is empty or the index is negative.
int RowForEntry(int entry, int rowCount);

class DirectoryListRules {
public:
    DirectoryListRules(DirectoryList list, std::unique_ptr<IniStorage> storage, SettingsRecord& settings,
                       MessageService& messages);
    virtual ~DirectoryListRules() = default;

    // The list file in the program directory.
    static std::unique_ptr<IniStorage> fileIn(DirectoryList list, const QString& programDir);

    // Fills the list (read afresh) and selects the row of the settings entry; a file that cannot
    // be read is reported (unless told not to, as at program start) and shows an empty list.
    void show(bool reportFailure = true);

    const QStringList& names() const { return m_names; }
    int selected() const { return m_selected; }
    QString selectedName() const { return m_selected < 0 ? QString() : m_names.at(m_selected); }
    const QString& nameField() const { return m_nameField; }
    const QString& valueField() const { return m_valueField; }
    const DirectoryListTexts& texts() const { return TextsOf(m_list); }

    // A click on a row (-1: none): the fields show that record, or nothing.
    void select(int row);
    // The field texts as typed.
    void setFields(const QString& name, const QString& value);

    ListReaction insert();
    ListReaction modify();
    // Asks for confirmation first.
    ListReaction remove();

    // OK: with a row selected, its index and record go into the settings and the store is
    // closed; returns whether anything was set. Cancel changes nothing and needs no rule.
    bool accept();

protected:
    virtual void applyRecord(int row, const DirectoryRecord& record) = 0;
    int& settingsEntry();
    int entryValue() const;
    SettingsRecord& m_settings;
    IniRecordStore m_store;

private:
    ListReaction checkFields();
    void showError(const QString& text);
    void fillFields();
    void reload(const QString& selectName);
    QString settingsRecordName() const;
    void followSettingsRecord(const QString& before, const QString& renamedFrom, const QString& renamedTo);

    DirectoryList m_list;
    MessageService& m_messages;
    QStringList m_names;  // sorted
    int m_selected = -1;
    QString m_nameField;
    QString m_valueField;
};

class PhoneListRules : public DirectoryListRules {
public:
    PhoneListRules(std::unique_ptr<IniStorage> storage, SettingsRecord& settings, MessageService& messages)
        : DirectoryListRules(DirectoryList::Phone, std::move(storage), settings, messages) {}

    // The name for the phone fields of the main window and the setup window (set by OK).
    std::function<void(const QString& name)> phoneNameChosen;
    // Hangs up a modem call in progress (set by OK).
    std::function<void()> hangUp;

protected:
    void applyRecord(int row, const DirectoryRecord& record) override;
};

class LocalModemListRules : public DirectoryListRules {
public:
    LocalModemListRules(std::unique_ptr<IniStorage> storage, SettingsRecord& settings, MessageService& messages)
        : DirectoryListRules(DirectoryList::LocalModem, std::move(storage), settings, messages) {}

protected:
    void applyRecord(int row, const DirectoryRecord& record) override;
};

class RemoteModemListRules : public DirectoryListRules {
public:
    RemoteModemListRules(std::unique_ptr<IniStorage> storage, SettingsRecord& settings, MessageService& messages)
        : DirectoryListRules(DirectoryList::RemoteModem, std::move(storage), settings, messages) {}

    // "Configure": the setup string as typed becomes the remote modem init string, then the
    // remote modem configuration window opens through `openConfiguration`.
    void configure(const QString& setupField);
    std::function<void()> openConfiguration;

protected:
    void applyRecord(int row, const DirectoryRecord& record) override;
};

struct PhoneEntryApplied {
    bool applied = false;  // false: no entry (empty list, negative index) or the file unreadable
    QString name;          // for the phone fields of the main window and the setup window
    QString error;         // why "Phone.ini" could not be read
};

// Before a modem call: the selected phone entry (the settings' phone entry, or the first entry
// when that is beyond the end) is applied again as OK applies it, without hanging up: phone
// entry and phone number are set from the record. Reads "Phone.ini" in `programDir`.
PhoneEntryApplied ApplySelectedPhoneEntry(const QString& programDir, SettingsRecord& settings);

// The number of entry `index` (from 0) of the phone list file at `phoneIniPath`, the names in the
// order the phone list shows them; nullopt when the file or the entry does not exist (an
// unattended run dials nobody rather than somebody else).
std::optional<QString> PhoneListNumber(const QString& phoneIniPath, int index);

} // namespace tamble
