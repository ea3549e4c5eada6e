#include "link/auto_answer.h"
#include "link/link_timing.h"

#include "settings/settings_record.h"
#include "format/logger_info.h"
#include "link/setup_sender.h"
#include "setup/setup_file.h"

#include <QDir>

namespace tamble {

namespace {

bool unsafeNameByte(unsigned char b)
{
    return b < 0x20 || b >= 0x7F || b == '/' || b == '\\' || b == ':' || b == '*' || b == '?' || b == '"' ||
           b == '<' || b == '>' || b == '|';
}

QString logSafe(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    return out;
}

} // namespace

QString AutoAnswerPrefix(QByteArrayView description)
{
    const qsizetype semi = description.indexOf(';');
    if (semi < 0 || semi >= description.size() - 1)
        return QStringLiteral("A");
    QByteArray prefix = description.sliced(semi + 1).toByteArray();
    while (!prefix.isEmpty() && prefix.endsWith(' '))
        prefix.chop(1);
    for (char& c : prefix)
        if (unsafeNameByte(static_cast<unsigned char>(c)))
            c = '_';
    for (char& c : prefix) {
        if (c != '-' && c != '.')
            break;
        c = '_';  // no option-like or hidden names, no ".."
    }
    return QString::fromLatin1(prefix);
}

QString AutoAnswerFileName(const QString& prefix, int counter)
{
    return prefix + QStringLiteral("%1").arg(counter, 6, 10, QLatin1Char('0')) + QStringLiteral(".tl1");
}

QString NextAutoAnswerFileName(int& counter, const QString& prefix, const std::function<bool(const QString&)>& exists)
{
    if (counter < 0)
        counter = 0;
    for (;;) {
        ++counter;
        if (counter > 999999) {
            counter = 0;
            return AutoAnswerFileName(prefix, counter);
        }
        const QString name = AutoAnswerFileName(prefix, counter);
        if (!exists || !exists(name))
            return name;
    }
}

bool ConnectMatcher::feed(const QByteArray& bytes, QByteArray& packet)
{
    if (!m_enabled)
        return false;
    static const QByteArray start("CONNECT");
    for (char c : bytes) {
        if (!m_inPacket) {
            m_buffer.append(c);
            if (m_buffer.endsWith(start)) {
                m_inPacket = true;
                m_buffer = start;
            } else if (m_buffer.size() > start.size()) {
                m_buffer.remove(0, m_buffer.size() - start.size());
            }
            continue;
        }
        if (m_buffer.size() < kMaxPacket)
            m_buffer.append(c);
        if (c == '\r') {
            packet = m_buffer;
            if (!packet.endsWith('\r'))
                packet.append('\r');
            m_buffer.clear();
            m_inPacket = false;
            return true;
        }
    }
    return false;
}

AutoAnswer::AutoAnswer(SessionEngine& engine, AutoAnswerHost& host, SetupRecord& setup, SetupRecord& savedCopy,
                       QString programDir)
    : m_engine(engine), m_host(host), m_setup(setup), m_saved(savedCopy), m_dir(std::move(programDir))
{
}

void AutoAnswer::openAaPort()
{
    SerialPort& port = m_host.aaPort();
    if (port.isOpen())
        return;
    port.setPortNumber(m_engine.settings().portNumber);
    port.setBaud(m_engine.settings().baud);
    port.open();
}

bool AutoAnswer::setupAaComPort()
{
    SerialPort& port = m_host.aaPort();
    port.close();
    openAaPort();
    if (!port.isOpen())
        return false;
    hangUpAndWait();
    return true;
}

void AutoAnswer::hangUpAndWait(std::function<void()> done)
{
    // Auto answer switched off meanwhile ends the sequence.
    const int run = ++m_hangups;
    SerialPort& port = m_host.aaPort();
    m_host.after(ticks::kEscapeGuard, [this, &port, run, done] {
        if (run != m_hangups)
            return;
        port.putString(QByteArrayLiteral("+++"));
        m_host.after(ticks::kEscapeGuard, [this, &port, run, done] {
            if (run != m_hangups)
                return;
            port.putString(QByteArrayLiteral("ATH\r"));
            m_host.after(ticks::kEscapeGuard, [this, run, done] {
                if (run != m_hangups)
                    return;
                WaitForConnect();
                if (done)
                    done();
            });
        });
    });
}

void AutoAnswer::WaitForConnect()
{
    openAaPort();
    m_host.setAaText(QStringLiteral("WaitForConnect"), true);
    m_matcher.enable();
    if (m_host.aaPort().inputBytesWaiting() > 0)
        onAaReadable();
}

void AutoAnswer::onAaReadable()
{
    if (!m_matcher.enabled() || !m_host.aaPort().isOpen())
        return;
    onAaBytes(m_host.aaPort().takeInput());
}

void AutoAnswer::onAaBytes(const QByteArray& bytes)
{
    QByteArray packet;
    if (!m_matcher.feed(bytes, packet))
        return;
    m_host.setAaText(logSafe(QString::fromLatin1(packet)), true);
    m_matcher.disable();
    m_host.aaPort().close();
    m_host.setSecondTimerRunning(true);
    m_engine.state().autoAnswerCount = 0;
}

void AutoAnswer::onSecond()
{
    SessionState& s = m_engine.state();
    ++s.autoAnswerCount;
    if (s.autoAnswerCount < 5)
        return;
    m_host.setAaText(QString(), false);
    m_host.setSecondTimerRunning(false);
    s.transaction = TransactionKind::ReadStatus;
    s.retryCount = 0;
    s.modemOnline = true;
    m_engine.StartSession();
}

void AutoAnswer::startResendTimer()
{
    m_resendCount = 0;
    m_host.setResendTimerRunning(true);
}

void AutoAnswer::onResendSecond()
{
    ++m_resendCount;
    if (m_resendCount < (m_engine.settings().wireless ? 2 : 36))
        return;
    m_host.setResendTimerRunning(false);
    ResendNamedSetup();
}

void AutoAnswer::ResendNamedSetup()
{
    SessionState& s = m_engine.state();
    const QByteArray description = m_engine.info().description;
    const QString name = ResendSetupFileName(description);
    bool readable = !name.startsWith(QLatin1Char('-'));
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            readable = false;
    SetupFileOutcome loaded;
    if (readable)
        loaded = LoadResendSetup(m_dir, description, m_setup, m_saved);
    if (!readable || !loaded.ok) {
        const QString line = UnableToSendSetupText(logSafe(name));
        if (s.autoAnswerCount == 0)
            s.autoAnswerCount = 1;  // the outcome belongs to the caller: log it and hang up
        m_engine.ReportOutcome({line, DialogKind::Information, DialogButtons::Ok, 0});
        s.autoAnswerCount = 0;
        return;
    }
    PrepareSetupForSending(m_setup);
    s.transaction = TransactionKind::SendSetup;
    s.scalingOnly = false;
    CheckAndSendSetup(m_engine, m_setup);
}

void AutoAnswer::AAHangupModem(std::function<void()> done)
{
    openAaPort();
    hangUpAndWait(std::move(done));
}

void AutoAnswer::disableAutoAnswer()
{
    ++m_hangups;
    m_matcher.disable();
    SerialPort& port = m_host.aaPort();
    port.close();
    port.setPortNumber(m_engine.settings().portNumber);
    port.setBaud(m_engine.settings().baud);
}

QString AutoAnswer::nextAutoAnswerFile()
{
    SettingsRecord& set = m_engine.settings();
    const QString prefix = AutoAnswerPrefix(m_engine.info().description);
    int counter = set.autoFileCounter;
    const QDir dir(m_dir);
    const QString name = NextAutoAnswerFileName(counter, prefix, [&](const QString& n) {
        return m_host.fileExists(dir.filePath(n));
    });
    set.autoFileCounter = counter;
    m_host.saveSettings();
    return dir.filePath(name);
}

} // namespace tamble
