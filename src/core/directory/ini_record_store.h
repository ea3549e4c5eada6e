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
// The store reads its file on first use and keeps it in memory until close(); every change
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
    static StoreStatus fine() { return {}; }
};

inline constexpr const char* kRecordExistsText = "A record with that name already exists";

// Puts names in the order the lists show them (case ignored).
void SortDirectoryNames(QStringList& names);

class IniRecordStore {
public:
    IniRecordStore(RecordStoreLayout layout, std::unique_ptr<IniStorage> storage);

    // Reads the file unless it is open already. A missing file is created with an empty "Index"
    // and "_Entries" 0 (a directory that refuses it is reported by the first change instead).
    StoreStatus open();
    void close();
    bool isOpen() const { return m_open; }

    // Record names in the order of the "Index" section (empty when the file cannot be read).
    QStringList names();
    StoreStatus get(const QString& name, DirectoryRecord& out);
    StoreStatus add(const DirectoryRecord& record);
    StoreStatus update(const QString& oldName, const DirectoryRecord& record);
    StoreStatus remove(const QString& name);

    // Whether a name and a value can be stored so that they read back exactly.
    StoreStatus checkName(const QString& name) const;
    StoreStatus checkValue(const QString& value) const;

    const RecordStoreLayout& layout() const { return m_layout; }
    QString storageName() const { return m_storage->Name(); }

private:
    int indexOf(const QString& name) const;
    void setRecordValue(const QString& name, const QString& value);
    void setEntryCount();
    void writeRecoveredIndex();
    StoreStatus commit(IniDocument previous);
    void rebuild();

    RecordStoreLayout m_layout;
    std::unique_ptr<IniStorage> m_storage;
    bool m_open = false;
    IniDocument m_doc;
    QStringList m_names;          // Index keys, duplicates dropped
    QHash<std::size_t, int> m_position;  // folded name hash -> first position in m_names with it
};

} // namespace tamble
