// Random argument lists of up to four parameters (the bytes split at NUL) through the command-line
// parser: every list ends as a known request, a mode, or an error with its log routine and a
// message for the log, never in a crash or a half-made result.

#include "settings/command_line.h"
#include "settings/settings_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace tamble;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t knobs = data[0];
    QStringList params;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if (!rest.isEmpty()) {
        for (const QByteArray& part : rest.split('\0')) {
            if (params.size() == 4)
                break;
            params << ((knobs & 0x10) ? QString::fromLatin1(part) : QString::fromUtf8(part));
        }
    }

    const CommandLineRequest request = ClassifyCommandLine(params);
    if (request == CommandLineRequest::Open) {
        params = OpenParameters(params, QStringLiteral("/home/user"));
        check(params.size() <= 2);
    } else if (request == CommandLineRequest::UnknownOption) {
        check(!UsageHint(QStringLiteral("tamble-logger"), params.value(0)).isEmpty());
    } else if (request != CommandLineRequest::Modes) {
        return 0;  // help, version and the services take no positional parameters
    }

    SettingsRecord settings;
    const CommandLineResult result = ParseCommandLine(params, knobs & 1, settings);
    if (result.failed()) {
        // An error ends the run with a line in its log.
        check(!result.message.isEmpty());
    } else {
        check(result.message.isEmpty());
        const CommandLineMode& m = result.mode;
        // At most one unattended mode, and a graph only in an interactive run.
        check(int(m.sendSetup) + int(m.receive) + int(m.receiveCsv) + int(m.convert) + int(m.hangup) <= 1);
        check(!(m.openGraph && m.unattended() && !m.convert));  // a converted file is also the last data file
        check(!m.started);
    }
    check(!UpperExtension(params.value(0)).contains(QLatin1Char('/')));
    return 0;
}
