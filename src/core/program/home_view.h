#pragma once
// What the main window's home view shows, without a widget: where COM n leads and how the program
// talks to the logger, the last status read (model, description, channels, memory used, battery,
// the logger's clock against the PC's, when it was read), the data files used last, and in
// auto-answer mode the state of the service with its last call and the calls of the day.

#include "program/recent_files.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace tamble {

struct AppRecords;
struct LoggerInfo;
struct SettingsRecord;

struct HomeConnection {
    QString port;    // "COM1 → /dev/ttyS0"
    QString speed;   // "19200 baud"
    QString kind;    // "Single logger", "Network station 12", "Modem"
};

struct HomeStatus {
    bool known = false;          // a status was read since the program started
    QString model;
    QString description;
    std::vector<QString> channels;   // "1  Cold room", for each channel that is on
    int memoryPercent = 0;       // share of the memory that holds readings
    QString memory;              // "37 % of the memory used"
    QString battery;
    QString clock;               // the logger's clock and how far it is from the PC's
    QString readAt;              // "Read 10 Dec 2026 09:14"
};

struct HomeService {
    QString state;       // "Waiting for a call" or "Logger connected"
    QString lastCall;    // "09:14  Rec. north000012.tl1", or "No call yet"
    int callsToday = 0;
    QString callsText;   // "3 calls today"
};

struct HomeViewContent {
    HomeConnection connection;
    HomeStatus status;
    std::vector<RecentFile> recent;
    bool autoAnswer = false;   // the service's state instead of the status and the files
    HomeService service;
};

// The text of a recent file's row: "name — description — period", " (missing)" when it is gone.
QString RecentFileText(const RecentFile& file);

class HomeViewModel {
public:
    // Everything the view shows now. `device` is where COM n leads; `connected`: a logger that
    // dialled in is on the line.
    HomeViewContent content(const AppRecords& records, const QString& device, const RecentFiles& recent,
                            bool connected, const QDateTime& now) const;

    HomeConnection connection(const SettingsRecord& settings, const QString& device) const;
    HomeStatus status(const LoggerInfo& info) const;
    HomeService service(bool connected, const QDateTime& now) const;

    // A status was read and decoded at `at`.
    void statusRead(const QDateTime& at) { m_statusReadAt = at; }
    // An auto-answer call ended with the log line `outcome`.
    void callEnded(const QString& outcome, const QDateTime& at);

private:
    QDateTime m_statusReadAt;
    QString m_lastCall;
    QDateTime m_lastCallAt;
    std::vector<QDateTime> m_calls;   // the calls' ends, oldest first
};

// "5 s ahead of the PC", "2 min 10 s behind the PC", "in step with the PC": the logger's clock
// stamp against the PC's time when the status was read; empty when either is unknown.
QString ClockDifferenceText(const QString& loggerStamp, const QDateTime& pcTime);

} // namespace tamble
