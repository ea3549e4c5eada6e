#pragma once
// The rules of the Status window without a widget: how it looks in the status and the real-time
// display, the texts it shows after a status read, the value boxes after each real-time reading,
// and what closing it does to a real-time session that is still running.

#include "conversion/channel_scaling.h"
#include "link/status_text.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>

namespace tamble {

struct SettingsRecord;
class SessionEngine;

struct StatusWindowLook {
    QString caption;           // "Status" or "Real Time Display"
    bool clockVisible = true;  // ClockBox and its label
    bool valuesWhite = false;  // value boxes white (real time) or in the button face colour
};

// Readings go to the Status window (not to the real-time graph) in the session now running.
bool RealTimeDisplayRunning(const SessionState& state);

StatusWindowLook StatusLook(bool realTimeDisplay);

// How the user closes the window: its OK button, or the window itself (title bar, Escape).
enum class StatusCloseTrigger { OkButton, Window };

enum class StatusCloseAction {
    Close,        // the window closes and the main window is shown
    EndRealTime,  // a logger reading on its own is stopped by an EndRealTime session
    EndSession,   // polled real time: the session simply ends
};

// While the real-time graph runs, the window is only a view of the last status: closing it
// leaves the graph's session alone whichever way it is closed.
StatusCloseAction StatusCloseRule(StatusCloseTrigger trigger, const SessionState& state);

// Sets `scaling` up for the logger in `info` the way the status decoding does (tables from
// `tableDirectory`); false when a table could not be used.
bool PrepareDisplayScaling(const LoggerInfo& info, const SettingsRecord& settings, const QString& tableDirectory,
                           ChannelScaling& scaling);

// A value box of the window: the number and its unit apart ("22.19 Deg C"), where the status
// texts run them together; OFF, open probes and checksum errors stay as they are.
QString ValueWithUnit(const QString& boxText, const QString& unit);

// The records the window reads and marks.
struct StatusWindowRecords {
    SettingsRecord& settings;
    SessionState& session;
    LoggerInfo& loggerInfo;
    const QString& programDir;   // the sensor tables
};

class StatusWindowModel {
public:
    explicit StatusWindowModel(StatusWindowRecords records);

    // ShowStatus: every text of the window from the last status; marks that a status was shown.
    StatusTexts ShowStatus();

    // A real-time reading line: the four value boxes, or nullopt when the readings go to the
    // real-time graph.
    std::optional<std::array<QString, 4>> realTimeLine(QByteArrayView line);

    // DialOutLabel after the dial-out schedule query.
    static QString dialOut(QByteArrayView reply) { return DialOutText(reply); }

    StatusWindowLook look() const;
    StatusCloseAction closeAction(StatusCloseTrigger trigger) const;

    // Carries the close rule out on the engine. True when the main window is to be shown.
    bool close(StatusCloseTrigger trigger, SessionEngine& engine);

    // "&Last Status": nullopt when the window may be shown, else the information text.
    std::optional<QString> lastStatusRefusal() const;

private:
    void prepare();
    std::array<QString, 4> withUnits(std::array<QString, 4> boxes) const;

    StatusWindowRecords m_r;
    ChannelScaling m_scaling;
    bool m_prepared = false;
};

} // namespace tamble
