#pragma once
// The Archive Settings dialog: where the archive is kept (SQLite in the program folder, a
// PostgreSQL server, or off) and what runs after each call. Its rules are in
// archive/archive_settings_rules.h; this class binds the controls to them.

#include "archive/archive_settings_rules.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace tamble {

class ArchiveSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `environment` is TAMBLE_ARCHIVE's value for this run (empty when not set).
    ArchiveSettingsDialog(const QString& programDir, const QString& environment, MessageService& messages,
                          QWidget* parent = nullptr);

    // Shows the dialog (window-modal) with the settings "archive.ini" holds now.
    void openDialog();
    ArchiveSettingsRules& rules() { return m_rules; }

private:
    QWidget* buildEngine();
    QWidget* buildServer();
    QWidget* buildCalls();
    void showSettings();
    void showEnabled();

    ArchiveSettingsRules m_rules;
    QButtonGroup* m_engine = nullptr;
    QWidget* m_server = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_command = nullptr;
    QLineEdit* m_timeLimit = nullptr;
    QLabel* m_overrideNote = nullptr;
};

} // namespace tamble
