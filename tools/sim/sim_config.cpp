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

} // namespace

double SimRateMinutes(char rateCode)
{
    return RateMinutes(static_cast<unsigned char>(rateCode));
}

Result<ParsedArguments> ParseSimArguments(const QStringList& arguments)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "A virtual Tamble logger on a pseudo-terminal. Prints the slave path of the pty on the\n"
        "first line of standard output and serves one logger until it is killed.\n"
        "Log lines (--log): START, WAKEUP, CONFIRM, ACK, STATUS, BLOCK, SETUP, STATION, BAUD,\n"
        "REALTIME, UNKNOWN, BADSUM, IGNORED, SILENT, MODEM, DIAL, HANGUP, ESCAPE, CALL; framed\n"
        "commands log '@aa' (the station address received, '--' when none is carried)."));
    p.addHelpOption();
    const auto opt = [&p](const char* name, const char* help, const char* value = nullptr,
                          const char* def = nullptr) {
        QCommandLineOption o(QString::fromLatin1(name), QString::fromLatin1(help));
        if (value)
            o.setValueName(QString::fromLatin1(value));
        if (def)
            o.setDefaultValue(QString::fromLatin1(def));
        p.addOption(o);
        return QString::fromLatin1(name);
    };
    // Output files.
    opt("path-file", "Also write the pty slave path to this file.", "file");
    opt("log", "Write one line per received command, setup part and event to this file.", "file");
    opt("dump-image", "Write the data file a full download would give to this file, then serve.", "file");
    // Identity.
    opt("revision", "Firmware revision letter.", "letter", "q");
    opt("model", "Model digit ('1' single memory, '5' LX900, '6' four banks).", "digit", "1");
    opt("bits", "Resolution: 8, 10 or 12.", "bits", "12");
    opt("channels", "Recording channels, e.g. 12 or 1234.", "list", "12");
    opt("label", "Channel label, N=TEXT (N 1-4); may be repeated.", "n=text");
    opt("description", "Session description (31 characters).", "text", "Virtual logger");
    opt("scaling-codes", "Four scaling codes ('0' = channel not fitted).", "codes", "3333");
    opt("scaling-text", "Scaling text of a channel, N=TEXT (12 characters); may be repeated.", "n=text");
    opt("input-types", "Input-type word (3 bits per channel).", "word", "0");
    opt("rate", "Sample-rate code character.", "code", "G");
    opt("flags", "Status byte 1, bits 0-5 (overrides the derived value; bits 6-7 follow --bits).", "byte");
    opt("channel-flags", "Status byte 3 as reported (overrides --channels).", "byte");
    opt("pointer", "Memory pointer (address one past the last byte written).", "address");
    opt("phase", "Phase byte (status byte 5).", "byte");
    opt("wrap", "Memory has wrapped (continuous recording).");
    opt("banks", "Memory banks 1-4 (more than one implies model '6').", "n", "1");
    opt("station", "Station address 0-255.", "n", "0");
    opt("baud", "The logger's line speed.", "baud", "9600");
    opt("battery", "Battery byte.", "byte");
    opt("clock", "Logger clock text, 14 characters ssmmhhddmm0wyy (default: this PC's clock).", "text");
    opt("first-reading", "First-reading clock text (14 characters).", "text");
    opt("last-reading", "Last-reading clock text (14 characters).", "text");
    opt("dialout", "Dial-out schedule code, 12 hex digits.", "code", "000000000000");
    opt("seed", "Seed of the generated readings.", "n", "1");
    opt("tl1", "Take identity and memory image from this data file.", "file");
    // Protocol.
    opt("protocol", "Wake-up protocol: auto, normal (echo) or fast (no echo).", "kind", "auto");
    opt("wake-r", "Answer the wake-up burst with an \"R\" line and expect the baud letter.");
    opt("ack", "Handshake acknowledgement text (default: by revision).", "text");
    opt("date-code", "Two date-code characters added to the acknowledgement.", "cc");
    opt("setup-ack", "Reply to each setup part.", "text", "OK");
    opt("realtime-interval", "Milliseconds between real-time readings.", "ms", "1000");
    opt("strict-address", "Answer only the own station address (not 00).");
    opt("no-pace", "Do not pace the line: replies at once, commands heard at once.");
    // Faults.
    opt("corrupt-every", "Damage every K-th block reply (checksum then fails).", "k", "0");
    opt("silent-first", "Stay silent for the first N framed requests.", "n", "0");
    opt("silent-blocks", "Stay silent for the first N block requests.", "n", "0");
    opt("silent-wakeups", "Give no echo to the first N wake-up bursts.", "n", "0");
    opt("garble-acks", "Reject the first N setup parts with a garbled reply.", "n", "0");
    opt("dead", "Never answer anything.");
    opt("reply-delay", "Extra delay before every reply.", "ms", "0");
    // Modem.
    opt("modem", "Put a modem front end before the logger.");
    opt("modem-echo", "The modem echoes command lines.");
    opt("modem-result", "Result of a dial command (CONNECT 9600, BUSY, NO CARRIER ...).", "text",
        "CONNECT 9600");
    opt("modem-delay", "Milliseconds before a dial result.", "ms", "200");
    opt("call", "Call the program's auto-answer port after it hangs its modem up (implies --modem).");
    opt("call-delay", "Milliseconds after the program's ATH before calling (at least 1500).", "ms", "2000");
    opt("call-count", "Number of calls to place.", "n", "1");
    opt("loopback", "Behave as a looped-back cable plug (echo everything).");

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
    SimConfig& c = out.config;
    const auto fail = [](const QString& what) { return Result<ParsedArguments>::fail(what); };
    const auto value = [&p](const char* name) { return p.value(QString::fromLatin1(name)); };
    const auto isSet = [&p](const char* name) { return p.isSet(QString::fromLatin1(name)); };
    const auto number = [&](const char* name, int lo, int hi) -> std::optional<int> {
        const auto n = ParseNumber(value(name));
        if (!n || *n < lo || *n > hi)
            return std::nullopt;
        return n;
    };
    const auto one = [](const QString& text) -> std::optional<char> {
        const QByteArray b = text.toLatin1();
        if (b.size() != 1)
            return std::nullopt;
        return b[0];
    };

    c.pathFile = value("path-file");
    c.logFile = value("log");
    c.dumpImage = value("dump-image");

    auto r = one(value("revision"));
    if (!r || static_cast<unsigned char>(*r) < 0x21)
        return fail(QStringLiteral("--revision needs one letter"));
    c.revision = *r;
    auto m = one(value("model"));
    if (!m || *m < '0' || *m > '9')
        return fail(QStringLiteral("--model needs one digit"));
    c.model = *m;
    auto bits = number("bits", 8, 12);
    if (!bits || (*bits != 8 && *bits != 10 && *bits != 12))
        return fail(QStringLiteral("--bits must be 8, 10 or 12"));
    c.bits = *bits;
    c.channelMask = 0;
    for (QChar ch : value("channels")) {
        const int n = ch.digitValue();
        if (n < 1 || n > 4)
            return fail(QStringLiteral("--channels lists channel numbers 1-4"));
        c.channelMask |= static_cast<std::uint8_t>(1 << (n - 1));
    }
    for (const QString& l : p.values(QStringLiteral("label"))) {
        auto e = ParseIndexed(l);
        if (!e)
            return fail(QStringLiteral("--label needs N=TEXT with N 1-4"));
        c.labels[e->first] = e->second.left(24);
    }
    c.description = value("description").toLatin1().left(31);
    c.scalingCodes = value("scaling-codes").toLatin1();
    if (c.scalingCodes.size() != 4)
        return fail(QStringLiteral("--scaling-codes needs four characters"));
    for (const QString& t : p.values(QStringLiteral("scaling-text"))) {
        auto e = ParseIndexed(t);
        if (!e)
            return fail(QStringLiteral("--scaling-text needs N=TEXT with N 1-4"));
        c.scalingTexts[e->first] = e->second.left(12);
    }
    auto it = number("input-types", 0, 4095);
    if (!it)
        return fail(QStringLiteral("--input-types must be 0-4095"));
    c.inputTypes = *it;
    auto rate = one(value("rate"));
    if (!rate)
        return fail(QStringLiteral("--rate needs one code character"));
    c.rate = *rate;
    if (isSet("flags")) {
        auto f = number("flags", 0, 255);
        if (!f)
            return fail(QStringLiteral("--flags must be a byte"));
        c.statusFlags = *f;
    }
    if (isSet("channel-flags")) {
        auto f = number("channel-flags", 0, 255);
        if (!f)
            return fail(QStringLiteral("--channel-flags must be a byte"));
        c.channelFlags = *f;
    }
    if (isSet("pointer")) {
        auto f = number("pointer", 0, 65535);
        if (!f)
            return fail(QStringLiteral("--pointer must be 0-65535"));
        c.pointer = *f;
    }
    if (isSet("phase")) {
        auto f = number("phase", 0, 255);
        if (!f)
            return fail(QStringLiteral("--phase must be a byte"));
        c.phase = *f;
    }
    c.wrap = isSet("wrap");
    auto banks = number("banks", 1, 4);
    if (!banks)
        return fail(QStringLiteral("--banks must be 1-4"));
    c.banks = *banks;
    if (c.banks > 1 && !isSet("model"))
        c.model = '6';
    if (c.banks > 1 && c.model != '6')
        return fail(QStringLiteral("more than one bank needs model '6'"));
    auto st = number("station", 0, 255);
    if (!st)
        return fail(QStringLiteral("--station must be 0-255"));
    c.station = *st;
    auto baud = number("baud", 300, 115200);
    if (!baud)
        return fail(QStringLiteral("--baud must be a line speed"));
    c.baud = *baud;
    if (isSet("battery")) {
        auto b = number("battery", 0, 255);
        if (!b)
            return fail(QStringLiteral("--battery must be a byte"));
        c.battery = *b;
    }
    c.clock = value("clock").toLatin1();
    c.firstReading = value("first-reading").toLatin1();
    c.lastReading = value("last-reading").toLatin1();
    for (const QByteArray* t : {&c.clock, &c.firstReading, &c.lastReading}) {
        if (!t->isEmpty() && !IsClockText(*t))
            return fail(QStringLiteral("clock texts have 14 characters"));
    }
    c.dialout = value("dialout").toLatin1();
    if (c.dialout.size() != 12)
        return fail(QStringLiteral("--dialout needs 12 hex digits"));
    bool seedOk = false;
    c.seed = value("seed").toULongLong(&seedOk, 0);
    if (!seedOk)
        return fail(QStringLiteral("--seed must be a number"));
    c.tl1Path = value("tl1");

    const QString proto = value("protocol");
    if (proto == QLatin1String("auto"))
        c.protocol = WakeProtocol::Auto;
    else if (proto == QLatin1String("normal"))
        c.protocol = WakeProtocol::Normal;
    else if (proto == QLatin1String("fast"))
        c.protocol = WakeProtocol::Fast;
    else
        return fail(QStringLiteral("--protocol is auto, normal or fast"));
    c.wakeVariant = isSet("wake-r") ? WakeVariant::RLine : WakeVariant::Echo;
    c.ackText = value("ack").toLatin1();
    c.dateCode = value("date-code").toLatin1();
    if (!c.dateCode.isEmpty() && c.dateCode.size() != 2)
        return fail(QStringLiteral("--date-code needs two characters"));
    c.setupAck = value("setup-ack").toLatin1();
    auto rti = number("realtime-interval", 0, 3600000);
    if (!rti)
        return fail(QStringLiteral("--realtime-interval must be milliseconds"));
    c.realtimeIntervalMs = *rti;
    c.strictAddress = isSet("strict-address");
    c.pace = !isSet("no-pace");

    struct Count {
        const char* name;
        int* target;
    };
    for (const Count& n : {Count{"corrupt-every", &c.corruptEvery}, Count{"silent-first", &c.silentFirst},
                           Count{"silent-blocks", &c.silentBlocks},
                           Count{"silent-wakeups", &c.silentWakeups}, Count{"garble-acks", &c.garbleAcks},
                           Count{"reply-delay", &c.replyDelayMs}, Count{"modem-delay", &c.modemDelayMs},
                           Count{"call-delay", &c.callDelayMs}, Count{"call-count", &c.callCount}}) {
        auto v = number(n.name, 0, 100000000);
        if (!v)
            return fail(QStringLiteral("--") + QString::fromLatin1(n.name) +
                        QStringLiteral(" must be a whole number"));
        *n.target = *v;
    }
    c.dead = isSet("dead");
    c.modem = isSet("modem") || isSet("call");
    c.modemEcho = isSet("modem-echo");
    c.modemResult = value("modem-result").toLatin1();
    c.call = isSet("call");
    c.loopback = isSet("loopback");
    return Result<ParsedArguments>::ok(out);
}

} // namespace tamble::sim
