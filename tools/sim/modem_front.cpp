#include "modem_front.h"

#include "sim_wire.h"

#include <algorithm>
#include <limits>

namespace tamble::sim {

namespace {

constexpr int kMaxCommand = 256;

bool StartsWithAt(const QByteArray& line)
{
    return line.size() >= 2 && (line[0] == 'A' || line[0] == 'a') && (line[1] == 'T' || line[1] == 't');
}

} // namespace

ModemFront::ModemFront(const SimConfig& config, std::unique_ptr<LoggerSim> logger, LogSink log)
    : m_cfg(config), m_logger(std::move(logger)), m_log(std::move(log)),
      m_callDice(config.faultSeed ^ 0x6361'6C6C'7321ULL)
{
    if (m_cfg.freshCalls)
        m_initial = std::make_unique<LoggerSim>(*m_logger);
}

void ModemFront::pullLoggerOutput()
{
    OutputQueue& q = m_logger->output();
    for (OutChunk& c : q.takeDue(std::numeric_limits<qint64>::max()))
        m_output.push(c.dueMs, c.bytes, c.baud);
}

void ModemFront::result(const QByteArray& text, qint64 dueMs)
{
    m_output.push(dueMs, "\r\n" + text + "\r\n", m_logger->config().baud);
}

void ModemFront::hangUp(qint64 nowMs, const QByteArray& how)
{
    m_log("HANGUP" + how);
    const bool wasConnected = m_connected;
    m_online = false;
    m_connected = false;
    m_callFault = CallFault::None;
    m_logger->resetLink();
    if (wasConnected && m_cfg.call && m_callsPlaced < m_cfg.callCount)
        m_callAt = nowMs + std::max<qint64>(m_cfg.callDelayMs, kMinCallDelayMs);
}

void ModemFront::receive(const QByteArray& bytes, qint64 nowMs)
{
    for (char ch : bytes) {
        if (m_online) {
            if (m_callFault != CallFault::Silent)
                m_logger->receive(QByteArray(1, ch), nowMs);
            if (ch == '+') {
                if (++m_plusCount == 3) {
                    m_plusCount = 0;
                    m_online = false;
                    m_command.clear();
                    m_onlineLine.clear();
                    m_log("ESCAPE");
                    result("OK", nowMs + m_cfg.modemDelayMs);
                }
                continue;
            }
            m_plusCount = 0;
            if (ch == '\r') {
                const QByteArray line = m_onlineLine;
                m_onlineLine.clear();
                if (StartsWithAt(line)) {
                    hangUp(nowMs, " dtr");
                    commandLine(line, nowMs);
                }
            } else if (m_onlineLine.size() < kMaxCommand) {
                m_onlineLine += ch;
            }
            continue;
        }
        if (m_cfg.modemEcho)
            m_output.push(nowMs, QByteArray(1, ch), m_logger->config().baud);
        if (ch == '\r') {
            const QByteArray line = m_command;
            m_command.clear();
            commandLine(line, nowMs);
        } else if (ch != '\n' && m_command.size() < kMaxCommand) {
            m_command += ch;
        }
    }
    if (m_online && m_callFault == CallFault::Drop && m_logger->blockReplies() - m_blocksAtCall >= m_dropAfterBlocks)
        dropCarrier(nowMs);
    pullLoggerOutput();
}

void ModemFront::dropCarrier(qint64 nowMs)
{
    m_log("NOCARRIER");
    m_logger->output().clear(); // the reply on its way is lost with the line
    m_logger->resetLink();
    m_online = false;
    m_connected = false;
    m_callFault = CallFault::None;
    m_command.clear();
    m_onlineLine.clear();
    m_plusCount = 0;
    result("NO CARRIER", nowMs);
}

void ModemFront::commandLine(const QByteArray& raw, qint64 nowMs)
{
    // Anything before "AT" (an escape sequence, line noise) is not part of the command.
    const qsizetype at = raw.toUpper().indexOf("AT");
    if (at < 0) {
        if (!raw.trimmed().isEmpty()) {
            m_log("MODEM " + EscapeForLog(raw));
            result("ERROR", nowMs + m_cfg.modemDelayMs);
        }
        return;
    }
    const QByteArray line = raw.mid(at);
    const QByteArray upper = line.toUpper();
    const qint64 due = nowMs + m_cfg.modemDelayMs;
    if (upper.startsWith("ATD")) {
        m_log("DIAL " + EscapeForLog(line));
        result(m_cfg.modemResult, due);
        if (m_cfg.modemResult.startsWith("CONNECT")) {
            m_online = true;
            m_connected = true;
            m_callFault = CallFault::None;
            m_logger->resetLink();
        }
        return;
    }
    if (upper.startsWith("ATH")) {
        result("OK", due);
        hangUp(nowMs, "");
        if (m_cfg.call && m_callsPlaced < m_cfg.callCount && !m_callAt)
            m_callAt = nowMs + std::max<qint64>(m_cfg.callDelayMs, kMinCallDelayMs);
        return;
    }
    if (upper.startsWith("ATO") && m_connected) {
        m_log("MODEM " + EscapeForLog(line));
        result("CONNECT 9600", due);
        m_online = true;
        return;
    }
    m_log("MODEM " + EscapeForLog(line));
    result("OK", due);
}

void ModemFront::tick(qint64 nowMs)
{
    m_logger->tick(nowMs);
    if (m_callAt && nowMs >= *m_callAt)
        placeCall(nowMs);
    pullLoggerOutput();
}

void ModemFront::placeCall(qint64 nowMs)
{
    m_callAt.reset();
    ++m_callsPlaced;
    if (m_initial)
        m_logger->startOver(*m_initial);
    QByteArray note;
    m_callFault = CallFault::None;
    if (m_cfg.silentCallsPercent > 0 || m_cfg.dropCallsPercent > 0) {
        const double roll = static_cast<double>(m_callDice.below(1000000)) / 10000.0;
        if (roll < m_cfg.silentCallsPercent) {
            m_callFault = CallFault::Silent;
            note = " silent";
        } else if (roll < m_cfg.silentCallsPercent + m_cfg.dropCallsPercent) {
            m_callFault = CallFault::Drop;
            m_dropAfterBlocks = 1 + m_callDice.below(10);
            note = " drop after " + QByteArray::number(m_dropAfterBlocks);
        }
    }
    m_blocksAtCall = m_logger->blockReplies();
    m_log("CALL " + QByteArray::number(m_callsPlaced) + note);
    result("RING", nowMs);
    result("CONNECT 9600", nowMs + kRingToConnectMs);
    m_online = true;
    m_connected = true;
    m_logger->resetLink();
}

std::optional<qint64> ModemFront::nextWake() const
{
    std::optional<qint64> wake = m_logger->nextWake();
    const auto consider = [&wake](qint64 t) {
        if (!wake || t < *wake)
            wake = t;
    };
    if (m_callAt)
        consider(*m_callAt);
    if (auto due = m_output.nextDue())
        consider(*due);
    return wake;
}

} // namespace tamble::sim
