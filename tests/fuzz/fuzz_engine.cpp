// Random byte streams, time-outs, aborts and drained-output events fed to the session engine in
// every transaction and link state: status, download, real time, setup sending, station address,
// logger baud rate, modem dialling, com test and remote modem set-up. Besides raw garbage the input
// can inject well-formed pieces (acknowledgement, status record, memory block, "OK", modem results,
// real-time readings) or let a well-behaved logger answer, so the deep states are reached too. Nothing may crash, hang or
// grow without bound.
#include "../unit/link/virtual_host.h"

#include "link/baud_rate.h"
#include "link/com_test.h"
#include "link/framing.h"
#include "link/modem.h"
#include "link/network.h"
#include "link/remote_modem.h"
#include "link/setup_sender.h"
#include "setup/setup_record.h"

#include <QDir>

#include <cstddef>
#include <cstdint>

using namespace tamble;
using namespace tamble::vt;

namespace {

const int kBauds[] = {1200, 2400, 4800, 9600, 19200, 28800, 38400, 57600};
const char kRevisions[] = {'A', 'G', 'J', 'N', 'P', 'R', 'S', '^', 'c', 'o', 'p', 'q', 'z', '~', '\x7f', '@'};
const char* const kModemResults[] = {"OK", "CONNECT 9600", "BUSY", "NO CARRIER", "ERROR", "RING", "CON", "ATZ"};

// Reads the input a byte at a time; zeros once it is used up.
struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool more() const { return at < size; }
    std::uint8_t next() { return at < size ? data[at++] : 0; }
};

struct Fixture {
    VirtualLink link;
    SetupRecord setup = DefaultSetupRecord(QDateTime(QDate(2024, 6, 1), QTime(12, 0)));
    SetupSender sender{setup};
    StationAddressProgrammer station;
    BaudRateChanger baudChanger;
    ModemDialler dialler;
    ComTest comTest;
    RemoteModemSetup remoteModem;

    Fixture()
    {
        SessionEngine& e = link.engine;
        e.setTransactionHandler(TransactionKind::SendSetup, &sender);
        station.install(e);
        baudChanger.install(e);
        dialler.install(e);
        comTest.install(e);
        remoteModem.install(e);
    }

    // Starts one of the requests a user, the command line or an incoming call can make.
    void begin(std::uint8_t which)
    {
        SessionState& s = link.records.session;
        SessionEngine& e = link.engine;
        switch (which % 12) {
        case 0: link.start(TransactionKind::ReadStatus); break;
        case 1: link.start(TransactionKind::ReceiveData); break;
        case 2:
            s.realTimeRequested = true;
            s.realTimeGraph = which & 0x10;
            s.realTimeFailed = (which & 0x20) ? 1 : 0;
            link.start(TransactionKind::RealTime);
            break;
        case 3: link.start(TransactionKind::EndRealTime); break;
        case 4:
            s.setupSending = true;
            s.scalingOnly = which & 0x10;
            link.start(TransactionKind::SendSetup);
            break;
        case 5: station.start(e, which); break;
        case 6: (void)baudChanger.start(e); break;
        case 7: comTest.run(e); break;
        case 8: remoteModem.proceed(e); break;
        case 9: link.start(TransactionKind::StatusFirst); break;
        case 10:
            // As the menu command does it, but also with a modem (which the menu refuses).
            s.newBaud = kBauds[(which >> 4) & 7];
            s.setupPart = 0;
            link.start(TransactionKind::SetBaudRate);
            break;
        default: link.start(TransactionKind::None); break;
        }
    }

    void feed(const QByteArray& bytes) { link.engine.onBytes(bytes); }

    // The host keeps records of everything for the unit tests; the fuzzer needs none of them.
    void forget()
    {
        VirtualHost& h = link.host;
        h.vport.writes.clear();
        h.vport.bauds.clear();
        h.vport.dtr.clear();
        h.vport.writeBauds.clear();
        h.armings.clear();
        h.waits.clear();
        h.statusTexts.clear();
        h.messages.clear();
        h.realTimeLines.clear();
        h.logLines.clear();
    }
};

