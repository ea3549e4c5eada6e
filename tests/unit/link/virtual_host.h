#pragma once
// The one test host of the session engine. Two ways to drive it:
// - VirtualLink: port, trigger, waits and clock run on a simulated microsecond clock, with a
//   scripted logger on the far end of the port. A session that would take minutes of time-outs
//   runs in milliseconds and always the same way.
// - FakeRun: waits are over at once and only counted; the test plays the logger (or modem) by
//   handing lines to the engine and firing the trigger by hand.
//
//     VirtualLink link;                     // records, host, engine and logger
//     link.logger.status = StatusRecord{}.bits(10).pointer(587).build();
//     link.start(TransactionKind::ReceiveData);
//     link.run();
//     EXPECT_EQ(link.host.fatalLine, "Transfer complete: ...");

#include "program/app_records.h"
#include "link/download.h"
#include "link/framing.h"
#include "link/session_engine.h"
#include "util/user_dialog.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tamble::vt {

inline std::int64_t TickUs(std::int64_t ticks) { return ticks * 10000000 / 182; }

// ---------------------------------------------------------------- status record

// Builds a status record at the logger's positions (1-based in the comments).
class StatusRecord {
public:
    StatusRecord& bits(int b) { m_bits = b; return *this; }
    StatusRecord& flags(std::uint8_t f) { m_flags = f; return *this; }
    StatusRecord& channels(std::uint8_t c) { m_channels = c; return *this; }
    StatusRecord& pointer(std::uint16_t p) { m_pointer = p; return *this; }
    StatusRecord& revision(char r) { m_revision = r; return *this; }
    StatusRecord& model(char m) { m_model = m; return *this; }
    StatusRecord& bank(char b) { m_bank = b; return *this; }
    StatusRecord& rate(char r) { m_rate = r; return *this; }
    StatusRecord& phase(std::uint8_t p) { m_phase = p; return *this; }
    StatusRecord& description(const QByteArray& d) { m_description = d; return *this; }

    QByteArray build() const
    {
        QByteArray r;
        r += "00301215060724";                   // 1-14 first reading
        r += "00301216060724";                   // 15-28 last reading
        std::uint8_t flags = m_flags;
        if (m_bits == 10)
            flags |= 0x80;
        r += HexByte(flags) + HexByte(static_cast<std::uint8_t>(m_rate)) + HexByte(m_channels);
        r += "@@";                               // 35-36 input types
        r += HexByte(m_phase) + HexWord(m_pointer);  // 37-42
        for (int i = 1; i <= 4; ++i)
            r += QByteArray("Label ").append(QByteArray::number(i)).leftJustified(24, ' ');  // 43-138
        r += m_description.leftJustified(31, ' ', true);   // 139-169
        r += QByteArray("808080808080");         // 170-181 current readings
        QByteArray clock = "00301217060724";     // 182-195, 192 = bank letter
        clock[10] = m_bank;
        r += clock;
        r += "00";                               // 196-197 station address
        for (int i = 0; i < 4; ++i)
            r += QByteArray("C").leftJustified(12, ' ');  // 198-245
        r += "CCCC";                             // 246-249
        r += m_revision;                         // 250
        r += m_model;                            // 251
        if (m_bits == 12)
            r += "\x50" "00"; // 252 battery byte, 253-254: 254 characters make a 12-bit record
        return r;
    }

private:
    int m_bits = 8;
    std::uint8_t m_flags = 0;
    std::uint8_t m_channels = 0x0F;
    std::uint16_t m_pointer = 512;
    char m_revision = 'q';
    char m_model = '1';
    char m_bank = 'A';
    char m_rate = 'D';
    std::uint8_t m_phase = 0;
    QByteArray m_description = "Test run";
};

// A data line: bytes as hex digits plus the response checksum.
inline QByteArray WithChecksum(const QByteArray& text)
{
    unsigned sum = 0;
    for (char c : text)
        sum += static_cast<std::uint8_t>(c);
    return text + HexByte(static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF));
}

// The content of one memory block of the scripted logger: a pattern derived from bank and address.
inline QByteArray BlockBytes(char bank, int address, int step)
{
    QByteArray bytes;
    for (int i = 0; i < step; ++i)
        bytes += static_cast<char>((address + i * 7 + (bank - 'A') * 13) & 0xFF);
    return bytes;
}

inline QByteArray BlockLine(char bank, int address, int step)
{
    return WithChecksum(BlockBytes(bank, address, step).toHex().toUpper());
}

class VirtualHost;

// ---------------------------------------------------------------- scripted logger

