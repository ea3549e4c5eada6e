#pragma once
// The runner of the windows: the engine's window callbacks go to the main window's windows, and
// auto answer waits on the main window's port.

#include "platform/auto_answer_runner.h"
#include "platform/session_runner.h"
#include "link/auto_answer.h"

namespace tamble {

class MainWindow;

class GuiSessionRunner : public SessionRunner {
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

    AutoAnswer& autoAnswer() { return m_aa.autoAnswer(); }
    QtSerialPort& aaQtPort() { return m_aa.port(); }

private:
    MainWindow& m_main;
    AutoAnswerRunner m_aa;
    QString m_callOutcome;   // the last log line of the auto-answer call under way
};

} // namespace tamble
