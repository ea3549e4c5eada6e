#include "directory/ini_record_store.h"

#include <algorithm>

namespace tamble {

namespace {

const QString kIndex = QStringLiteral("Index");
const QString kDefaults = QStringLiteral("Defaults");
const QString kEntries = QStringLiteral("_Entries");

StoreStatus Fail(StoreError error, QString message)
{
    return StoreStatus{error, std::move(message)};
}

StoreStatus NotFound(const QString& name)
{
    return Fail(StoreError::NotFound, QStringLiteral("No record named \"%1\" exists").arg(name));
}

// What a text must not hold to be read back exactly: characters outside Latin-1, control
// characters (a line break would start a new line), and spaces at either end (trimmed on reading).
QString TextProblem(const QString& text, const QString& what)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return what + QStringLiteral(" can only hold characters of the Western European (Latin-1) set");
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return what + QStringLiteral(" cannot hold a line break, tab or other control character");
    }
    if (text != text.trimmed())
        return what + QStringLiteral(" cannot begin or end with a space");
    return {};
}

} // namespace

void SortDirectoryNames(QStringList& names)
{
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
}

IniRecordStore::IniRecordStore(RecordStoreLayout layout, std::unique_ptr<IniStorage> storage)
    : m_layout(std::move(layout)), m_storage(std::move(storage))
{
}

StoreStatus IniRecordStore::open()
{
    if (m_open)
        return StoreStatus::fine();
    const IniReadResult read = m_storage->read();
    if (read.status == IniReadResult::Status::Failed) {
        m_doc = IniDocument();
        rebuild();
        return Fail(StoreError::ReadFailed,
                    QStringLiteral("Unable to read \"%1\" (%2)").arg(m_storage->Name(), read.error));
    }
    if (read.status == IniReadResult::Status::Missing) {
        m_doc = IniDocument::parse(QByteArrayLiteral("[Index]\r\n\r\n[Defaults]\r\n_Entries=0\r\n"));
        m_storage->write(m_doc.serialize());  // a refusal shows at the first change
    } else {
        m_doc = IniDocument::parse(read.bytes);
    }
    rebuild();
    m_open = true;
    return StoreStatus::fine();
}

void IniRecordStore::close()
{
    m_open = false;
    m_doc = IniDocument();
    m_names.clear();
    m_position.clear();
}

void IniRecordStore::rebuild()
{
    m_names.clear();
    if (m_doc.hasSection(kIndex)) {
        m_names = m_doc.keys(kIndex);
    } else {
        // A file that lost its index: every section but "Defaults" is taken as a record.
        for (const QString& section : m_doc.sections()) {
            // Only names that can stand as index keys.
            if (section.compare(kDefaults, Qt::CaseInsensitive) != 0 && !section.isEmpty()
                && !section.contains(QLatin1Char('=')) && !section.startsWith(QLatin1Char('['))
                && !section.startsWith(QLatin1Char(';')))
                m_names << section;
        }
    }
    m_position.clear();
    for (int i = 0; i < m_names.size(); ++i)
        m_position.insert(CaseFoldedHash(m_names.at(i)), i);  // the last of one hash: see indexOf
}