struct ScriptedLogger {
    enum class Protocol { Normal, Fast };
    Protocol protocol = Protocol::Normal;
    char revision = 'q';            // decides whether commands carry a station address
    QByteArray ack = "0q";          // handshake acknowledgement line (without CR)
    bool echo = true;               // answer the wake-up with the echo byte
    std::uint8_t echoByte = 0x80;
    QByteArray status;              // status record line
    QByteArray dialOut = "991530000000";
    int blockStep = 96;
    bool dead = false;              // never answers anything
    int silentCommands = 0;         // ignore the first n commands
    int corruptEvery = 0;           // the first answer to every k-th block is corrupted
    bool corruptAlways = false;     // every block answer is corrupted
    bool silentBlocks = false;      // never answer block requests
    bool silentRealTime = false;    // never answer "Y" or "Z"
    std::int64_t replyDelayUs = 2000;
    std::function<void(const QByteArray& body)> onCommand;

    // What it heard.
    QList<QByteArray> commands;     // command bodies (between '>' and CR)
    QList<QByteArray> blockRequests;

    // --- internal ---
    QByteArray line;
    bool echoed = false;
    std::map<QByteArray, int> corrupted;
    int blocksAnswered = 0;
};

// ---------------------------------------------------------------- port and host

class VirtualPort : public SerialPort {
public:
    explicit VirtualPort(VirtualHost& host) : m_host(host) {}
    void setPortNumber(int n) override { number = n; }
    int portNumber() const override { return number; }
    void setBaud(int b) override { baudRate = b; bauds.push_back(b); }
    int baud() const override { return baudRate; }
    void setOutputBufferSize(int) override {}
    bool open() override
    {
        ++opens;
        if (refuseOpen)
            return false;
        opened = true;
        return true;
    }
    void close() override
    {
        opened = false;
        ++closes;
        input.clear();
    }
    bool isOpen() const override { return opened; }
    QString errorString() const override { return QStringLiteral("no such port"); }
    void setDtr(bool raised) override { dtr.push_back(raised); }
    void putString(const QByteArray& bytes) override;
    QByteArray takeInput() override { QByteArray b = input; input.clear(); return b; }
    std::int64_t inputBytesWaiting() const override { return input.size(); }
    std::int64_t outputBytesPending() const override;
    void flushInput() override { input.clear(); }
    void flushOutput() override {}

    // The writes that are framed commands (start with '>').
    QList<QByteArray> frames() const
    {
        QList<QByteArray> out;
        for (const QByteArray& w : writes)
            if (w.startsWith('>'))
                out.push_back(w);
        return out;
    }

    int number = 1;
    int baudRate = 1200;
    bool opened = false;
    bool refuseOpen = false;
    int opens = 0;
    int closes = 0;
    QByteArray input;
    QByteArray written;              // every byte written
    QList<QByteArray> writes;        // every putString
    std::vector<int> bauds;
    std::vector<bool> dtr;
    std::vector<int> writeBauds;     // port speed at each putString

private:
    VirtualHost& m_host;
};

class VirtualHost : public SessionHost {
public:
    VirtualHost() : vport(*this) {}

    SessionEngine* engine = nullptr;
    ScriptedLogger* logger = nullptr;

    // Delivery of the logger's answers.
    bool byteWise = false;
    // Model the output queue draining at the wire speed (10 bits a byte).
    bool modelOutputDrain = false;
    // Without the drain event (the port never reports that output has drained).
    bool drainEventMissing = false;

    std::int64_t now = 0;            // microseconds of virtual time
    VirtualPort vport;
    // Waits are over at once (FakeRun) instead of on the virtual clock.
    bool immediateWaits = false;
    // As the program does: the log line of an unattended end closes the port (FakeRun).
    bool closePortOnFatal = false;
    std::uint16_t triggerHandle = 1;
    int armed = 0;                   // the last arming, 0 when disarmed
    int reservations = 0;
    int releases = 0;
    struct PendingWait {
        std::int64_t at;
        std::uint64_t seq;
        std::function<void()> then;
    };
    std::vector<PendingWait> pendingWaits;
    std::optional<std::int64_t> triggerAt;
    int triggerArms = 0;
    std::vector<int> armings;        // every non-zero arming in ticks
    std::vector<int> waits;          // every tick wait
    std::int64_t outputDoneAt = 0;
    bool drainPending = false;

