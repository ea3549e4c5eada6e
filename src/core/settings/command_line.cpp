#include "settings/command_line.h"

#include <QDir>

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

QString InvalidCommandLineText(const QString& why) { return QStringLiteral("Invalid command line; ") + why; }

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
            return fail(result, LogRoutine::Csv, InvalidCommandLineText(QStringLiteral("no .TL1 file type")));
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
                    InvalidCommandLineText(p4 + QStringLiteral(" is not a phone list entry")));
    if (!p3.isEmpty() && !applyStation(p3, settings))
        return fail(result, paramRoutine,
                    InvalidCommandLineText(p3 + QStringLiteral(" is not a station address")));

    if (p2 == QLatin1String("s")) {
        if (extension != QLatin1String(".SET"))
            return fail(result, LogRoutine::Fatal, InvalidCommandLineText(QStringLiteral("no .set file type")));
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

namespace {

// Kept in the order the usage text lists them.
const char* const kServiceOptions[] = {"--auto-answer", "--program-station", "--set-logger-baud", "--com-test",
                                       "--configure-remote-modem"};

} // namespace

bool IsServiceOption(const QString& parameter)
{
    for (const char* option : kServiceOptions) {
        if (parameter == QLatin1String(option))
            return true;
    }
    return false;
}

CommandLineRequest ClassifyCommandLine(const QStringList& params)
{
    if (params.isEmpty())
        return CommandLineRequest::Modes;
    const QString& first = params.first();
    if (IsServiceOption(first))
        return CommandLineRequest::Service;
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return CommandLineRequest::Help;
    if (first == QLatin1String("--version"))
        return CommandLineRequest::Version;
    if (first == QLatin1String("--open"))
        return CommandLineRequest::Open;
    if (first == QLatin1String("--summary") || first == QLatin1String("--report"))
        return CommandLineRequest::Analysis;
    if (first == QLatin1String("--archive-import") || first == QLatin1String("--archive-query") ||
        first == QLatin1String("--archive-loggers"))
        return CommandLineRequest::Archive;
    if (first.startsWith(QLatin1String("--")) && first.size() > 2)
        return CommandLineRequest::UnknownOption;
    return CommandLineRequest::Modes;
}

QStringList OpenParameters(const QStringList& params, const QString& currentDir)
{
    const QString file = params.value(1);
    if (file.isEmpty())
        return {};
    return {QDir::cleanPath(QDir(currentDir).absoluteFilePath(file)), QStringLiteral("open")};
}

bool IsSetupFileToOpen(const QStringList& openParameters)
{
    return openParameters.size() == 2 && openParameters.at(0).endsWith(QLatin1String(".set"), Qt::CaseInsensitive);
}

QString UsageText(const QString& program)
{
    const QString text = QStringLiteral(
        "Usage:\n"
        "  %1                        open the main window\n"
        "  %1 FILE.TL1               convert the data file to FILE.csv beside it, then end\n"
        "  %1 FILE.TL1 r [P3 [P4]]   download the logger into FILE.TL1, then end\n"
        "  %1 FILE.CSV r [P3 [P4]]   append the logger's current readings to FILE.CSV, then end\n"
        "  %1 FILE.SET s [P3 [P4]]   send the setup file to the logger, then end\n"
        "  %1 X h [P3 [P4]]          hang up the modem (X is not used), then end\n"
        "  %1 FILE MODE [P3 [P4]]    any other MODE, e.g. \"open\": open the window and\n"
        "%2the graph of FILE\n"
        "  %1 --open [FILE]          the same for desktop launches: FILE relative to the\n"
        "%2current folder; without FILE only the window\n"
        "\n"
        "Parameters 3 and 4 apply to this run:\n"
        "  P3  0: a single logger; 1-255: the station address of a logger on a network\n"
        "  P4  0: no modem; 1 to 4 digits: phone-list entry (counted from 1);\n"
        "      a longer text: the phone number to dial\n"
        "\n"
        "Options (headless; their one message goes to TLLOG.TXT and stdout):\n"
        "  --auto-answer [--calls N] [--com N]\n"
        "                              answer loggers that call in: status, download,\n"
        "                              setup sent back, hang-up; end after N calls;\n"
        "                              on COM N instead of the settings port\n"
        "  --program-station N         program station address N (0-255) into the logger\n"
        "  --set-logger-baud [BAUD]    change the logger's line speed (default: the settings speed)\n"
        "  --com-test                  the cable loop-back test\n"
        "  --configure-remote-modem    send the remote modem its initialisation string\n"
        "  --summary FILE... [--from T] [--to T] [--limit CH:LOW:HIGH]... [--format text|csv|json]\n"
        "                              print the statistics and limit excursions of the data\n"
        "                              files (.TL1/.TL2) to stdout; T is ISO 8601, e.g.\n"
        "                              2024-03-04T08:00:00; LOW or HIGH may be left out\n"
        "  --report OUT.pdf FILE... [the same options]\n"
        "                              write the report of the data files as a PDF\n"
        "  --archive-import PATH...    add data files (.TL1/.TL2), or folders of them, to the\n"
        "                              archive; a file archived before adds nothing\n"
        "  --archive-query [--logger TEXT] [--from T] [--to T] [--format csv|json]\n"
        "                              print the archived readings of the loggers whose\n"
        "                              description contains TEXT, one per reading and channel\n"
        "  --archive-loggers [--format csv|json]\n"
        "                              list the archived loggers with their last download\n"
        "  --help, -h                  this text\n"
        "  --version                   the program's version\n"
        "\n"
        "Exit status of unattended runs:\n"
        "  0  done (the log line tells what was done)\n"
        "  1  the logger, the port, a file or the log file failed\n"
        "  2  the command line is invalid\n"
        "\n"
        "Files:\n"
        "  A relative FILE is taken from the current folder, where the command was typed;\n"
        "  the CSV file of a conversion is written beside its data file.\n"
        "  Log lines go to TLLOG.TXT (CSVLOG.TXT for convert and its errors) in the program\n"
        "  folder: $TAMBLE_HOME when set, else ~/.local/share/tamble-logger for an installed\n"
        "  program. The settings, setups and sensor tables are kept there too.\n"
        "  COM n is the device in $TAMBLE_COMn, else the line COMn=DEVICE of ports.ini in the\n"
        "  program folder, else /dev/ttyS(n-1).\n"
        "  Every download is added to the archive, archive.sqlite in the program folder, or\n"
        "  the database archive.ini or $TAMBLE_ARCHIVE names (postgresql://USER@HOST:PORT/DB,\n"
        "  sqlite:PATH or off).\n");
    // Continued lines start under the descriptions.
    return text.arg(program, QString(program.size() + 26, QLatin1Char(' ')));
}

QString VersionText(const QString& program, const QString& version)
{
    return program + QLatin1Char(' ') + version;
}

QString UsageHint(const QString& program, const QString& option)
{
    return program + QStringLiteral(": unknown option ") + option + QStringLiteral("; see '") + program
        + QStringLiteral(" --help'");
}

} // namespace tamble
