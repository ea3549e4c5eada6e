#include "program/command_line.h"

namespace tamble {

namespace {

// Parameter 3: "0" is a single logger; anything else is the station address
// of a logger on the network (its low byte, as the logger only has one).
bool applyStation(const QString& p3, SettingsRecord& settings)
{
    if (p3 == QLatin1String("0")) {
        settings.network = false;
        return true;
    }
    bool ok = false;
    const int value = p3.toInt(&ok, 10);
    if (!ok)
        return false;
    settings.network = true;
    settings.stationAddress = static_cast<std::uint8_t>(value & 0xFF);
    return true;
}

// Parameter 4: "0" turns the modem off; up to four characters name a
// phone-list entry (counted from 1); a longer text is the number to dial.
bool applyPhone(const QString& p4, SettingsRecord& settings)
{
    if (p4 == QLatin1String("0")) {
        settings.useModem = false;
        return true;
    }
    if (p4.size() <= 4) {
        bool ok = false;
        const int entry = p4.toInt(&ok, 10);
        if (!ok || entry < 1)
            return false;
        settings.useModem = true;
        settings.phoneEntry = entry - 1;
        return true;
    }
    settings.useModem = true;
    settings.phoneNumber = p4.left(kSettingsPhoneWidth);
    return true;
}

CommandLineResult fail(CommandLineResult result, LogRoutine routine, const QString& message)
{
    result.routine = routine;
    result.message = message;
    return result;
}

} // namespace

QString UpperExtension(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < slash)
        return {};
    return path.mid(dot).toUpper();
}

CommandLineResult ParseCommandLine(const QStringList& params, bool parameter1Exists,
                                   SettingsRecord& settings)
{
    CommandLineResult result;
    if (params.isEmpty())
        return result;
    const QString p1 = params.value(0);
    const QString p2 = params.value(1);
    const QString p3 = params.value(2);
    const QString p4 = params.value(3);
    const QString extension = UpperExtension(p1);

    if (p2.isEmpty()) {
        if (extension != QLatin1String(".TL1"))
            return fail(result, LogRoutine::Csv, QStringLiteral("Invalid command line; no .TL1 file type"));
        if (!parameter1Exists)
            return fail(result, LogRoutine::Csv,
                        QStringLiteral("Invalid command; File: ") + p1 + QStringLiteral(" does not exist."));
        result.mode.convert = true;
    }

    // A station or phone parameter that is no number cannot be acted on; it is
    // reported in the log of the mode instead of being guessed at.
    const LogRoutine paramRoutine = p2.isEmpty() ? LogRoutine::Csv : LogRoutine::Fatal;
    if (!p4.isEmpty() && !applyPhone(p4, settings))
        return fail(result, paramRoutine,
                    QStringLiteral("Invalid command line; ") + p4 + QStringLiteral(" is not a phone list entry"));
    if (!p3.isEmpty() && !applyStation(p3, settings))
        return fail(result, paramRoutine,
                    QStringLiteral("Invalid command line; ") + p3 + QStringLiteral(" is not a station address"));

    if (p2 == QLatin1String("s")) {
        if (extension != QLatin1String(".SET"))
            return fail(result, LogRoutine::Fatal, QStringLiteral("Invalid command line; no .set file type"));
        result.mode.sendSetup = true;
        settings.lastSetupFile = p1;
    } else if (p2 == QLatin1String("r")) {
        if (extension == QLatin1String(".TL1"))
            result.mode.receive = true;
        else if (extension == QLatin1String(".CSV"))
            result.mode.receiveCsv = true;
        else
            return fail(result, LogRoutine::Fatal, QStringLiteral("Invalid file name extension"));
    } else if (p2 == QLatin1String("h")) {
        result.mode.hangup = true;
    } else {
        settings.lastDataFile = p1;
        result.dataFileName = p1;
        result.mode.openGraph = true;
    }
    return result;
}

} // namespace tamble
