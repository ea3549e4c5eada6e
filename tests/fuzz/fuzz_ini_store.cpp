// Random bytes as a phone list file, in memory: reading it and listing its
// records never crashes, and every listed name is a record that reads back.
// Editing the list has its own target (fuzz_ini_edit).
#include "directory/ini_record_store.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace tamble;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniRecordStore store(RecordStoreLayout{QStringLiteral("Number"), 31, 83, 999},
                         std::make_unique<IniMemoryStorage>(bytes));
    if (!store.open().ok())
        std::abort();  // memory never fails to read
    DirectoryRecord record;
    for (const QString& name : store.names())
        if (!store.get(name, record).ok())
            std::abort();  // every listed name is a record
    return 0;
}
