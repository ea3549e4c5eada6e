#pragma once
// The download of a logger's memory into a data file (transaction ReceiveData). The engine calls
// StartDownload once the status record is decoded, then the block handlers in state Transfer.
// The file is written under a temporary name and takes its real name only when the download is
// complete, so an aborted or failed download leaves no partial file and keeps an older file of the
// same name.

#include "format/download_walk.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QSaveFile;

namespace tamble {

class SessionEngine;
struct LoggerInfo;
struct SettingsRecord;

// "No data" cases of StartDownload; None when there is something to read.
enum class NoDataReason { None, Empty, WaitingPreset, WaitingProbes, AllChannelsOff };
NoDataReason CheckNoData(const LoggerInfo& info);
// The message of a "No data" case (the text shown or logged unattended).
QString NoDataText(NoDataReason reason, char revision);

// The data file header lines (without line ends) for the status in `info`.
QList<QByteArray> DataFileHeader(const LoggerInfo& info, bool amPm);

// Where the download of the logger in `info` starts its memory walk.
DownloadWalkStart DownloadWalkStartOf(const LoggerInfo& info);

class Download {
public:
    explicit Download(SessionEngine& engine);
    ~Download();

    void StartDownload();
    void onBlockLine();
    void onBlockTimeout();
    // Abnormal end of the session: drop the temporary file.
    void discard();
    bool fileOpen() const { return m_file != nullptr; }

private:
    void sendBlockCommand();
    void advanceAfterGoodBlock();
    // Shows the block the walk is at in the session state.
    void publishBlock();
    void finish();
    bool writeLine(const QByteArray& line);
    bool commit();
    QString descriptionAndLabels() const;
    void autoExportIfSet();

    SessionEngine& m_engine;
    DownloadWalk m_walk;
    std::unique_ptr<QSaveFile> m_file;
    bool m_fileError = false;
    bool m_badLinesLimit = false;
};

} // namespace tamble
