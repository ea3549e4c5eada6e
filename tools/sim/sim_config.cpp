#include "sim_config.h"

#include "datafiles/timebase.h"

#include <QCommandLineParser>

namespace tamble::sim {

namespace {

std::optional<int> ParseNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 0); // decimal, or 0x.. hex
    return ok ? std::optional<int>(value) : std::nullopt;
}

// "N=TEXT" with N from 1 to 4.
std::optional<std::pair<int, QByteArray>> ParseIndexed(const QString& text)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq != 1)
        return std::nullopt;
    const int index = text.at(0).digitValue();
    if (index < 1 || index > 4)
        return std::nullopt;
    return std::make_pair(index - 1, text.mid(2).toLatin1());
}

bool IsClockText(const QByteArray& text)
{
    return text.size() == 14;
}

struct OptionDef {
    const char* name;
    const char* help;
    const char* value = nullptr;   // value name; none for a switch
    const char* def = nullptr;     // default value
};

// The options in the order --help lists them.
const OptionDef kOptions[] = {
    // Output files.
    {"path-file", "Also write the pty slave path to this file.", "file"},
    {"log", "Write one line per received command, setup part and event to this file.", "file"},
    {"dump-image", "Write the data file a full download would give to this file, then serve.", "file"},
    // Identity.
    {"revision", "Firmware revision letter.", "letter", "q"},
    {"model", "Model digit ('1' single memory, '5' LX900, '6' four banks).", "digit", "1"},
    {"bits", "Resolution: 8, 10 or 12.", "bits", "12"},
    {"channels", "Recording channels, e.g. 12 or 1234.", "list", "12"},
    {"label", "Channel label, N=TEXT (N 1-4); may be repeated.", "n=text"},
    {"description", "Session description (31 characters).", "text", "Virtual logger"},
    {"scaling-codes", "Four scaling codes ('0' = channel not fitted).", "codes", "3333"},
    {"scaling-text", "Scaling text of a channel, N=TEXT (12 characters); may be repeated.", "n=text"},
    {"input-types", "Input-type word (3 bits per channel).", "word", "0"},
    {"rate", "Sample-rate code character.", "code", "G"},
    {"flags", "Status byte 1, bits 0-5 (overrides the derived value; bits 6-7 follow --bits).", "byte"},
    {"channel-flags", "Status byte 3 as reported (overrides --channels).", "byte"},
    {"pointer", "Memory pointer (address one past the last byte written).", "address"},
    {"phase", "Phase byte (status byte 5).", "byte"},
    {"wrap", "Memory has wrapped (continuous recording)."},
    {"banks", "Memory banks 1-4 (more than one implies model '6').", "n", "1"},
    {"station", "Station address 0-255.", "n", "0"},
    {"baud", "The logger's line speed.", "baud", "9600"},
    {"battery", "Battery byte.", "byte"},
    {"clock", "Logger clock text, 14 characters ssmmhhddmm0wyy (default: this PC's clock).", "text"},
    {"first-reading", "First-reading clock text (14 characters).", "text"},
    {"last-reading", "Last-reading clock text (14 characters).", "text"},
    {"dialout", "Dial-out schedule code, 12 hex digits.", "code", "000000000000"},
    {"seed", "Seed of the generated readings.", "n", "1"},
    {"tl1", "Take identity and memory image from this data file.", "file"},
    // Protocol.
    {"protocol", "Wake-up protocol: auto, normal (echo) or fast (no echo).", "kind", "auto"},
    {"wake-r", "Answer the wake-up burst with an \"R\" line and expect the baud letter."},
    {"ack", "Handshake acknowledgement text (default: by revision).", "text"},
    {"date-code", "Two date-code characters added to the acknowledgement.", "cc"},
    {"setup-ack", "Reply to each setup part.", "text", "OK"},
    {"realtime-interval", "Milliseconds between real-time readings.", "ms", "1000"},
    {"strict-address", "Answer only the own station address (not 00)."},
    {"no-pace", "Do not pace the line: replies at once, commands heard at once."},
    // Faults.
    {"corrupt-every", "Damage every K-th block reply (checksum then fails).", "k", "0"},
    {"silent-first", "Stay silent for the first N framed requests.", "n", "0"},
    {"silent-blocks", "Stay silent for the first N block requests.", "n", "0"},
    {"silent-wakeups", "Give no echo to the first N wake-up bursts.", "n", "0"},
    {"garble-acks", "Reject the first N setup parts with a garbled reply.", "n", "0"},
    {"dead", "Never answer anything."},
    {"reply-delay", "Extra delay before every reply.", "ms", "0"},
    {"corrupt-replies", "Flip one byte in about PERCENT % of the reply lines.", "percent", "0"},
    {"silent-calls", "About PERCENT % of the calls connect but never answer (with --call).", "percent", "0"},
    {"drop-calls", "About PERCENT % of the calls lose the carrier during the download (with --call).", "percent",
     "0"},
    {"fault-seed", "Seed of the faults struck at random (--corrupt-replies, --silent-calls, --drop-calls).", "n",
     "1"},
    // Modem.
    {"modem", "Put a modem front end before the logger."},
    {"modem-echo", "The modem echoes command lines."},
    {"modem-result", "Result of a dial command (CONNECT 9600, BUSY, NO CARRIER ...).", "text", "CONNECT 9600"},
    {"modem-delay", "Milliseconds before a dial result.", "ms", "200"},
    {"call", "Call the program's auto-answer port after it hangs its modem up (implies --modem)."},
    {"call-delay", "Milliseconds after the program's ATH before calling (at least 1500).", "ms", "2000"},
    {"call-count", "Number of calls to place.", "n", "1"},
    {"calls", "Place N calls, the next after each hang-up, each from the logger as it started: a setup sent\n"
              "back during a call is forgotten (implies --call).", "n"},
    {"loopback", "Behave as a looped-back cable plug (echo everything)."},
};

