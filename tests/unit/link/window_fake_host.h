#pragma once
// A small SessionHost for the window rules and the window tests: an in-memory port, a trigger the
// test fires by hand, no waiting, and dialogs answered by a MessageService. It records the window
// callbacks the engine makes so a test can forward them or count them.

#include "app/app_records.h"
#include "link/session_engine.h"
#include "util/user_dialog.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>

namespace tamble::test {

class MemoryPort : public SerialPort {
public:
    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    void setBaud(int baud) override { m_baud = baud; }
    int baud() const override { return m_baud; }
    void setOutputBufferSize(int) override {}
    bool open() override
    {
        if (refuseOpen)
            return false;
        m_open = true;
        return true;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString errorString() const override { return refuseOpen ? QStringLiteral("refused") : QString(); }
    void setDtr(bool) override {}
    void putString(const QByteArray& bytes) override { written += bytes; }
    QByteArray takeInput() override { return std::exchange(input, QByteArray()); }
    std::int64_t inputBytesWaiting() const override { return input.size(); }
    std::int64_t outputBytesPending() const override { return 0; }
    void flushInput() override { input.clear(); }
    void flushOutput() override {}

    bool refuseOpen = false;
    QByteArray written;
    QByteArray input;

private:
    int m_number = 1;
    int m_baud = 1200;
    bool m_open = false;
};

class WindowFakeHost : public SessionHost {
public:
    explicit WindowFakeHost(MessageService& messages) : m_messages(messages) {}

    SerialPort& port() override { return memoryPort; }
    bool reserveTrigger(std::uint16_t& handle) override
    {
        handle = 1;
        return true;
    }
    void armTrigger(int ticks) override { armed = ticks; }
    void releaseTrigger() override { armed = 0; }
    void waitTicks(int, bool) override {}
    void resetStopwatch() override {}
    std::int64_t elapsedSeconds() override { return 0; }
    QDateTime currentDateTime() override { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); }
    DialogAnswer showMessage(const Outcome& outcome) override
    {
        UserMessage m;
        m.kind = outcome.kind;
        m.text = outcome.message;
        m.buttons = outcome.buttons;
        m.helpContext = outcome.helpContext;
        return m_messages.ask(m);
    }
    void appendLogLine(const QString& line) override { log << line; }
    void fatalLogAndExit(const QString& line, int) override { log << line; }
    void setStatusText(const QString& text) override { statusText = text; }
    void setMainWindowEnabled(bool on) override { mainEnabled = on; }
    void showMainWindow() override { ++mainShown; }
    void showStatusWindow() override { if (onShowStatusWindow) onShowStatusWindow(); }
    void closeStatusWindow() override { if (onCloseStatusWindow) onCloseStatusWindow(); }
    void closeStationAddressDialog() override { if (onCloseStationAddressDialog) onCloseStationAddressDialog(); }
    void showStatus() override { if (onShowStatus) onShowStatus(); }
    void realTimeLine(const QByteArray& line) override { if (onRealTimeLine) onRealTimeLine(line); }
    void sessionEnded() override { if (onSessionEnded) onSessionEnded(); }

    MemoryPort memoryPort;
    int armed = 0;
    QString statusText;
    bool mainEnabled = true;
    int mainShown = 0;
    QStringList log;
    std::function<void()> onShowStatusWindow;
    std::function<void()> onCloseStatusWindow;
    std::function<void()> onCloseStationAddressDialog;
    std::function<void()> onShowStatus;
    std::function<void(const QByteArray&)> onRealTimeLine;
    std::function<void()> onSessionEnded;

private:
    MessageService& m_messages;
};

// The records, the host and an engine over them.
struct WindowRig {
    explicit WindowRig(MessageService& messages) : host(messages)
    {
        records.settings.portNumber = 3;
        records.settings.baud = 9600;
        records.settings.fastProtocol = true;
        engine = std::make_unique<SessionEngine>(
            host, SessionRecords{records.session, records.settings, records.loggerInfo, records.geometry,
                                 records.mode, records.dataFileName});
    }

    // A running real-time session of a logger of `revision` (the port open, real time started).
    void startRealTime(char revision, bool graph)
    {
        records.session.transaction = TransactionKind::RealTime;
        records.session.realTimeRequested = true;
        records.session.realTimeGraph = graph;
        engine->StartSession();
        records.session.revision = revision;
        records.session.linkState = LinkState::Transfer;
    }

    AppRecords records;
    WindowFakeHost host;
    std::unique_ptr<SessionEngine> engine;
};

} // namespace tamble::test