    QList<Outcome> messages;
    std::deque<DialogAnswer> answers;
    QStringList logLines;
    QString fatalLine;               // the last of fatalLines
    QStringList fatalLines;
    int fatalCode = -1;
    int hangups = 0;
    QString autoFile;
    QStringList statusTexts;
    int exports = 0;
    QString exportedCsv;
    int resendTimerStarts = 0;
    int autoAnswerHangups = 0;
    int graphOffers = 0;
    int sessionsEnded = 0;
    QStringList csvAppends;
    bool csvAppendOk = true;
    QDateTime clock = QDateTime(QDate(2024, 6, 15), QTime(12, 30, 0));

    struct Delivery {
        std::int64_t at;
        std::uint64_t seq;
        QByteArray bytes;
    };
    std::vector<Delivery> deliveries;
    std::uint64_t seq = 0;

    void send(const QByteArray& bytes, std::int64_t delayUs)
    {
        if (byteWise) {
            for (int i = 0; i < bytes.size(); ++i)
                deliveries.push_back({now + delayUs + i, seq++, bytes.mid(i, 1)});
        } else {
            deliveries.push_back({now + delayUs, seq++, bytes});
        }
    }

    // Runs events in time order until nothing is pending or the program ended. `limit` counts the
    // events from outside (bytes, drained output, time-outs); the waits they begin are run to
    // their end as part of them. Returns the number of events handled.
    int run(int limit = 200000)
    {
        int handled = 0;
        while ((handled < limit || !pendingWaits.empty()) && engine && !engine->finished()) {
            std::int64_t next = INT64_MAX;
            int kind = 0;
            std::size_t index = 0;
            for (std::size_t i = 0; i < deliveries.size(); ++i) {
                const auto& d = deliveries[i];
                if (d.at < next || (d.at == next && kind == 1 && d.seq < deliveries[index].seq)) {
                    next = d.at;
                    kind = 1;
                    index = i;
                }
            }
            if (drainPending && outputDoneAt < next) {
                next = outputDoneAt;
                kind = 2;
            }
            if (triggerAt && *triggerAt < next) {
                next = *triggerAt;
                kind = 3;
            }
            for (std::size_t i = 0; i < pendingWaits.size(); ++i) {
                if (pendingWaits[i].at < next) {
                    next = pendingWaits[i].at;
                    kind = 4;
                    index = i;
                }
            }
            if (kind == 0)
                break;
            now = std::max(now, next);
            if (kind != 4)
                ++handled;
            if (kind == 1) {
                Delivery d = deliveries[index];
                deliveries.erase(deliveries.begin() + static_cast<long>(index));
                if (!vport.opened)
                    continue;
                vport.input += d.bytes;
                engine->onBytesAvailable();
            } else if (kind == 2) {
                drainPending = false;
                if (!drainEventMissing)
                    engine->onOutputDrained();
            } else if (kind == 4) {
                std::function<void()> then = std::move(pendingWaits[index].then);
                pendingWaits.erase(pendingWaits.begin() + static_cast<long>(index));
                then();
            } else {
                triggerAt.reset();
                engine->onTimeout();
            }
        }
        return handled;
    }