int IniRecordStore::indexOf(const QString& name) const
{
    const auto it = m_position.constFind(CaseFoldedHash(name));
    if (it == m_position.cend())
        return -1;
    if (m_names.at(*it).compare(name, Qt::CaseInsensitive) == 0)
        return *it;
    // Another name with the same hash: look through the list.
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList IniRecordStore::names()
{
    open();
    return m_names;
}

StoreStatus IniRecordStore::checkName(const QString& name) const
{
    if (name.isEmpty())
        return Fail(StoreError::BadName, QStringLiteral("A name cannot be empty"));
    if (name.size() > m_layout.nameWidth)
        return Fail(StoreError::BadName, QStringLiteral("A name holds at most %1 characters").arg(m_layout.nameWidth));
    if (const QString problem = TextProblem(name, QStringLiteral("A name")); !problem.isEmpty())
        return Fail(StoreError::BadName, problem);
    if (name.startsWith(QLatin1Char('[')) || name.startsWith(QLatin1Char(';')))
        return Fail(StoreError::BadName, QStringLiteral("A name cannot begin with \"[\" or \";\""));
    if (name.contains(QLatin1Char(']')) || name.contains(QLatin1Char('=')))
        return Fail(StoreError::BadName, QStringLiteral("A name cannot hold \"]\" or \"=\""));
    if (name.compare(kIndex, Qt::CaseInsensitive) == 0 || name.compare(kDefaults, Qt::CaseInsensitive) == 0)
        return Fail(StoreError::BadName, QStringLiteral("\"Index\" and \"Defaults\" cannot be used as names"));
    return StoreStatus::fine();
}

StoreStatus IniRecordStore::checkValue(const QString& value) const
{
    if (value.size() > m_layout.valueWidth)
        return Fail(StoreError::BadValue,
                    QStringLiteral("A value holds at most %1 characters").arg(m_layout.valueWidth));
    if (const QString problem = TextProblem(value, QStringLiteral("A value")); !problem.isEmpty())
        return Fail(StoreError::BadValue, problem);
    return StoreStatus::fine();
}

StoreStatus IniRecordStore::get(const QString& name, DirectoryRecord& out)
{
    if (StoreStatus s = open(); !s.ok())
        return s;
    const int at = indexOf(name);
    if (at < 0)
        return NotFound(name);
    out.name = m_names.at(at);
    if (std::optional<QString> own = m_doc.value(out.name, m_layout.valueKey))
        out.value = *own;
    else
        out.value = m_doc.value(kDefaults, m_layout.valueKey).value_or(QString());
    return StoreStatus::fine();
}

void IniRecordStore::setRecordValue(const QString& name, const QString& value)
{
    if (value.isEmpty())
        m_doc.removeKey(name, m_layout.valueKey);
    else
        m_doc.setValue(name, m_layout.valueKey, value);
}

void IniRecordStore::writeRecoveredIndex()
{
    if (m_doc.hasSection(kIndex))
        return;
    for (const QString& name : std::as_const(m_names))
        m_doc.setValue(kIndex, name, QStringLiteral("#"));
    m_doc.addSection(kIndex);
}

void IniRecordStore::setEntryCount()
{
    m_doc.setValue(kDefaults, kEntries, QString::number(m_doc.keys(kIndex).size()));
}

StoreStatus IniRecordStore::commit(IniDocument previous)
{
    const QString why = m_storage->write(m_doc.serialize());
    if (why.isEmpty()) {
        rebuild();
        return StoreStatus::fine();
    }
    m_doc = std::move(previous);
    rebuild();
    return Fail(StoreError::WriteFailed,
                QStringLiteral("Unable to write \"%1\" (%2); the list is unchanged").arg(m_storage->Name(), why));
}

StoreStatus IniRecordStore::add(const DirectoryRecord& record)
{
    if (StoreStatus s = open(); !s.ok())
        return s;
    if (StoreStatus s = checkName(record.name); !s.ok())
        return s;
    if (StoreStatus s = checkValue(record.value); !s.ok())
        return s;
    if (indexOf(record.name) >= 0)
        return Fail(StoreError::Exists, QString::fromLatin1(kRecordExistsText));
    if (m_names.size() >= m_layout.maxRecords)
        return Fail(StoreError::Full,
                    QStringLiteral("The list is full: it holds at most %1 entries").arg(m_layout.maxRecords));
    IniDocument previous = m_doc;
    writeRecoveredIndex();
    m_doc.removeSection(record.name);  // a section left over without its index line is no record
    m_doc.setValue(kIndex, record.name, QStringLiteral("#"));
    setRecordValue(record.name, record.value);
    setEntryCount();
    return commit(std::move(previous));
}

StoreStatus IniRecordStore::update(const QString& oldName, const DirectoryRecord& record)
{
    // Every check comes before the first change, and the change is written in one piece:
    // a refused rename leaves the old record in place.
    if (StoreStatus s = open(); !s.ok())
        return s;
    const int at = indexOf(oldName);
    if (at < 0)
        return NotFound(oldName);
    if (StoreStatus s = checkName(record.name); !s.ok())
        return s;
    if (StoreStatus s = checkValue(record.value); !s.ok())
        return s;
    const int taken = indexOf(record.name);
    if (taken >= 0 && taken != at)
        return Fail(StoreError::Exists, QString::fromLatin1(kRecordExistsText));

    IniDocument previous = m_doc;
    writeRecoveredIndex();
    const QString stored = m_names.at(at);
    if (taken < 0)
        m_doc.removeSection(record.name);  // a stray section under the new name
    // The index line keeps its place; a new spelling of the same name is taken too.
    m_doc.renameKey(kIndex, stored, record.name, QStringLiteral("#"));
    if (taken < 0)
        m_doc.removeKey(kIndex, stored);  // copies of the old index line further down
    m_doc.renameSection(stored, record.name);
    setRecordValue(record.name, record.value);
    setEntryCount();
    return commit(std::move(previous));
}

StoreStatus IniRecordStore::remove(const QString& name)
{
    if (StoreStatus s = open(); !s.ok())
        return s;
    const int at = indexOf(name);
    if (at < 0)
        return NotFound(name);
    IniDocument previous = m_doc;
    writeRecoveredIndex();
    m_doc.removeKey(kIndex, m_names.at(at));
    m_doc.removeSection(m_names.at(at));
    setEntryCount();
    return commit(std::move(previous));
}

} // namespace tamble
