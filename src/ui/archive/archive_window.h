#pragma once
// The Archive window: the loggers in the archive, the downloads of the chosen one, and the
// commands that open a download or a logger's history as a graph. Its rules are in
// archive/archive_window_model.h; this class binds the controls to them.

#include "archive/archive_window_model.h"

#include <QDialog>
#include <functional>

class QDateTimeEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tamble {

class ArchiveSettingsDialog;

class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    // `openArchive` gives the opener of the archive this run uses (null when it is off); it is
    // asked again at every Refresh, since the settings may have changed the archive.
    // `environment` is TAMBLE_ARCHIVE's value for the settings dialog's note.
    ArchiveWindow(std::function<ArchiveOpener()> openArchive, const QString& programDir, const QString& environment,
                  MessageService& messages, QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    // Open Graph: the data file of the chosen download.
    std::function<void(const QString&)> openGraph;
    // Open History: the history file of the chosen logger and period.
    std::function<void(const QString&)> openHistory;

    // Shows the window and reads the archive.
    void openWindow();
    void refresh();

    ArchiveWindowModel& model() { return m_model; }
    ArchiveSettingsDialog& settingsDialog() { return *m_settings; }

private:
    QWidget* buildTables();
    QWidget* buildPeriod();
    QWidget* buildButtons();
    void showLoggers();
    void showDownloads();
    void showPeriod();
    void showEnabled();

    std::function<ArchiveOpener()> m_openArchive;
    ArchiveWindowModel m_model;
    ArchiveSettingsDialog* m_settings = nullptr;
    QTableWidget* m_loggers = nullptr;
    QTableWidget* m_downloads = nullptr;
    QDateTimeEdit* m_from = nullptr;
    QDateTimeEdit* m_to = nullptr;
    QLabel* m_fromLabel = nullptr;
    QLabel* m_toLabel = nullptr;
    QPushButton* m_openGraph = nullptr;
    QPushButton* m_openHistory = nullptr;
    bool m_showing = false;   // the tables are being filled: their signals are not the user's
};

class GraphWindowOwner;

// The main window's Archive window on the archive this run uses: its downloads and histories open
// in `graphs`. A history lives in the window's temporary folder, so opening one leaves
// `lastDataFile` (the last data file the user opened) as it was.
ArchiveWindow* MakeArchiveWindow(const QString& programDir, MessageService& messages, GraphWindowOwner& graphs,
                                 QString& lastDataFile, QWidget* parent);

} // namespace tamble
