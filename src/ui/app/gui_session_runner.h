#pragma once
// The runner of the windows: the engine's window callbacks go to the main window's windows, and
// auto answer waits on the main window's port.

#include "platform/session_runner.h"
#include "link/auto_answer.h"

#include <QTimer>

namespace tamble {

class MainWindow;

class GuiSessionRunner : public SessionRunner, public AutoAnswerHost {
    Q_OBJECT
public:
    GuiSessionRunner(AppRecords& records, MainWindow& main);

    // --- SessionHost: windows ---
    void setStatusText(const QString& text) override;
    void setMeter(int percent) override;
    void setMeterVisible(bool visible) override;
    void setBlockCountVisible(bool visible) override;
    void setBlockCount(int blocks) override;
    void setFileText(const QString& text) override;
    void setAbortVisible(bool visible) override;
    void setAbortEnabled(bool enabled) override;
    void setSessionWindowVisible(bool visible) override;
    void setMainWindowEnabled(bool enabled) override;
    void setSetupWindowEnabled(bool enabled) override;
    void showMainWindow() override;
    void showStatusWindow() override;
    void closeStatusWindow() override;
    void closeStationAddressDialog() override;
    void sessionEnded() override;
    void showStatus() override;
    void dialOutReply(const QByteArray& reply) override;
    void realTimeLine(const QByteArray& line) override;
    void beep() override;
    QString nextAutoAnswerFile() override;
    void startResendTimer() override;
    void autoAnswerHangup() override;
    void clearTableErrors() override {}   // the tables' errors are reported where they are read
    void offerGraph() override;
    void appendLogLine(const QString& line) override;
    void setGraphLoadOnShow(bool on) override;

    // --- AutoAnswerHost ---
    SerialPort& aaPort() override { return m_aaPort; }
    void after(int ticks, std::function<void()> then) override { SessionRunner::after(ticks, std::move(then)); }
    void setSecondTimerRunning(bool running) override;
    void setResendTimerRunning(bool running) override;
    void setAaText(const QString& text, bool visible) override;
    bool fileExists(const QString& path) override;
    void saveSettings() override;

    AutoAnswer& autoAnswer() { return m_auto; }
    QtSerialPort& aaQtPort() { return m_aaPort; }

private:
    MainWindow& m_main;
    QtSerialPort m_aaPort;
    SetupRecord m_savedCopy;
    AutoAnswer m_auto;
    QTimer m_second;
    QTimer m_resend;
    QString m_callOutcome;   // the last log line of the auto-answer call under way
};

} // namespace tamble