void AddOptions(QCommandLineParser& p)
{
    p.setApplicationDescription(QStringLiteral(
        "A virtual Tamble logger on a pseudo-terminal. Prints the slave path of the pty on the\n"
        "first line of standard output and serves one logger until it is killed.\n"
        "Log lines (--log): START, WAKEUP, CONFIRM, ACK, STATUS, BLOCK, SETUP, STATION, BAUD,\n"
        "REALTIME, UNKNOWN, BADSUM, IGNORED, SILENT, MODEM, DIAL, HANGUP, ESCAPE, CALL, NOISE,\n"
        "NOCARRIER; framed"
        "commands log '@aa' (the station address received, '--' when none is carried)."));
    p.addHelpOption();
    for (const OptionDef& d : kOptions) {
        QCommandLineOption o(QString::fromLatin1(d.name), QString::fromLatin1(d.help));
        if (d.value)
            o.setValueName(QString::fromLatin1(d.value));
        if (d.def)
            o.setDefaultValue(QString::fromLatin1(d.def));
        p.addOption(o);
    }
}

// The parsed options by name. Each Read... step below fills one group of
// the configuration and returns the reason for the first value it refuses
// (empty when all are good).
class Options {
public:
    explicit Options(const QCommandLineParser& p) : m_p(p) {}

    QString value(const char* name) const { return m_p.value(QString::fromLatin1(name)); }
    QStringList values(const char* name) const { return m_p.values(QString::fromLatin1(name)); }
    bool isSet(const char* name) const { return m_p.isSet(QString::fromLatin1(name)); }
    std::optional<int> number(const char* name, int lo, int hi) const
    {
        const auto n = ParseNumber(value(name));
        if (!n || *n < lo || *n > hi)
            return std::nullopt;
        return n;
    }
    // The value when it is exactly one character.
    std::optional<char> one(const char* name) const
    {
        const QByteArray b = value(name).toLatin1();
        if (b.size() != 1)
            return std::nullopt;
        return b[0];
    }

private:
    const QCommandLineParser& m_p;
};

QString ReadIdentity(const Options& o, SimConfig& c)
{
    auto r = o.one("revision");
    if (!r || static_cast<unsigned char>(*r) < 0x21)
        return QStringLiteral("--revision needs one letter");
    c.revision = *r;
    auto m = o.one("model");
    if (!m || *m < '0' || *m > '9')
        return QStringLiteral("--model needs one digit");
    c.model = *m;
    auto bits = o.number("bits", 8, 12);
    if (!bits || (*bits != 8 && *bits != 10 && *bits != 12))
        return QStringLiteral("--bits must be 8, 10 or 12");
    c.bits = *bits;
    c.channelMask = 0;
    for (QChar ch : o.value("channels")) {
        const int n = ch.digitValue();
        if (n < 1 || n > 4)
            return QStringLiteral("--channels lists channel numbers 1-4");
        c.channelMask |= static_cast<std::uint8_t>(1 << (n - 1));
    }
    for (const QString& l : o.values("label")) {
        auto e = ParseIndexed(l);
        if (!e)
            return QStringLiteral("--label needs N=TEXT with N 1-4");
        c.labels[e->first] = e->second.left(24);
    }
    c.description = o.value("description").toLatin1().left(31);
    return {};
}