    // --- SessionHost ---
    SerialPort& port() override { return vport; }
    bool reserveTrigger(std::uint16_t& handle) override
    {
        handle = triggerHandle;
        ++reservations;
        return true;
    }
    void armTrigger(int ticks) override
    {
        armed = ticks;
        if (ticks <= 0) {
            triggerAt.reset();
            return;
        }
        ++triggerArms;
        armings.push_back(ticks);
        triggerAt = now + TickUs(ticks);
    }
    void releaseTrigger() override
    {
        ++releases;
        triggerAt.reset();
    }
    void after(int ticks, std::function<void()> then) override
    {
        waits.push_back(ticks);
        if (immediateWaits) {
            then();
            return;
        }
        // Waits come after what is already due at the same moment.
        pendingWaits.push_back({now + TickUs(ticks), seq++, std::move(then)});
    }
    void resetStopwatch() override { stopwatchStart = now; }
    std::int64_t elapsedSeconds() override { return (now - stopwatchStart) / 1000000; }
    QDateTime currentDateTime() override { return clock; }
    DialogAnswer showMessage(const Outcome& o) override
    {
        messages.push_back(o);
        if (messageService)
            return messageService->ask({o.kind, o.message, o.buttons, o.helpContext, {}, {}});
        if (answers.empty())
            return o.buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Ok;
        const DialogAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void appendLogLine(const QString& line) override { logLines << line; }
    void fatalLogAndExit(const QString& line, int code) override
    {
        fatalLine = line;
        fatalLines << line;
        fatalCode = code;
        if (closePortOnFatal)
            vport.close();
    }
    void setStatusText(const QString& t) override
    {
        statusTexts << t;
        statusText = t;
    }
    void setMainWindowEnabled(bool on) override { mainEnabled = on; }
    void showMainWindow() override { ++mainShown; }
    void showStatusWindow() override { if (onShowStatusWindow) onShowStatusWindow(); }
    void closeStatusWindow() override { if (onCloseStatusWindow) onCloseStatusWindow(); }
    void closeStationAddressDialog() override { if (onCloseStationAddressDialog) onCloseStationAddressDialog(); }
    void showStatus() override { if (onShowStatus) onShowStatus(); }

    // Windows: a test forwards the engine's window callbacks, or counts them.
    MessageService* messageService = nullptr;  // answers dialogs instead of `answers` when set
    QString statusText;
    bool mainEnabled = true;
    int mainShown = 0;
    std::function<void()> onShowStatusWindow;
    std::function<void()> onCloseStatusWindow;
    std::function<void()> onCloseStationAddressDialog;
    std::function<void()> onShowStatus;
    std::function<void(const QByteArray&)> onRealTimeLine;
    std::function<void()> onSessionEnded;
    void setMeter(int percent) override { meter = percent; }
    void setProgressTimerRunning(bool running) override { progressRunning = running; }
    int meter = -1;
    bool progressRunning = false;
    bool autoExport(const QString&, const QString& csv, int) override
    {
        ++exports;
        exportedCsv = csv;
        return true;
    }
    void offerGraph() override { ++graphOffers; }
    void startResendTimer() override { ++resendTimerStarts; }
    void realTimeLine(const QByteArray& line) override
    {
        realTimeLines << line;
        if (onRealTimeLine)
            onRealTimeLine(line);
    }
    QList<QByteArray> realTimeLines;
    void autoAnswerHangup() override { ++autoAnswerHangups; }
    void hangupModem() override { ++hangups; }
    QString nextAutoAnswerFile() override { return autoFile; }
    void sessionEnded() override
    {
        ++sessionsEnded;
        if (onSessionEnded)
            onSessionEnded();
    }
    void dataFileComplete(const QString& file) override { completedFiles << file; }
    QStringList completedFiles;
    bool appendReceiveCsv(const QString& file) override
    {
        csvAppends << file;
        return csvAppendOk;
    }

    // Nothing to see in a test: the session window's controls, the beep, the other windows.
    void beep() override {}
    void setMeterVisible(bool) override {}
    void setBlockCountVisible(bool) override {}
    void setBlockCount(int) override {}
    void setFileText(const QString&) override {}
    void setAbortVisible(bool) override {}
    void setAbortEnabled(bool) override {}
    void setSessionWindowVisible(bool) override {}
    void setSetupWindowEnabled(bool) override {}
    void clearTableErrors() override {}
    void dialOutReply(const QByteArray&) override {}
    void setGraphLoadOnShow(bool) override {}

    std::int64_t stopwatchStart = 0;

    // Called by the port on every write.
    void wrote(const QByteArray& bytes);
};

// The logger's reaction to bytes from the host.
inline void LoggerHears(ScriptedLogger& lg, VirtualHost& host, const QByteArray& bytes)
{
    if (lg.dead)
        return;
    for (char c : bytes) {
        const auto u = static_cast<std::uint8_t>(c);
        if (!lg.line.isEmpty() || c == '>') {
            if (c == '\r') {
                const QByteArray frame = lg.line.mid(1);
                lg.line.clear();
                // Body without station address and checksum (the revision decides about the address).
                QByteArray body = frame.left(frame.size() - 2);
                if (RevisionTakesStationAddress(lg.revision) && body.size() >= 3)
                    body.chop(2);
                lg.commands << body;
                if (lg.onCommand)
                    lg.onCommand(body);
                if (lg.silentCommands > 0) {
                    --lg.silentCommands;
                    continue;
                }
                if (body == "C" || body == "B") {
                    host.send(lg.status + '\r', lg.replyDelayUs);
                } else if (body == "DA01D0") {
                    host.send(lg.dialOut + '\r', lg.replyDelayUs);
                } else if (body.startsWith('D') && body.size() == 6) {
                    lg.blockRequests << body;
                    if (lg.silentBlocks)
                        continue;
                    const char bank = body[1];
                    const int address = QByteArray(body.mid(2)).toInt(nullptr, 16);
                    QByteArray reply = BlockLine(bank, address, lg.blockStep);
                    ++lg.blocksAnswered;
                    const bool kth = lg.corruptEvery > 0 && (address / lg.blockStep) % lg.corruptEvery == 0;
                    if (lg.corruptAlways || (kth && lg.corrupted[body]++ == 0))
                        reply[3] = reply[3] == '0' ? '1' : '0';
                    host.send(reply + '\r', lg.replyDelayUs);
                } else if ((body == "Y" || body == "Z") && !lg.silentRealTime) {
                    host.send("OK\r", lg.replyDelayUs);
                }
            } else {
                lg.line += c;
            }
            continue;
        }
        if (lg.protocol == ScriptedLogger::Protocol::Normal) {
            if ((u == 0x55 || u == 0x99 || u == 0xF0) && lg.echo && !lg.echoed) {
                lg.echoed = true;
                host.send(QByteArray(1, static_cast<char>(lg.echoByte)), TickUs(5));
            } else if (u == 0x80 || u == 0xC0 || c == 'E') {
                lg.echoed = false;  // the next wake-up is answered again
                if (!lg.ack.isEmpty())
                    host.send(lg.ack + '\r', TickUs(1));
            }
        }
    }
}

inline void VirtualPort::putString(const QByteArray& bytes)
{
    written += bytes;
    writes << bytes;
    writeBauds.push_back(baudRate);
    m_host.wrote(bytes);
}

inline std::int64_t VirtualPort::outputBytesPending() const
{
    if (!m_host.modelOutputDrain || m_host.now >= m_host.outputDoneAt)
        return 0;
    return 1 + (m_host.outputDoneAt - m_host.now) * baudRate / 10000000;
}

inline void VirtualHost::wrote(const QByteArray& bytes)
{
    if (modelOutputDrain) {
        const std::int64_t start = std::max(now, outputDoneAt);
        // A port without a speed (never set) sends at once.
        outputDoneAt = start + (vport.baudRate > 0 ? static_cast<std::int64_t>(bytes.size()) * 10000000 / vport.baudRate : 0);
        drainPending = true;
    }
    if (logger)
        LoggerHears(*logger, *this, bytes);
}

// ---------------------------------------------------------------- everything together

struct VirtualLink {
    AppRecords records;
    VirtualHost host;
    ScriptedLogger logger;
    SessionEngine engine;
    QTemporaryDir dir;

