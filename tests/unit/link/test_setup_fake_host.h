#pragma once
// A session host on virtual time for the setup, modem and network tests: the
// port keeps what was written, the trigger and the tick waits only count, and
// dialogs answer from a script. The test plays the logger (or modem) by
// feeding bytes and firing the trigger by hand.

#include "app/command_line.h"
#include "app/memory_geometry.h"
#include "app/settings_record.h"
#include "link/logger_info.h"
#include "link/session_engine.h"
#include "link/session_state.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace tamble::testing {

class FakePort : public SerialPort {
public:
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
    void close() override { opened = false; ++closes; }
    bool isOpen() const override { return opened; }
    QString errorString() const override { return QStringLiteral("refused"); }
    void setDtr(bool raised) override { dtr.push_back(raised); }
    void putString(const QByteArray& bytes) override { writes.push_back(bytes); }
    QByteArray takeInput() override { QByteArray b = input; input.clear(); return b; }
    std::int64_t inputBytesWaiting() const override { return input.size(); }
    std::int64_t outputBytesPending() const override { return 0; }
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
    std::vector<int> bauds;
    std::vector<bool> dtr;
    QList<QByteArray> writes;
    QByteArray input;
};

class FakeHost : public SessionHost {
public:
    SerialPort& port() override { return serial; }
    bool reserveTrigger(std::uint16_t& handle) override { handle = 7; ++reservations; return true; }
    void armTrigger(int ticks) override
    {
        armed = ticks;
        if (ticks > 0)
            armings.push_back(ticks);
    }
    void releaseTrigger() override { ++releases; }
    void waitTicks(int ticks, bool) override { waits.push_back(ticks); }
    void resetStopwatch() override {}
    std::int64_t elapsedSeconds() override { return 0; }
    QDateTime currentDateTime() override { return now; }

    DialogAnswer showMessage(const Outcome& outcome) override
    {
        dialogs.push_back(outcome);
        if (answers.empty())
            return DialogAnswer::Ok;
        const DialogAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void appendLogLine(const QString& line) override { logLines.push_back(line); }
    void fatalLogAndExit(const QString& line, int exitCode) override
    {
        // As the program does: the log line, then the modem hung up and the port closed.
        fatalLines.push_back(line);
        fatalCode = exitCode;
        serial.close();
    }
    void setStatusText(const QString& text) override { statusTexts.push_back(text); }
    void autoAnswerHangup() override { ++aaHangups; }
    void hangupModem() override { ++hangups; }
    void startResendTimer() override { ++resendTimers; }
    QString nextAutoAnswerFile() override { return autoFile; }

    FakePort serial;
    int armed = 0;
    std::vector<int> armings;
    std::vector<int> waits;
    int reservations = 0;
    int releases = 0;
    QDateTime now = QDateTime(QDate(2026, 12, 9), QTime(7, 30, 45));
    std::deque<DialogAnswer> answers;
    std::vector<Outcome> dialogs;
    QStringList logLines;
    QStringList fatalLines;
    int fatalCode = -1;
    QStringList statusTexts;
    int aaHangups = 0;
    int hangups = 0;
    int resendTimers = 0;
    QString autoFile;
};

// The records of one run and an engine over the fake host.
struct FakeRun {
    FakeRun()
    {
        settings.fastProtocol = true;
        settings.baud = 9600;
        settings.lastSetupFile = QStringLiteral("site.set");
    }
    SessionState state;
    SettingsRecord settings;
    LoggerInfo info;
    MemoryGeometry geometry;
    CommandLineMode mode;
    QString dataFile;
    FakeHost host;
    SessionEngine& engine()
    {
        if (!m_engine)
            m_engine = std::make_unique<SessionEngine>(
                host, SessionRecords{state, settings, info, geometry, mode, dataFile});
        return *m_engine;
    }
    // A line from the logger (CR appended).
    void reply(const QByteArray& line) { engine().onBytes(line + '\r'); }

private:
    std::unique_ptr<SessionEngine> m_engine;
};

} // namespace tamble::testing