QString ReadScaling(const Options& o, SimConfig& c)
{
    c.scalingCodes = o.value("scaling-codes").toLatin1();
    if (c.scalingCodes.size() != 4)
        return QStringLiteral("--scaling-codes needs four characters");
    for (const QString& t : o.values("scaling-text")) {
        auto e = ParseIndexed(t);
        if (!e)
            return QStringLiteral("--scaling-text needs N=TEXT with N 1-4");
        c.scalingTexts[e->first] = e->second.left(12);
    }
    auto it = o.number("input-types", 0, 4095);
    if (!it)
        return QStringLiteral("--input-types must be 0-4095");
    c.inputTypes = *it;
    auto rate = o.one("rate");
    if (!rate)
        return QStringLiteral("--rate needs one code character");
    c.rate = *rate;
    return {};
}

// Status values that override the ones derived from the recording.
QString ReadStatusOverrides(const Options& o, SimConfig& c)
{
    struct Override {
        const char* name;
        int hi;
        const char* refusal;
        std::optional<int> SimConfig::*target;
    };
    static const Override kOverrides[] = {
        {"flags", 255, "--flags must be a byte", &SimConfig::statusFlags},
        {"channel-flags", 255, "--channel-flags must be a byte", &SimConfig::channelFlags},
        {"pointer", 65535, "--pointer must be 0-65535", &SimConfig::pointer},
        {"phase", 255, "--phase must be a byte", &SimConfig::phase},
    };
    for (const Override& v : kOverrides) {
        if (!o.isSet(v.name))
            continue;
        auto f = o.number(v.name, 0, v.hi);
        if (!f)
            return QString::fromLatin1(v.refusal);
        c.*v.target = *f;
    }
    c.wrap = o.isSet("wrap");
    return {};
}

QString ReadMemoryAndLine(const Options& o, SimConfig& c)
{
    auto banks = o.number("banks", 1, 4);
    if (!banks)
        return QStringLiteral("--banks must be 1-4");
    c.banks = *banks;
    if (c.banks > 1 && !o.isSet("model"))
        c.model = '6';
    if (c.banks > 1 && c.model != '6')
        return QStringLiteral("more than one bank needs model '6'");
    auto st = o.number("station", 0, 255);
    if (!st)
        return QStringLiteral("--station must be 0-255");
    c.station = *st;
    auto baud = o.number("baud", 300, 115200);
    if (!baud)
        return QStringLiteral("--baud must be a line speed");
    c.baud = *baud;
    if (o.isSet("battery")) {
        auto b = o.number("battery", 0, 255);
        if (!b)
            return QStringLiteral("--battery must be a byte");
        c.battery = *b;
    }
    return {};
}

QString ReadClocksAndSource(const Options& o, SimConfig& c)
{
    c.clock = o.value("clock").toLatin1();
    c.firstReading = o.value("first-reading").toLatin1();
    c.lastReading = o.value("last-reading").toLatin1();
    for (const QByteArray* t : {&c.clock, &c.firstReading, &c.lastReading}) {
        if (!t->isEmpty() && !IsClockText(*t))
            return QStringLiteral("clock texts have 14 characters");
    }
    c.dialout = o.value("dialout").toLatin1();
    if (c.dialout.size() != 12)
        return QStringLiteral("--dialout needs 12 hex digits");
    bool seedOk = false;
    c.seed = o.value("seed").toULongLong(&seedOk, 0);
    if (!seedOk)
        return QStringLiteral("--seed must be a number");
    c.tl1Path = o.value("tl1");
    return {};
}

QString ReadProtocol(const Options& o, SimConfig& c)
{
    const QString proto = o.value("protocol");
    if (proto == QLatin1String("auto"))
        c.protocol = WakeProtocol::Auto;
    else if (proto == QLatin1String("normal"))
        c.protocol = WakeProtocol::Normal;
    else if (proto == QLatin1String("fast"))
        c.protocol = WakeProtocol::Fast;
    else
        return QStringLiteral("--protocol is auto, normal or fast");
    c.wakeVariant = o.isSet("wake-r") ? WakeVariant::RLine : WakeVariant::Echo;
    c.ackText = o.value("ack").toLatin1();
    c.dateCode = o.value("date-code").toLatin1();
    if (!c.dateCode.isEmpty() && c.dateCode.size() != 2)
        return QStringLiteral("--date-code needs two characters");
    c.setupAck = o.value("setup-ack").toLatin1();
    auto rti = o.number("realtime-interval", 0, 3600000);
    if (!rti)
        return QStringLiteral("--realtime-interval must be milliseconds");
    c.realtimeIntervalMs = *rti;
    c.strictAddress = o.isSet("strict-address");
    c.pace = !o.isSet("no-pace");
    return {};
}

