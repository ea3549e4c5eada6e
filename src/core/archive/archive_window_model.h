#pragma once
// The rules of the Archive window without widgets: the loggers of the archive and the downloads
// of the chosen one as table texts, the period of a history, which buttons are enabled, and what
// Open Graph and Open History hand to the graph window. Every failure (the archive is off, cannot
// be opened, is damaged) is said through the message service and leaves the tables empty.

#include "archive/archive_store.h"
#include "util/user_dialog.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tamble {

inline constexpr const char* kArchiveOffText =
    "The archive is off: choose SQLite or PostgreSQL in the archive settings to keep every download";

struct ArchiveTable {
    QStringList headings;
    std::vector<QStringList> rows;
    std::vector<QString> tips;   // a row's tool tip (the download's whole path); may be empty
    std::vector<int> numberColumns;   // shown right-aligned
};

// "2026-12-10 08:00:00": an archive time or stamp as the tables show it.
QString ArchiveShownTime(std::int64_t time);
// "Window", "Unattended", "Auto answer", "Import".
QString ArchiveSourceText(ArchiveSource source);

class ArchiveWindowModel {
public:
    explicit ArchiveWindowModel(MessageService& messages);
    ~ArchiveWindowModel();

    // Reads the loggers again through `opener` (null: the archive is off), keeping the chosen
    // logger and download where they are still there. A failure is shown and leaves the tables empty.
    void refresh(const ArchiveOpener& opener);

    ArchiveTable loggers() const;
    ArchiveTable downloads() const;
    int loggerRow() const { return m_logger; }
    int downloadRow() const { return m_download; }
    // Reads the logger's downloads; its period becomes its first and last reading. -1: none.
    void chooseLogger(int row);
    void chooseDownload(int row);

    // The period of a history (archive times); any order may be set, Open History checks it.
    std::int64_t from() const { return m_from; }
    std::int64_t to() const { return m_to; }
    void setFrom(std::int64_t time) { m_from = time; }
    void setTo(std::int64_t time) { m_to = time; }

    bool openGraphEnabled() const { return m_download >= 0; }
    bool periodEnabled() const;
    bool openHistoryEnabled() const { return periodEnabled(); }

    // The chosen download's data file to open as a graph; none, with "File: ... not found" shown,
    // when it is gone.
    std::optional<QString> graphFile();
    // The chosen logger's readings of the period written as a file in the model's own temporary
    // folder (removed with the model); none, with the reason shown, when it cannot be.
    std::optional<QString> historyFile();
    // True for a file historyFile() wrote: it is not one to remember among the recent files.
    bool isHistoryFile(const QString& path) const;

private:
    void fail(const QString& text);
    const ArchiveLoggerRow* chosenLogger() const;

    MessageService& m_messages;
    std::unique_ptr<ArchiveStore> m_store;
    std::vector<ArchiveLoggerRow> m_loggers;
    std::vector<ArchiveDownloadRow> m_downloads;
    int m_logger = -1;
    int m_download = -1;
    std::int64_t m_from = 0;
    std::int64_t m_to = 0;
    std::unique_ptr<QTemporaryDir> m_folder;
};

} // namespace tamble
