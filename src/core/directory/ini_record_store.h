#pragma once
// A small database of named records in an INI file: the phone list "Phone.ini" and the modem
// lists "Local.ini" and "Remote.ini". Each record is a name (its key, compared without regard to
// case) and one value.
//
//   [Index]            one key per record, in the order records were added: Name=#
//   [Defaults]         _Entries=<number of records>; optionally <value key>=<value for records
//                      whose own key is missing> (never written here)
//   [<name>]           <value key>=<value>; an empty value is stored by leaving the key out
//
// The store reads its file on first use and keeps it in memory until Close(); every change
// rewrites the whole file at once (temporary file and rename), and a change that cannot be
// written leaves both the file and the store as they were.

#include "directory/ini_document.h"
#include "directory/ini_storage.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace tamble {

struct DirectoryRecord {
    QString name;
    QString value;
    bool operator==(const DirectoryRecord&) const = default;
};

struct RecordStoreLayout {
    QString valueKey;          // "Number" or "Setup"
    int nameWidth = 31;
    int valueWidth = 83;
    int maxRecords = 999;
};

enum class StoreError { None, Exists, Full, NotFound, BadName, BadValue, ReadFailed, WriteFailed };

struct StoreStatus {
    StoreError error = StoreError::None;
    QString message;  // the text shown to the user when error != None
    bool ok() const { return error == StoreError::None; }
    static StoreStatus Fine() { return {}; }
};

inline constexpr const char* kRecordExistsText = "A record with that name already exists";

// Puts names in the order the lists show them (case ignored).
void SortDirectoryNames(QStringList& names);

class IniRecordStore {
public:
    IniRecordStore(RecordStoreLayout layout, std::unique_ptr<IniStorage> storage);

    // Reads the file unless it is open already. A missing file is created with an empty "Index"
    // and "_Entries" 0 (a directory that refuses it is reported by the first change instead).
    StoreStatus Open();
    void Close();
    bool IsOpen() const { return m_open; }

    // Record names in the order of the "Index" section (empty when the file cannot be read).
    QStringList Names();
    StoreStatus Get(const QString& name, DirectoryRecord& out);
    StoreStatus Add(const DirectoryRecord& record);
    StoreStatus Update(const QString& oldName, const DirectoryRecord& record);
    StoreStatus Delete(const QString& name);

    // Whether a name and a value can be stored so that they read back exactly.
    StoreStatus CheckName(const QString& name) const;
    StoreStatus CheckValue(const QString& value) const;

    const RecordStoreLayout& layout() const { return m_layout; }
    QString StorageName() const { return m_storage->Name(); }

private:
    int IndexOf(const QString& name) const;
    void SetRecordValue(const QString& name, const QString& value);
    void SetEntryCount();
    void WriteRecoveredIndex();
    StoreStatus Commit(IniDocument previous);
    void Rebuild();

    RecordStoreLayout m_layout;
    std::unique_ptr<IniStorage> m_storage;
    bool m_open = false;
    IniDocument m_doc;
    QStringList m_names;          // Index keys, duplicates dropped
    QHash<QString, int> m_position;  // folded name -> position in m_names
};

} // namespace tamble