QString ReadFaultsAndModem(const Options& o, SimConfig& c)
{
    struct Count {
        const char* name;
        int SimConfig::*target;
    };
    static const Count kCounts[] = {
        {"corrupt-every", &SimConfig::corruptEvery}, {"silent-first", &SimConfig::silentFirst},
        {"silent-blocks", &SimConfig::silentBlocks}, {"silent-wakeups", &SimConfig::silentWakeups},
        {"garble-acks", &SimConfig::garbleAcks},     {"reply-delay", &SimConfig::replyDelayMs},
        {"modem-delay", &SimConfig::modemDelayMs},   {"call-delay", &SimConfig::callDelayMs},
        {"call-count", &SimConfig::callCount},
    };
    for (const Count& n : kCounts) {
        auto v = o.number(n.name, 0, 100000000);
        if (!v)
            return QStringLiteral("--") + QString::fromLatin1(n.name) + QStringLiteral(" must be a whole number");
        c.*n.target = *v;
    }
    c.dead = o.isSet("dead");
    c.modem = o.isSet("modem") || o.isSet("call");
    c.modemEcho = o.isSet("modem-echo");
    c.modemResult = o.value("modem-result").toLatin1();
    c.call = o.isSet("call");
    c.loopback = o.isSet("loopback");
    if (o.isSet("calls")) {
        auto n = o.number("calls", 1, 100000000);
        if (!n)
            return QStringLiteral("--calls must be a number of calls");
        c.call = c.modem = c.freshCalls = true;
        c.callCount = *n;
    }
    return {};
}

QString ReadRandomFaults(const Options& o, SimConfig& c)
{
    struct Percent {
        const char* name;
        double SimConfig::*target;
    };
    static const Percent kPercents[] = {{"corrupt-replies", &SimConfig::corruptRepliesPercent},
                                        {"silent-calls", &SimConfig::silentCallsPercent},
                                        {"drop-calls", &SimConfig::dropCallsPercent}};
    for (const Percent& p : kPercents) {
        bool ok = false;
        const double v = o.value(p.name).toDouble(&ok);
        if (!ok || v < 0 || v > 100)
            return QStringLiteral("--") + QString::fromLatin1(p.name) + QStringLiteral(" must be a percentage 0-100");
        c.*p.target = v;
    }
    if (c.silentCallsPercent + c.dropCallsPercent > 100)
        return QStringLiteral("--silent-calls and --drop-calls add up to more than 100 %");
    bool seedOk = false;
    c.faultSeed = o.value("fault-seed").toULongLong(&seedOk, 0);
    if (!seedOk)
        return QStringLiteral("--fault-seed must be a number");
    return {};
}

} // namespace

double SimRateMinutes(char rateCode)
{
    return RateMinutes(static_cast<unsigned char>(rateCode));
}

Result<ParsedArguments> ParseSimArguments(const QStringList& arguments)
{
    QCommandLineParser p;
    AddOptions(p);
    if (!p.parse(arguments))
        return Result<ParsedArguments>::fail(p.errorText());
    if (!p.positionalArguments().isEmpty())
        return Result<ParsedArguments>::fail(QStringLiteral("unexpected argument: ") +
                                             p.positionalArguments().first());

    ParsedArguments out;
    out.helpText = p.helpText();
    if (p.isSet(QStringLiteral("help"))) {
        out.helpRequested = true;
        return Result<ParsedArguments>::ok(out);
    }
    const Options options(p);
    SimConfig& c = out.config;
    c.pathFile = options.value("path-file");
    c.logFile = options.value("log");
    c.dumpImage = options.value("dump-image");
    for (const auto read : {ReadIdentity, ReadScaling, ReadStatusOverrides, ReadMemoryAndLine, ReadClocksAndSource,
                            ReadProtocol, ReadFaultsAndModem, ReadRandomFaults}) {
        const QString refusal = read(options, c);
        if (!refusal.isEmpty())
            return Result<ParsedArguments>::fail(refusal);
    }
    return Result<ParsedArguments>::ok(out);
}

} // namespace tamble::sim