    VirtualLink()
        : engine(host, SessionRecords{records.session, records.settings, records.loggerInfo, records.geometry,
                                      records.mode, records.dataFileName})
    {
        host.engine = &engine;
        host.logger = &logger;
        records.settings.fastProtocol = false;
        records.settings.baud = 9600;
        records.dataFileName = dir.filePath(QStringLiteral("OUT.TL1"));
        logger.status = StatusRecord{}.build();
    }

    void start(TransactionKind kind)
    {
        records.session.transaction = kind;
        records.session.retryCount = 0;
        host.resetStopwatch();
        engine.StartSession();
    }

    // Bodies of the framed commands the program sent (between '>' and CR).
    QList<QByteArray> frames() const
    {
        QList<QByteArray> out;
        for (const QByteArray& w : host.vport.writes)
            if (w.startsWith('>') && w.endsWith('\r'))
                out << w.mid(1, w.size() - 2);
        return out;
    }

    QByteArray fileBytes() const
    {
        QFile f(records.dataFileName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool fileExists() const { return QFile::exists(records.dataFileName); }
    QStringList dirEntries() const { return QDir(dir.path()).entryList(QDir::Files); }
};

// The records of one run and an engine over a host whose waits are over at once; the test plays
// the logger by hand.
struct FakeRun {
    FakeRun()
    {
        settings.fastProtocol = true;
        settings.baud = 9600;
        settings.lastSetupFile = QStringLiteral("site.set");
        host.immediateWaits = true;
        host.closePortOnFatal = true;
        host.triggerHandle = 7;
        host.clock = QDateTime(QDate(2026, 12, 9), QTime(7, 30, 45));
    }
    SessionState state;
    SettingsRecord settings;
    LoggerInfo info;
    MemoryGeometry geometry;
    CommandLineMode mode;
    QString dataFile;
    VirtualHost host;
    SessionEngine& engine()
    {
        if (!m_engine) {
            m_engine = std::make_unique<SessionEngine>(
                host, SessionRecords{state, settings, info, geometry, mode, dataFile});
            host.engine = m_engine.get();
        }
        return *m_engine;
    }
    // A line from the logger (CR appended).
    void reply(const QByteArray& line) { engine().onBytes(line + '\r'); }

private:
    std::unique_ptr<SessionEngine> m_engine;
};

} // namespace tamble::vt
