#include "logger_sim.h"

#include "link/status_encode.h"
#include "sim_wire.h"

#include <algorithm>
#include <cctype>
#include <bit>
#include <cmath>

namespace tamble::sim {

namespace {

int FullScale(int bits)
{
    return bits == 8 ? 255 : bits == 10 ? 1023 : 4095;
}

int Capacity(int bits)
{
    return bits == 8 ? 32256 : bits == 10 ? 25800 : 21504;
}

// Line speed of the program's port, told by the length and character of its wake-up burst.
int NormalBurstSpeed(std::uint8_t c, int count)
{
    const int blocks = (count + 125) / 250;
    if (c == 0x55)
        return 1200;
    if (c == 0x99)
        return blocks <= 5 ? 2400 : 4800;
    return blocks <= 23 ? 9600 : 19200;
}

int FastBurstSpeed(int count)
{
    const int blocks = (count + 2) / 5;
    if (blocks <= 1)
        return 1200;
    if (blocks <= 2)
        return 2400;
    if (blocks <= 5)
        return 4800;
    if (blocks <= 11)
        return 9600;
    if (blocks <= 19)
        return 19200;
    if (blocks <= 27)
        return 28800;
    if (blocks <= 39)
        return 38400;
    return 57600;
}

int TwoDigits(const QByteArray& text, int at)
{
    if (at + 2 > text.size() || !std::isdigit(static_cast<unsigned char>(text[at])) ||
        !std::isdigit(static_cast<unsigned char>(text[at + 1])))
        return -1;
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

QByteArray Num(qint64 n)
{
    return QByteArray::number(n);
}

} // namespace

QDateTime ParseLoggerClock(const QByteArray& text, int yearAt)
{
    const int ss = TwoDigits(text, 0), mm = TwoDigits(text, 2), hh = TwoDigits(text, 4);
    const int dd = TwoDigits(text, 6), mo = TwoDigits(text, 8), yy = TwoDigits(text, yearAt);
    if (ss < 0 || mm < 0 || hh < 0 || dd < 0 || mo < 0 || yy < 0)
        return {};
    const QDate date(yy >= 90 ? 1900 + yy : 2000 + yy, mo, dd);
    const QTime time(hh, mm, ss);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

LoggerSim::LoggerSim(const SimConfig& config, LogSink log, qint64 startMs, const QDateTime& startClock)
    : m_cfg(config), m_log(std::move(log)), m_memory(config.bits, config.model == '6' ? 4 : 1),
      m_source(config.seed, FullScale(config.bits)), m_startMs(startMs), m_startClock(startClock),
      m_noise(config.faultSeed)
{
    // The four-bank model always has banks A-D; --banks tells how many the recording
    // has reached (the last one is where the pointer is).
    const int channels = std::popcount(static_cast<unsigned>(m_cfg.channelMask & 0x0F));
    int pointer = 0;
    if (m_cfg.pointer)
        pointer = *m_cfg.pointer;
    else if (channels == 0)
        pointer = LoggerMemory::kDataStart;
    else if (m_cfg.wrap)
        pointer = LoggerMemory::kDataStart + 3000 + (m_cfg.bits == 10 ? 2 : m_cfg.bits == 12 ? 1 : 0);
    else
        pointer = LoggerMemory::kDataStart + 20 * m_memory.blockStep();
    m_lastBank = std::clamp(m_cfg.banks, 1, m_memory.banks()) - 1;
    m_wrapped = m_cfg.wrap;
    const int top = LoggerMemory::kDataStart + m_memory.bankBytes();
    const bool outside = pointer < LoggerMemory::kDataStart || pointer > top;
    m_phase = m_memory.record(m_cfg.channelMask, outside ? top : pointer, m_lastBank, m_wrapped, m_source);
    m_lastBank = m_memory.lastBank();
    if (outside)
        m_memory.setPointer(pointer); // a pointer no logger reports, kept as asked (memory full behind it)
    init();
}

LoggerSim::LoggerSim(const SimConfig& config, LoggerMemory memory, int phaseByte, int lastBank, LogSink log,
                     qint64 startMs, const QDateTime& startClock)
    : m_cfg(config), m_log(std::move(log)), m_memory(std::move(memory)),
      m_source(config.seed, FullScale(config.bits)), m_phase(phaseByte), m_lastBank(lastBank),
      m_wrapped(config.wrap), m_startMs(startMs), m_startClock(startClock), m_noise(config.faultSeed)
{
    init();
}

void LoggerSim::init()
{
    if (m_cfg.phase)
        m_phase = *m_cfg.phase;
    m_lineBaud = m_cfg.baud;
    // The dial-out schedule lives in the configuration area at 0x01D0, as BCD digits.
    for (int i = 0; i < 6; ++i) {
        const auto v = ParseHexByte(m_cfg.dialout.mid(2 * i, 2));
        m_memory.setByte(0, 0x01D0 + i, v ? *v : 0);
    }
    log("START revision=" + QByteArray(1, m_cfg.revision) + " model=" + QByteArray(1, m_cfg.model) +
        " bits=" + Num(m_cfg.bits) + " channels=" + HexByte(m_cfg.channelMask) + " lastbank=" +
        QByteArray(1, static_cast<char>('A' + m_lastBank)) + " pointer=" + Num(m_memory.pointer()) + " wrap=" + Num(m_wrapped ? 1 : 0) +
        " phase=" + Num(m_phase) + " station=" + Num(m_cfg.station) + " baud=" + Num(m_cfg.baud));
}

void LoggerSim::log(const QByteArray& line)
{
    if (m_log)
        m_log(line);
}

bool LoggerSim::addressed() const
{
    return static_cast<unsigned char>(m_cfg.revision) >= 'S';
}

int LoggerSim::echoByteFor(int baud)
{
    switch (baud) {
    case 1200: return 0xFF;
    case 2400: return 0xFE;
    case 4800: return 0xF8;
    case 9600: return 0x80;
    default: return 0x00;
    }
}

QByteArray LoggerSim::ackText() const
{
    if (!m_cfg.ackText.isEmpty())
        return m_cfg.ackText;
    if (static_cast<unsigned char>(m_cfg.revision) <= 'G')
        return QByteArray(1, m_cfg.revision); // the oldest family answers with one character
    return "0" + QByteArray(1, m_cfg.revision) + m_cfg.dateCode;
}

void LoggerSim::send(const QByteArray& bytes, qint64 dueMs, int baud)
{
    if (m_cfg.dead)
        return;
    m_output.push(dueMs, bytes, baud);
}

void LoggerSim::reply(const QByteArray& line, qint64 nowMs, qint64 extraDelayMs)
{
    QByteArray out = line;
    if (!out.isEmpty() && m_noise.chance(m_cfg.corruptRepliesPercent)) {
        // One bit of one byte flips on the way, never into the CR that ends the line.
        const int pos = m_noise.below(static_cast<int>(out.size()));
        int bit = m_noise.below(7);
        if (static_cast<char>(out[pos] ^ (1 << bit)) == '\r')
            bit = (bit + 1) % 7;
        out[pos] = static_cast<char>(out[pos] ^ (1 << bit));
        log("NOISE " + Num(pos));
    }
    send(out + '\r', nowMs + m_cfg.replyDelayMs + extraDelayMs, m_lineBaud);
}

void LoggerSim::startOver(const LoggerSim& initial)
{
    const FaultDice noise = m_noise;
    *this = initial;
    m_noise = noise;
}

void LoggerSim::resetLink()
{
    m_stage = Stage::Idle;
    m_inLine = false;
    m_line.clear();
    m_burstActive = false;
    m_streaming = false;
    m_yAnswered = false;
    m_seven.clear();
    m_lineBaud = m_cfg.baud;
}

void LoggerSim::receive(const QByteArray& bytes, qint64 nowMs)
{
    for (char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (m_inLine) {
            if (b == '\r') {
                m_inLine = false;
                processLine(m_line, nowMs);
                m_line.clear();
            } else if (m_line.size() >= kMaxLine) {
                log("OVERFLOW " + Num(m_line.size()));
                m_inLine = false;
                m_line.clear();
            } else {
                m_line += ch;
            }
            continue;
        }
        const bool burstChar = b == 0x55 || b == 0x99 || b == 0xF0;
        if (burstChar && m_stage != Stage::AwaitSeven) {
            if (!m_burstActive) {
                m_burstActive = true;
                m_burstCount = 0;
                m_burstChar = b;
                m_streaming = false; // any wake-up ends a real-time stream
            }
            ++m_burstCount;
            m_lastInputMs = nowMs;
            continue;
        }
        if (m_burstActive)
            finishBurst(nowMs);
        m_lastInputMs = nowMs;
        if (b == '>') {
            m_inLine = true;
            m_line.clear();
            if (m_stage == Stage::AwaitConfirm || m_stage == Stage::AwaitSeven)
                m_stage = Stage::Ready; // the program gave up the handshake and sends commands
            continue;
        }
        if (m_stage == Stage::AwaitConfirm || m_stage == Stage::AwaitSeven)
            confirmByte(b, nowMs);
    }
}

void LoggerSim::tick(qint64 nowMs)
{
    if (m_burstActive && nowMs - m_lastInputMs >= kBurstGapMs)
        finishBurst(nowMs);
    if (m_stage == Stage::AwaitSeven && nowMs - m_lastInputMs >= kBurstGapMs)
        finishSeven(nowMs);
    if (m_streaming && nowMs >= m_nextStreamMs) {
        send(realTimeLine(m_realTimeStep++) + '\r', nowMs, m_lineBaud);
        m_nextStreamMs += std::max(10, m_cfg.realtimeIntervalMs);
        if (m_nextStreamMs <= nowMs)
            m_nextStreamMs = nowMs + std::max(10, m_cfg.realtimeIntervalMs);
    }
}

std::optional<qint64> LoggerSim::nextWake() const
{
    std::optional<qint64> wake;
    const auto consider = [&wake](qint64 t) {
        if (!wake || t < *wake)
            wake = t;
    };
    if (m_burstActive || m_stage == Stage::AwaitSeven)
        consider(m_lastInputMs + kBurstGapMs);
    if (m_streaming)
        consider(m_nextStreamMs);
    if (auto due = m_output.nextDue())
        consider(*due);
    return wake;
}

void LoggerSim::finishBurst(qint64 nowMs)
{
    m_burstActive = false;
    bool fast = m_burstCount < 250 && m_burstChar == 0x55;
    if (m_cfg.protocol == WakeProtocol::Normal)
        fast = false;
    else if (m_cfg.protocol == WakeProtocol::Fast)
        fast = true;
    const int speed = fast ? FastBurstSpeed(m_burstCount) : NormalBurstSpeed(m_burstChar, m_burstCount);
    log("WAKEUP count=" + Num(m_burstCount) + " char=" + HexByte(m_burstChar) + " speed=" + Num(speed) +
        " protocol=" + (fast ? "fast" : "normal"));
    m_yAnswered = false;
    m_streaming = false;
    m_lineBaud = speed;
    if (fast) {
        m_stage = Stage::Ready;
        return;
    }
    m_stage = Stage::AwaitConfirm;
    if (++m_wakeups <= m_cfg.silentWakeups) {
        log("SILENT wakeup " + Num(m_wakeups));
        return;
    }
    if (m_cfg.wakeVariant == WakeVariant::RLine)
        send("R\r", nowMs, speed);
    else
        send(QByteArray(1, static_cast<char>(echoByteFor(m_cfg.baud))), nowMs, speed);
}

void LoggerSim::confirmByte(std::uint8_t b, qint64 nowMs)
{
    if (m_stage == Stage::AwaitSeven) {
        m_seven += static_cast<char>(b);
        if (m_seven.size() >= 7)
            finishSeven(nowMs);
        return;
    }
    int speed = 0;
    qint64 delay = kAckDelayMs;
    if (m_cfg.wakeVariant == WakeVariant::RLine) {
        static const int kLetterSpeeds[] = {1200, 2400, 4800, 9600, 19200};
        if (b < 'A' || b > 'E')
            return;
        speed = kLetterSpeeds[b - 'A'];
        delay = kSlowAckDelayMs;
    } else if (b == 0xC0) {
        speed = 1200;
    } else if (b == 0x80) {
        speed = m_cfg.baud;
    } else if (b == 'E') {
        speed = 19200;
        delay = kSlowAckDelayMs; // the program changes its speed two ticks after the "E"
    } else if (b == 0x00) {
        m_stage = Stage::AwaitSeven;
        m_seven = QByteArray(1, '\0');
        return;
    } else {
        return;
    }
    log("CONFIRM byte=" + HexByte(b) + " speed=" + Num(speed));
    m_lineBaud = speed;
    sendAck(nowMs, delay);
}

void LoggerSim::finishSeven(qint64 nowMs)
{
    // The 19200 confirmation over a modem: seven bytes, and the port stays at 19200.
    QByteArray hex;
    for (char c : m_seven)
        hex += HexByte(static_cast<std::uint8_t>(c));
    log("CONFIRM byte=" + hex + " speed=19200");
    m_seven.clear();
    m_lineBaud = 19200;
    sendAck(nowMs, kAckDelayMs);
}

void LoggerSim::sendAck(qint64 nowMs, qint64 delayMs)
{
    const QByteArray text = ackText();
    log("ACK " + EscapeForLog(text));
    send(text + '\r', nowMs + delayMs, m_lineBaud);
    m_stage = Stage::Ready;
}

void LoggerSim::processLine(const QByteArray& line, qint64 nowMs)
{
    const auto bad = [&](const char* what) { log(QByteArray(what) + " >" + EscapeForLog(line)); };
    if (line.size() < 3)
        return bad("BADSUM");
    const auto sum = ParseHexByte(line.right(2));
    QByteArray payload = line.left(line.size() - 2);
    if (!sum || ((ByteSum(payload) + *sum) & 0xFF) != 0)
        return bad("BADSUM");
    QByteArray stationText = "--";
    if (addressed()) {
        if (payload.size() < 3)
            return bad("BADFRAME");
        const auto st = ParseHexByte(payload.right(2));
        if (!st)
            return bad("BADFRAME");
        stationText = payload.right(2);
        payload.chop(2);
        if (*st != m_cfg.station && (m_cfg.strictAddress || *st != 0)) {
            log("IGNORED @" + stationText + " " + EscapeForLog(payload));
            return;
        }
    }
    dispatch(payload, stationText, nowMs);
}

void LoggerSim::dispatch(const QByteArray& body, const QByteArray& stationText, qint64 nowMs)
{
    ++m_requests;
    const Request req{body, " @" + stationText + " ", m_requests <= m_cfg.silentFirst, nowMs};
    const char first = body.isEmpty() ? '\0' : body[0];

    if (body == "C" || body == "B")
        answerStatus(req);
    else if (first == 'D' && body.size() == 6 && body[1] >= 'A' && body[1] <= 'D' && ParseHexWord(body.mid(2, 4)))
        answerBlock(req);
    else if (first == 'F' && body.size() == 3 && ParseHexByte(body.mid(1, 2)))
        answerStation(req);
    else if (first == 'I' && body.size() == 2 && static_cast<unsigned char>(body[1]) > 0x40)
        answerBaud(req);
    else if (body == "Z" || body == "Y")
        answerRealTime(req);
    else if (first == '0' || first == '1' || first == 'K' || first == '2' || first == '3' || first == '4')
        answerSetupPart(req);
    else
        log("UNKNOWN" + req.at + EscapeForLog(body) + req.quiet());
}

void LoggerSim::answerStatus(const Request& req)
{
    log("STATUS" + req.at + req.body + req.quiet());
    if (!req.silent)
        reply(statusRecord(req.nowMs), req.nowMs);
}

void LoggerSim::answerBlock(const Request& req)
{
    const QByteArray& body = req.body;
    const int bank = body[1] - 'A';
    const int address = *ParseHexWord(body.mid(2, 4));
    ++m_blockRequests;
    const bool skip = req.silent || m_blockRequests <= m_cfg.silentBlocks;
    QByteArray line = blockLine(bank, address);
    QByteArray note = skip ? QByteArray(" silent") : QByteArray();
    if (!skip) {
        ++m_blockReplies;
        if (m_cfg.corruptEvery > 0 && m_blockReplies % m_cfg.corruptEvery == 0) {
            // One data digit changes and the checksum stays: the line fails its check.
            const int pos = static_cast<int>((m_blockReplies * 7) % (line.size() - 2));
            line[pos] = line[pos] == '0' ? '1' : '0';
            note = " corrupt";
        }
    }
    log("BLOCK" + req.at + body.mid(1, 1) + " " + body.mid(2, 4) + note);
    if (!skip)
        reply(line, req.nowMs);
}

void LoggerSim::answerStation(const Request& req)
{
    log("STATION" + req.at + req.body.mid(1, 2) + req.quiet());
    if (!req.silent) {
        reply("OK", req.nowMs);
        m_cfg.station = *ParseHexByte(req.body.mid(1, 2));
    }
}

void LoggerSim::answerBaud(const Request& req)
{
    const int speed = (static_cast<unsigned char>(req.body[1]) - 0x40) * 1200;
    log("BAUD" + req.at + EscapeForLog(req.body.mid(1, 1)) + " " + Num(speed) + req.quiet());
    if (!req.silent) {
        reply("OK", req.nowMs); // still at the old speed
        m_cfg.baud = speed;
        m_lineBaud = speed;
    }
}

// "Z" starts the stream of readings; "Y" polls one reading.
void LoggerSim::answerRealTime(const Request& req)
{
    log("REALTIME" + req.at + req.body + req.quiet());
    if (req.silent)
        return;
    const qint64 nowMs = req.nowMs;
    if (req.body == "Z") {
        reply("OK", nowMs);
        m_streaming = true;
        m_nextStreamMs = nowMs + m_cfg.replyDelayMs + std::max(10, m_cfg.realtimeIntervalMs);
    } else if (!m_yAnswered) {
        // The first poll is acknowledged, and its reading follows after a measurement.
        m_yAnswered = true;
        reply("OK", nowMs);
        reply(realTimeLine(m_realTimeStep++), nowMs, m_cfg.realtimeIntervalMs);
    } else {
        reply(realTimeLine(m_realTimeStep++), nowMs);
    }
}

void LoggerSim::answerSetupPart(const Request& req)
{
    const char first = req.body[0];
    const char part = (first == '0' || first == 'K') ? '1' : first;
    log("SETUP" + req.at + QByteArray(1, part) + " " + EscapeForLog(req.body) + req.quiet());
    if (req.silent)
        return;
    ++m_setupParts;
    const bool garbled = m_setupParts <= m_cfg.garbleAcks;
    reply(garbled ? QByteArray("ER") : m_cfg.setupAck, req.nowMs);
    if (!garbled)
        applySetupPart(part, req.body, req.nowMs);
}

void LoggerSim::applySetupPart(char part, const QByteArray& body, qint64 nowMs)
{
    if (part == '1') {
        if (body.size() < 65)
            return;
        m_cfg.description = body.mid(30, 31);
        m_cfg.scalingCodes = body.mid(61, 4);
        if (body[0] == 'K')
            return; // scaling and labels only: the recording goes on
        const QDateTime pc = ParseLoggerClock(body.mid(1, 13), 11);
        if (pc.isValid()) {
            m_startClock = pc;
            m_startMs = nowMs;
        }
        m_cfg.clock.clear();
        m_cfg.firstReading.clear();
        m_cfg.lastReading.clear();
        m_cfg.rate = body[27];
        const auto channel = static_cast<std::uint8_t>(body[28]);
        m_cfg.channelMask = channel & 0x0F;
        m_cfg.channelFlags = channel & 0x2F;
        m_cfg.statusFlags = static_cast<std::uint8_t>(body[29]) & 0x3F;
        // A new setup erases the memory.
        m_memory.erase();
        m_phase = 0;
        m_lastBank = 0;
        m_wrapped = false;
        m_cfg.phase.reset();
        const QByteArray start = body.mid(14, 13);
        const QByteArray kind = start.mid(11, 2);
        QByteArray schedule = "000000000000";
        if (kind == "97" || kind == "98" || kind == "99")
            schedule = kind + start.mid(2, 2) + start.mid(4, 2) + "3" + start.mid(10, 1) + start.mid(6, 2) + "00";
        m_cfg.dialout = schedule;
        for (int i = 0; i < 6; ++i) {
            const auto v = ParseHexByte(schedule.mid(2 * i, 2));
            m_memory.setByte(0, 0x01D0 + i, v ? *v : 0);
        }
        return;
    }
    if (part == '2' || part == '3') {
        const int first = part == '2' ? 0 : 2;
        m_cfg.labels[first] = body.mid(1, 24);
        m_cfg.labels[first + 1] = body.mid(25, 24);
        return;
    }
    if (part == '4') {
        for (int i = 0; i < 4; ++i)
            m_cfg.scalingTexts[i] = body.mid(1 + 12 * i, 12);
        if (body.size() >= 52)
            m_cfg.inputTypes = (static_cast<unsigned char>(body[50]) & 63) + 64 * (static_cast<unsigned char>(body[51]) & 63);
    }
}

qint64 LoggerSim::readingsPerChannel() const
{
    const int channels = std::popcount(static_cast<unsigned>(m_cfg.channelMask & 0x0F));
    if (channels == 0)
        return 0;
    if (m_wrapped)
        return static_cast<qint64>(Capacity(m_cfg.bits)) * m_memory.banks() / channels;
    const qint64 bytes = static_cast<qint64>(m_lastBank) * m_memory.bankBytes() + (m_memory.pointer() - 512);
    qint64 readings = bytes;
    if (m_cfg.bits == 10)
        readings = (bytes * 4 + 4) / 5;
    else if (m_cfg.bits == 12)
        readings = (bytes * 2 + 2) / 3;
    return readings / channels;
}

std::uint8_t LoggerSim::batteryByte() const
{
    int b = m_cfg.battery >= 0 ? m_cfg.battery : 31; // about 3.6 volts
    if (b == '\r')
        b = '\r' + 1; // the 12-bit record carries it raw; a CR would cut the line
    return static_cast<std::uint8_t>(b);
}

std::array<std::uint16_t, 4> LoggerSim::currentCounts(qint64 step) const
{
    std::array<std::uint16_t, 4> counts{};
    for (int ch = 0; ch < 4; ++ch) {
        if (ch < m_cfg.scalingCodes.size() && m_cfg.scalingCodes[ch] != '0')
            counts[ch] = static_cast<std::uint16_t>(m_source.value(ch, readingsPerChannel() + step));
    }
    return counts;
}

QDateTime LoggerSim::clockAt(qint64 nowMs) const
{
    return m_startClock.addMSecs(nowMs - m_startMs);
}

QByteArray LoggerSim::statusRecord(qint64 nowMs) const
{
    StatusRecordFields f;
    const qint64 n = readingsPerChannel();
    const double minutes = SimRateMinutes(m_cfg.rate);
    const QDateTime last = m_startClock;
    const QDateTime first = last.addMSecs(-static_cast<qint64>(std::llround(std::max<qint64>(n - 1, 0) * minutes * 60000.0)));
    f.firstReadingClock = m_cfg.firstReading.isEmpty() ? LoggerClockText(first) : m_cfg.firstReading;
    f.lastReadingClock = m_cfg.lastReading.isEmpty() ? LoggerClockText(last) : m_cfg.lastReading;
    f.clockText = m_cfg.clock.isEmpty() ? LoggerClockText(clockAt(nowMs)) : m_cfg.clock;
    const int channels = std::popcount(static_cast<unsigned>(m_cfg.channelMask & 0x0F));
    f.statusFlags = static_cast<std::uint8_t>(
        m_cfg.statusFlags ? *m_cfg.statusFlags : ((m_wrapped ? 0x09 : 0x00) | (channels == 0 ? 0x02 : 0x00)));
    f.rateCode = m_cfg.rate;
    f.channelFlags = static_cast<std::uint8_t>(m_cfg.channelFlags ? *m_cfg.channelFlags : m_cfg.channelMask);
    f.inputTypes = m_cfg.inputTypes;
    f.phaseByte = static_cast<std::uint8_t>(m_phase);
    f.memoryPointer = static_cast<std::uint16_t>(m_memory.pointer());
    for (int i = 0; i < 4; ++i) {
        f.labels[i] = m_cfg.labels[i];
        f.scalingTexts[i] = m_cfg.scalingTexts[i];
        f.scalingCodes[i] = i < m_cfg.scalingCodes.size() ? m_cfg.scalingCodes[i] : '0';
    }
    f.description = m_cfg.description;
    f.currentCounts = currentCounts((nowMs - m_startMs) / 1000);
    f.batteryByte = batteryByte();
    f.stationAddress = static_cast<std::uint8_t>(m_cfg.station);
    f.revision = m_cfg.revision;
    f.modelDigit = m_cfg.model;
    f.resolutionBits = m_cfg.bits;
    f.lastBank = static_cast<char>('A' + m_lastBank);
    return EncodeStatusRecord(f);
}

QByteArray LoggerSim::realTimeLine(qint64 step) const
{
    return ">" + EncodeRealTimeLine(currentCounts(step), batteryByte(), m_cfg.bits);
}

QByteArray LoggerSim::blockLine(int bank, int address) const
{
    const QByteArray raw = m_memory.bytes(bank, address, m_memory.blockStep());
    QByteArray hex;
    hex.reserve(raw.size() * 2 + 2);
    for (char c : raw)
        hex += HexByte(static_cast<std::uint8_t>(c));
    return WithChecksum(hex);
}

} // namespace tamble::sim
