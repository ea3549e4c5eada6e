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

StoreStatus IniRecordStore::Open()
{
    if (m_open)
        return StoreStatus::Fine();
    const IniReadResult read = m_storage->Read();
    if (read.status == IniReadResult::Status::Failed) {
        m_doc = IniDocument();
        Rebuild();
        return Fail(StoreError::ReadFailed,
                    QStringLiteral("Unable to read \"%1\" (%2)").arg(m_storage->Name(), read.error));
    }
    if (read.status == IniReadResult::Status::Missing) {
        m_doc = IniDocument::Parse(QByteArrayLiteral("[Index]\r\n\r\n[Defaults]\r\n_Entries=0\r\n"));
        m_storage->Write(m_doc.Serialize());  // a refusal shows at the first change
    } else {
        m_doc = IniDocument::Parse(read.bytes);
    }
    Rebuild();
    m_open = true;
    return StoreStatus::Fine();
}

void IniRecordStore::Close()
{
    m_open = false;
    m_doc = IniDocument();
    m_names.clear();
    m_position.clear();
}

void IniRecordStore::Rebuild()
{
    m_names.clear();
    if (m_doc.HasSection(kIndex)) {
        m_names = m_doc.Keys(kIndex);
    } else {
        // A file that lost its index: every section but "Defaults" is taken as a record.
        for (const QString& section : m_doc.Sections()) {
            // Only names that can stand as index keys.
            if (section.compare(kDefaults, Qt::CaseInsensitive) != 0 && !section.isEmpty()
                && !section.contains(QLatin1Char('=')) && !section.startsWith(QLatin1Char('['))
                && !section.startsWith(QLatin1Char(';')))
                m_names << section;
        }
    }
    m_position.clear();
    for (int i = 0; i < m_names.size(); ++i)
        m_position.insert(m_names.at(i).toCaseFolded(), i);
}

int IniRecordStore::IndexOf(const QString& name) const
{
    return m_position.value(name.toCaseFolded(), -1);
}

QStringList IniRecordStore::Names()
{
    Open();
    return m_names;
}

StoreStatus IniRecordStore::CheckName(const QString& name) const
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
    return StoreStatus::Fine();
}

StoreStatus IniRecordStore::CheckValue(const QString& value) const
{
    if (value.size() > m_layout.valueWidth)
        return Fail(StoreError::BadValue,
                    QStringLiteral("A value holds at most %1 characters").arg(m_layout.valueWidth));
    if (const QString problem = TextProblem(value, QStringLiteral("A value")); !problem.isEmpty())
        return Fail(StoreError::BadValue, problem);
    return StoreStatus::Fine();
}

StoreStatus IniRecordStore::Get(const QString& name, DirectoryRecord& out)
{
    if (StoreStatus s = Open(); !s.ok())
        return s;
    const int at = IndexOf(name);
    if (at < 0)
        return Fail(StoreError::NotFound, QStringLiteral("No record named \"%1\" exists").arg(name));
    out.name = m_names.at(at);
    out.value = m_doc.Value(out.name, m_layout.valueKey)
                    .value_or(m_doc.Value(kDefaults, m_layout.valueKey).value_or(QString()));
    return StoreStatus::Fine();
}

void IniRecordStore::SetRecordValue(const QString& name, const QString& value)
{
    if (value.isEmpty())
        m_doc.RemoveKey(name, m_layout.valueKey);
    else
        m_doc.SetValue(name, m_layout.valueKey, value);
}

void IniRecordStore::WriteRecoveredIndex()
{
    if (m_doc.HasSection(kIndex))
        return;
    for (const QString& name : std::as_const(m_names))
        m_doc.SetValue(kIndex, name, QStringLiteral("#"));
    m_doc.AddSection(kIndex);
}

void IniRecordStore::SetEntryCount()
{
    m_doc.SetValue(kDefaults, kEntries, QString::number(m_doc.Keys(kIndex).size()));
}

StoreStatus IniRecordStore::Commit(IniDocument previous)
{
    const QString why = m_storage->Write(m_doc.Serialize());
    if (why.isEmpty()) {
        Rebuild();
        return StoreStatus::Fine();
    }
    m_doc = std::move(previous);
    Rebuild();
    return Fail(StoreError::WriteFailed,
                QStringLiteral("Unable to write \"%1\" (%2); the list is unchanged").arg(m_storage->Name(), why));
}

StoreStatus IniRecordStore::Add(const DirectoryRecord& record)
{
    if (StoreStatus s = Open(); !s.ok())
        return s;
    if (StoreStatus s = CheckName(record.name); !s.ok())
        return s;
    if (StoreStatus s = CheckValue(record.value); !s.ok())
        return s;
    if (IndexOf(record.name) >= 0)
        return Fail(StoreError::Exists, QString::fromLatin1(kRecordExistsText));
    if (m_names.size() >= m_layout.maxRecords)
        return Fail(StoreError::Full,
                    QStringLiteral("The list is full: it holds at most %1 entries").arg(m_layout.maxRecords));
    IniDocument previous = m_doc;
    WriteRecoveredIndex();
    m_doc.RemoveSection(record.name);  // a section left over without its index line is no record
    m_doc.SetValue(kIndex, record.name, QStringLiteral("#"));
    SetRecordValue(record.name, record.value);
    SetEntryCount();
    return Commit(std::move(previous));
}

StoreStatus IniRecordStore::Update(const QString& oldName, const DirectoryRecord& record)
{
    // Every check comes before the first change, and the change is written in one piece:
    // a refused rename leaves the old record in place.
    if (StoreStatus s = Open(); !s.ok())
        return s;
    const int at = IndexOf(oldName);
    if (at < 0)
        return Fail(StoreError::NotFound, QStringLiteral("No record named \"%1\" exists").arg(oldName));
    if (StoreStatus s = CheckName(record.name); !s.ok())
        return s;
    if (StoreStatus s = CheckValue(record.value); !s.ok())
        return s;
    const int taken = IndexOf(record.name);
    if (taken >= 0 && taken != at)
        return Fail(StoreError::Exists, QString::fromLatin1(kRecordExistsText));

    IniDocument previous = m_doc;
    WriteRecoveredIndex();
    const QString stored = m_names.at(at);
    if (taken < 0)
        m_doc.RemoveSection(record.name);  // a stray section under the new name
    // The index line keeps its place; a new spelling of the same name is taken too.
    m_doc.RenameKey(kIndex, stored, record.name, QStringLiteral("#"));
    if (taken < 0)
        m_doc.RemoveKey(kIndex, stored);  // copies of the old index line further down
    m_doc.RenameSection(stored, record.name);
    SetRecordValue(record.name, record.value);
    SetEntryCount();
    return Commit(std::move(previous));
}

StoreStatus IniRecordStore::Delete(const QString& name)
{
    if (StoreStatus s = Open(); !s.ok())
        return s;
    const int at = IndexOf(name);
    if (at < 0)
        return Fail(StoreError::NotFound, QStringLiteral("No record named \"%1\" exists").arg(name));
    IniDocument previous = m_doc;
    WriteRecoveredIndex();
    m_doc.RemoveKey(kIndex, m_names.at(at));
    m_doc.RemoveSection(m_names.at(at));
    SetEntryCount();
    return Commit(std::move(previous));
}

} // namespace tamble