// A status record from five parameter bytes (resolution, revision, model, channels, bank, flags,
// pointer, length).
QByteArray StatusLine(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t flags, std::uint8_t low,
                      std::uint8_t length)
{
    const int bits = (a & 3) == 0 ? 8 : (a & 3) == 1 ? 10 : 12;
    StatusRecord r;
    r.bits(bits)
        .flags(flags)
        .channels(static_cast<std::uint8_t>((b & 0x2F) ^ 0x0F))  // zeros (input used up) give data
        .pointer(static_cast<std::uint16_t>(800 + (c << 7) + low))
        .revision(kRevisions[(a >> 2) & 15])
        .model((a & 0x40) ? '6' : (a & 0x80) ? '5' : '1')
        .bank(static_cast<char>('@' + ((b >> 6) & 3) + ((c & 1) ? 1 : 0)));
    QByteArray line = r.build();
    if (b & 0x10)
        line.truncate(length);  // a record of any length
    return line + '\r';
}

QByteArray StatusLine(Input& in)
{
    const std::uint8_t a = in.next();
    const std::uint8_t b = in.next();
    const std::uint8_t c = in.next();
    const std::uint8_t flags = in.next();
    const std::uint8_t low = in.next();
    return StatusLine(a, b, c, flags, low, (b & 0x10) ? in.next() : 0);
}

// The record a cooperating logger sends: varied by a small number, no input consumed.
QByteArray StatusLine(int variant)
{
    const auto v = static_cast<std::uint8_t>(variant);
    return StatusLine(static_cast<std::uint8_t>(v * 37), static_cast<std::uint8_t>(v & 0xEF), 0,
                      static_cast<std::uint8_t>(v & 0x09), 0, 0);
}

QByteArray GoodBlock(const SessionState& s)
{
    return BlockLine(s.bank >= 'A' && s.bank <= 'D' ? s.bank : 'A', s.readAddress, s.blockStep ? s.blockStep : 96) + '\r';
}

// What a well-behaved logger (or modem) would do next in the present state, so that short inputs
// reach the download, real-time, setup and station states instead of dying at the wake-up.
void Cooperate(Fixture& f, int variant)
{
    SessionState& s = f.link.records.session;
    SessionEngine& e = f.link.engine;
    const TransactionKind t = s.transaction;
    switch (s.linkState) {
    case LinkState::WakeUp:
        f.feed(QByteArray(1, static_cast<char>(EchoByteForBaud(f.link.records.settings.baud))));
        return;
    case LinkState::Handshake:
        f.feed(QByteArray("0") + kRevisions[variant & 15] + '\r');
        return;
    case LinkState::FastStart:
    case LinkState::Connected:
        e.onTimeout();
        return;
    case LinkState::AwaitResponse:
        if (t == TransactionKind::SendSetup || t == TransactionKind::SetBaudRate) {
            f.feed(QByteArrayLiteral("OK\r"));
        } else if (t == TransactionKind::ProgramStationAddress) {
            // Station programming checks the status reply's checksum.
            QByteArray line = StatusLine(variant);
            line.chop(1);
            f.feed(WithChecksum(line) + '\r');
        } else {
            f.feed(StatusLine(variant));
        }
        return;
    case LinkState::Transfer:
        if (t == TransactionKind::ReceiveData)
            f.feed(GoodBlock(s));
        else if (t == TransactionKind::RealTime && (variant & 1) == 0)
            f.feed(QByteArray(">") + WithChecksum(QByteArray("8081828384FF")) + '\r');
        else
            f.feed(QByteArrayLiteral("OK\r"));
        return;
    case LinkState::DialOutQuery:
        f.feed(QByteArray(variant & 1 ? "981530340000" : "971530000231") + '\r');
        return;
    case LinkState::ModemInit:
    case LinkState::RemoteModemSetup:
        f.feed(QByteArrayLiteral("OK\r"));
        return;
    case LinkState::Dialling:
        f.feed(QByteArrayLiteral("CONNECT 9600\r"));
        return;
    case LinkState::ComTest:
        f.feed(QByteArrayLiteral("U\r"));
        return;
    default:
        return;
    }
}

} // namespace

