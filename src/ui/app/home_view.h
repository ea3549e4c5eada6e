#pragma once
// The main window's home view: the connection, the last status with the common commands, and the
// data files used last; in auto-answer mode the service's state instead of the status and files.
// It shows a HomeViewContent (program/home_view.h) and reports what the user picks.

#include "program/home_view.h"
#include "program/main_window_rules.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;

namespace tamble {

class HomeView : public QWidget {
    Q_OBJECT
public:
    explicit HomeView(QWidget* parent = nullptr);

    void display(const HomeViewContent& content);
    QListWidget& recentList() { return *m_recent; }

signals:
    void commandChosen(tamble::MainCommand command);
    void recentFileChosen(const QString& path);

private:
    QLabel* addLine(QWidget* box, const QString& name, const QString& accessible);

    QGroupBox* m_connectionBox = nullptr;
    QLabel* m_port = nullptr;
    QLabel* m_speed = nullptr;
    QLabel* m_kind = nullptr;
    QGroupBox* m_statusBox = nullptr;
    QLabel* m_noStatus = nullptr;
    QWidget* m_statusFields = nullptr;
    QLabel* m_model = nullptr;
    QLabel* m_description = nullptr;
    QLabel* m_channels = nullptr;
    QProgressBar* m_memory = nullptr;
    QLabel* m_battery = nullptr;
    QLabel* m_clock = nullptr;
    QLabel* m_readAt = nullptr;
    QGroupBox* m_recentBox = nullptr;
    QListWidget* m_recent = nullptr;
    QGroupBox* m_serviceBox = nullptr;
    QLabel* m_serviceState = nullptr;
    QLabel* m_lastCall = nullptr;
    QLabel* m_callsToday = nullptr;
};

} // namespace tamble
