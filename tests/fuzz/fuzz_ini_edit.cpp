// Random bytes as a phone list file, edited in memory: an Insert keeps every record
// that was shown (names, order and values) and a Delete gives the same list back; a name and
// value the store accepts read back exactly.

#include "directory/ini_record_store.h"

#include <cstdint>
#include <cstdlib>

using namespace tamble;

namespace {

struct Loaded {
    IniMemoryStorage* mem = nullptr;
    std::unique_ptr<IniRecordStore> store;
};

Loaded Load(const QByteArray& bytes)
{
    Loaded l;
    auto storage = std::make_unique<IniMemoryStorage>(bytes);
    l.mem = storage.get();
    l.store = std::make_unique<IniRecordStore>(RecordStoreLayout{QStringLiteral("Number"), 31, 83, 999},
                                               std::move(storage));
    return l;
}

QString ValueOf(IniRecordStore& store, const QString& name)
{
    DirectoryRecord r;
    if (!store.get(name, r).ok())
        std::abort();  // every listed name is a record
    return r.value;
}

// The records of `bytes` are `names` with `values` (the first few compared, to stay quick).
void ExpectRecords(const QByteArray& bytes, const QStringList& names, const QStringList& values)
{
    Loaded again = Load(bytes);
    if (again.store->names() != names)
        std::abort();
    for (int i = 0; i < values.size(); ++i) {
        if (ValueOf(*again.store, names.at(i)) != values.at(i))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Loaded l = Load(bytes);
    if (!l.store->open().ok())
        std::abort();  // memory never fails to read
    const QStringList names = l.store->names();
    QStringList values;
    for (int i = 0; i < names.size() && i < 16; ++i)
        values << ValueOf(*l.store, names.at(i));

    // Insert and Delete of a plain record.
    const DirectoryRecord plain{QStringLiteral("Fuzz Record"), QStringLiteral("555 0100")};
    const StoreStatus added = l.store->add(plain);
    if (added.ok()) {
        ExpectRecords(l.mem->bytes, names + QStringList{plain.name}, values);
        if (ValueOf(*l.store, plain.name) != plain.value || !l.store->remove(plain.name).ok())
            std::abort();
        ExpectRecords(l.mem->bytes, names, values);
    } else if (added.error != StoreError::Exists && added.error != StoreError::Full) {
        std::abort();
    } else if (added.message.isEmpty() || l.mem->bytes != bytes) {
        std::abort();  // a refusal says why and writes nothing
    }

    // A name and value taken from the input: refused with a reason, or stored so that they read
    // back exactly. (An empty value is stored as no value, which "Defaults" may fill: not tried.)
    const qsizetype cut = bytes.indexOf('\0');
    const DirectoryRecord odd{QString::fromLatin1(bytes.left(cut < 0 ? 31 : qMin<qsizetype>(cut, 31))),
                              QString::fromLatin1(cut < 0 ? QByteArray() : bytes.mid(cut + 1, 83))};
    if (odd.value.isEmpty())
        return 0;
    const QByteArray before = l.mem->bytes;
    const QStringList namesBefore = l.store->names();
    const StoreStatus oddAdded = l.store->add(odd);
    if (oddAdded.ok()) {
        Loaded again = Load(l.mem->bytes);
        if (again.store->names() != namesBefore + QStringList{odd.name} || ValueOf(*again.store, odd.name) != odd.value)
            std::abort();
    } else if (oddAdded.message.isEmpty() || l.mem->bytes != before) {
        std::abort();
    }
    return 0;
}