// Every virtual link makes (and removes) a folder for its download: in memory where there is one.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (QDir(QStringLiteral("/dev/shm")).exists())
        qputenv("TMPDIR", "/dev/shm");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    Fixture f;
    VirtualLink& link = f.link;
    link.host.logger = nullptr;  // the input plays the logger
    SettingsRecord& set = link.records.settings;
    SessionState& s = link.records.session;
    Input in{data, size};
    const std::uint8_t a = in.next();
    const std::uint8_t b = in.next();
    const std::uint8_t c = in.next();
    set.fastProtocol = a & 1;
    set.useModem = a & 2;
    set.wireless = a & 4;
    set.network = a & 8;
    set.stationAddress = 5;
    set.autoAnswer = a & 16;
    link.records.mode.receive = a & 32;
    link.records.mode.receiveCsv = a & 64;
    s.modemOnline = a & 128;
    set.baud = kBauds[b & 7];
    s.autoAnswerCount = (b & 8) ? 1 : 0;
    link.host.modelOutputDrain = b & 16;
    link.records.mode.sendSetup = b & 32;
    link.host.vport.refuseOpen = c >= 0xF0;

    f.begin(c);
    int events = 0;
    while (in.more() && !link.engine.finished() && events < 4000) {
        const std::uint8_t op = in.next();
        ++events;
        switch (op & 15) {
        case 0:
        case 1:
        case 2: {
            const std::size_t n = std::min<std::size_t>(in.size - in.at, (op >> 4) + 1);
            f.feed(QByteArray(reinterpret_cast<const char*>(in.data + in.at), static_cast<qsizetype>(n)));
            in.at += n;
            break;
        }
        case 3: {
            // A long run of one byte: babbling lines must stay bounded.
            const int n = (op >> 4) * 700;
            f.feed(QByteArray(n, static_cast<char>(in.next())));
            break;
        }
        case 4: link.engine.onTimeout(); break;
        case 5: link.engine.onAbort(); break;
        case 6:
            link.host.now += 1000000;
            link.engine.onOutputDrained();
            break;
        case 7: {
            const std::size_t n = std::min<std::size_t>(in.size - in.at, (op >> 4) + 1);
            link.host.vport.input += QByteArray(reinterpret_cast<const char*>(in.data + in.at), static_cast<qsizetype>(n));
            in.at += n;
            link.engine.onBytesAvailable();
            break;
        }
        case 8:
            // One to sixteen steps of a cooperating logger: a byte can carry a session far.
            // It pauses where a transfer begins, so the next event can meet the transfer state.
            for (int k = 0; k <= (op >> 4) && !link.engine.finished(); ++k) {
                const LinkState before = s.linkState;
                Cooperate(f, (op >> 4) + k);
                if (before != LinkState::Transfer && s.linkState == LinkState::Transfer)
                    break;
            }
            break;
        case 9: {
            // Handshake acknowledgement of 1 to 6 characters.
            QByteArray ack = QByteArray("xq71zz").left((op >> 4) % 6 + 1);
            ack[qMin<qsizetype>(1, ack.size() - 1)] = kRevisions[op >> 4];
            f.feed(ack + '\r');
            break;
        }
        case 10: f.feed(StatusLine(in)); break;
        case 11: {
            // The block the program asked for, spoiled.
            QByteArray line = GoodBlock(s);
            if (op & 0x10)
                line[3] = 'x';
            if (op & 0x20)
                line.truncate(150);
            if (op & 0x40)
                line.replace('\r', "");
            f.feed(line);
            break;
        }
        case 12: f.feed(QByteArrayLiteral("OK\r")); break;
        case 13: f.feed(QByteArray(kModemResults[(op >> 4) & 7]) + '\r'); break;
        case 14: {
            // A real-time reading with its checksum, after some noise.
            QByteArray body;
            for (int i = 0; i < 6; ++i)
                body += HexByte(in.next());
            f.feed(QByteArray((op >> 4), 'n') + '>' + WithChecksum(body) + '\r');
            break;
        }
        default:
            if (op & 0x10)
                link.engine.onProgressTick();
            else if (!link.engine.active())
                f.begin(in.next());  // the next request after a session has ended
            break;
        }
        if (s.rxBuffer.size() > SessionEngine::kMaxLineBytes)
            __builtin_trap();
        f.forget();
    }
    return 0;
}
