#pragma once
// The Status window: the last status read from a logger, and the live readings of a real-time
// display. The rules live in StatusWindowModel; this class only puts its texts into the boxes.

#include "link/status_window_model.h"

#include <QByteArray>
#include <QDialog>
#include <array>

class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tamble {

class SessionEngine;
class MessageService;
class HelpService;

class StatusWindow : public QDialog {
    Q_OBJECT
public:
    StatusWindow(const StatusWindowRecords& records, SessionEngine& engine, MessageService& messages, HelpService& help,
                 QWidget* parent = nullptr);

    StatusWindowModel& model() { return m_model; }

public slots:
    // SessionHost::showStatus: LoggerInfo is new; fill every box.
    void ShowStatus();
    // SessionHost::showStatusWindow.
    void showStatusWindow();
    // SessionHost::closeStatusWindow: the engine closes the window (it looks after the session itself).
    void closeStatusWindow();
    // SessionHost::realTimeLine: a reading line of the real-time display.
    void realTimeLine(const QByteArray& line);
    // SessionHost::dialOutReply: the reply to the dial-out schedule query.
    void dialOutReply(const QByteArray& reply);
    // SessionHost::sessionEnded: a real-time display that ended under an open window turns it back
    // into the status view.
    void sessionEnded();
    // File / Last Status: shows the window, or tells that no status has been read yet.
    void lastStatus();

signals:
    // The user closed the window outside a real-time display: the main window is to be shown.
    void mainWindowShowRequested();

protected:
    void showEvent(QShowEvent* event) override;
    // Escape and the title bar's close button.
    void reject() override;

private:
    void oKButtonClick();
    void closeByUser(StatusCloseTrigger trigger);
    void applyTexts(const StatusTexts& texts);
    void applyLook();
    void setValueBoxes(const std::array<QString, 4>& values);
    void buildBoxes();
    void buildChannels();

    SessionEngine& m_engine;
    MessageService& m_messages;
    StatusWindowModel m_model;

    QLineEdit* m_modelBox = nullptr;
    QLineEdit* m_rev = nullptr;
    QLabel* m_stationLabel = nullptr;
    QLineEdit* m_station = nullptr;
    QLineEdit* m_battery = nullptr;
    QLineEdit* m_rate = nullptr;
    QLineEdit* m_span = nullptr;
    QLabel* m_firstLabel = nullptr;
    QLineEdit* m_first = nullptr;
    QLineEdit* m_state = nullptr;
    QLabel* m_clockLabel = nullptr;
    QLineEdit* m_clock = nullptr;
    QLineEdit* m_stop = nullptr;
    QLineEdit* m_id = nullptr;
    std::array<QLineEdit*, 4> m_onOff{};
    std::array<QLineEdit*, 4> m_value{};
    std::array<QLineEdit*, 4> m_desc{};
    std::array<QLineEdit*, 4> m_scal{};
    std::array<QLineEdit*, 4> m_inp{};
    QFrame* m_panel2 = nullptr;
    QLabel* m_dateCode = nullptr;
    QLabel* m_dialOut = nullptr;
    QPushButton* m_ok = nullptr;
    QGridLayout* m_grid = nullptr;
    QGridLayout* m_channels = nullptr;
};

} // namespace tamble
