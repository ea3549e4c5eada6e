#pragma once
// Runs auto answer in real time beside a session runner: the auto-answer port, the one-second
// timer after CONNECT and Timer2 after a dialled-in download, the guard times as the runner's
// waits. How the settings are saved and where the auto-answer text shows differ between the
// windows and the headless service; they come in as functions.

#include "program/app_records.h"
#include "platform/qt_serial_port.h"
#include "link/auto_answer.h"

#include <QString>
#include <QTimer>
#include <functional>

namespace tamble {

class SessionRunner;

class AutoAnswerRunner final : public AutoAnswerHost {
public:
    // `saveSettings` saves the settings once the file counter has moved on.
    AutoAnswerRunner(SessionRunner& runner, AppRecords& records, std::function<void()> saveSettings);
    AutoAnswerRunner(const AutoAnswerRunner&) = delete;
    AutoAnswerRunner& operator=(const AutoAnswerRunner&) = delete;

    AutoAnswer& autoAnswer() { return m_auto; }
    QtSerialPort& port() { return m_port; }

    // Shows (or hides) the auto-answer text; none is shown without it.
    std::function<void(const QString& text, bool visible)> showText;

    // --- AutoAnswerHost ---
    SerialPort& aaPort() override { return m_port; }
    void after(int ticks, std::function<void()> then) override;
    void setSecondTimerRunning(bool running) override { running ? m_second.start() : m_second.stop(); }
    void setResendTimerRunning(bool running) override { running ? m_resend.start() : m_resend.stop(); }
    void setAaText(const QString& text, bool visible) override;
    bool fileExists(const QString& path) override;
    void saveSettings() override;

private:
    SessionRunner& m_runner;
    std::function<void()> m_saveSettings;
    QtSerialPort m_port;
    SetupRecord m_savedCopy;
    AutoAnswer m_auto;
    QTimer m_second;
    QTimer m_resend;
};

} // namespace tamble
