// Random bytes as a settings file and as a command line: never a crash, never
// a read outside a field, and a record that settles after one round trip.

#include "settings/command_line.h"
#include "settings/settings_record.h"

#include <cstdint>
#include <cstdlib>

using namespace tamble;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const auto rec = DeserializeSettings(bytes);
    if (rec) {
        const QByteArray again = SerializeSettings(*rec);
        if (again.size() != kSettingsRecordSize || DeserializeSettings(again) != rec)
            std::abort();
    } else if (size >= static_cast<std::size_t>(kSettingsRecordSize)) {
        std::abort();
    }

    // The same bytes as up to four parameters separated by NUL bytes; the
    // first byte decides whether parameter 1 exists.
    QStringList params;
    for (const QByteArray& part : bytes.mid(1).split('\0').mid(0, 4))
        params << QString::fromLatin1(part);
    SettingsRecord settings = rec.value_or(SettingsRecord{});
    const CommandLineResult result = ParseCommandLine(params, size > 0 && (data[0] & 1), settings);
    if (result.failed() && result.message.isEmpty())
        std::abort();
    if (settings.phoneNumber.size() > kSettingsPhoneWidth)
        std::abort();
    SerializeSettings(settings);
    return 0;
}
