#include "link/download.h"
#include "link/link_timing.h"

#include "datafiles/export.h"
#include "settings/command_line.h"
#include "settings/settings_record.h"
#include "format/memory_layout.h"
#include "link/framing.h"
#include "format/logger_info.h"
#include "link/session_engine.h"

#include <QFileInfo>
#include <QSaveFile>

namespace tamble {

namespace {

constexpr int kRetryLimit = retries::kDownloadBlock;

bool Wrapped(const LoggerInfo& info) { return (info.statusFlags & kStatusWrapped) != 0; }
bool FourBanks(const LoggerInfo& info) { return BankCountForModel(info.modelDigit) > 1; }

QByteArray Latin1(const QString& text) { return text.toLatin1(); }

// The head of every message of a logger with nothing to download.
QString NoDataHead() { return QStringLiteral("No data to receive;"); }

// The end of a download, with the file written.
QString TransferCompleteText(const QString& file) { return QStringLiteral("Transfer complete: ") + file; }

} // namespace

DownloadWalkStart DownloadWalkStartOf(const LoggerInfo& info)
{
    return {info.resolutionBits, info.modelDigit, Wrapped(info), info.memoryPointer, info.lastBank};
}

NoDataReason CheckNoData(const LoggerInfo& info)
{
    // A four-bank logger whose pointer is back at 512 in a later bank has full banks to read.
    if (info.memoryPointer == kFirstDataAddress && !Wrapped(info) && (!FourBanks(info) || info.lastBank == 'A'))
        return NoDataReason::Empty;
    if ((info.channelFlags & kChannelBits) != 0) {
        if (info.statusFlags & kStatusWaitingPreset)
            return NoDataReason::WaitingPreset;
        if (info.statusFlags & kStatusWaitingProbes)
            return NoDataReason::WaitingProbes;
        return NoDataReason::None;
    }
    return NoDataReason::AllChannelsOff;
}

QString NoDataText(NoDataReason reason, char revision)
{
    const QString head = NoDataHead();
    const QString tail = QStringLiteral("\rNo data file created.");
    switch (reason) {
    case NoDataReason::Empty:
        return head + tail;
    case NoDataReason::WaitingPreset:
        return head + QStringLiteral(" logger waiting on pre-set start time.") + tail;
    case NoDataReason::WaitingProbes:
        return head +
               (static_cast<std::uint8_t>(revision) < static_cast<std::uint8_t>('o')
                    ? QStringLiteral(" waiting for all temp. probes to be attached.")
                    : QStringLiteral(" waiting for ch1 temp. probe to be attached.")) +
               tail;
    case NoDataReason::AllChannelsOff:
        return head + QStringLiteral(" All channels are Off;") + tail;
    case NoDataReason::None:
        break;
    }
    return QString();
}

QList<QByteArray> DataFileHeader(const LoggerInfo& info, bool amPm)
{
    QList<QByteArray> lines;
    QByteArray id;
    id += info.referenceCode;
    for (char code : info.scalingCodes)
        id += code;
    id += info.revision;
    id += info.modelDigit;
    id += info.inputTypeChars.left(2).leftJustified(2, '@');
    if (static_cast<std::uint8_t>(info.modelDigit) < static_cast<std::uint8_t>('5'))
        id += ' ';
    else
        id += info.twelveBit() ? 'C' : info.tenBit() ? 'B' : 'A';
    id += QString::asprintf("%3.1f", info.batteryVolts).toLatin1();
    id += ' ';
    id += info.lastBank;
    lines << id;
    lines << Latin1(info.firstReadingStamp);
    lines << Latin1(info.lastReadingStamp);
    lines << info.description;
    QByteArray clock = Latin1(info.clockStamp) + (amPm ? QByteArray("  ") : QByteArray("    "));
    clock = clock.left(amPm ? 30 : 32);
    lines << (clock + Latin1(info.transferStamp)).left(amPm ? 58 : 60);
    for (const QByteArray& label : info.labels)
        lines << label;
    int modeFlags = info.statusFlags;
    if (info.twelveBit() && static_cast<std::uint8_t>(info.modelDigit) < static_cast<std::uint8_t>('5'))
        modeFlags -= kStatusTenBitOfWide;
    lines << QByteArray::number(modeFlags);
    lines << QByteArray::number(static_cast<std::uint8_t>(info.rateCode));
    lines << QByteArray::number(info.channelFlags);
    QByteArray pointer = QByteArray::number(info.memoryPointer);
    if (info.resolutionBits == 10 || info.resolutionBits == 12)
        pointer += ' ' + QByteArray::number(info.phaseByte);
    lines << pointer;
    for (const QByteArray& text : info.scalingTexts)
        lines << text;
    return lines;
}

Download::Download(SessionEngine& engine) : m_engine(engine) {}

Download::~Download() = default;

QString Download::descriptionAndLabels() const
{
    const LoggerInfo& info = m_engine.info();
    QString text = QString::fromLatin1(info.description);
    for (const QByteArray& label : info.labels)
        text += QLatin1Char(',') + QString::fromLatin1(label);
    return text;
}

void Download::StartDownload()
{
    SessionEngine& e = m_engine;
    SessionState& s = e.state();
    const LoggerInfo& info = e.info();

    const NoDataReason reason = CheckNoData(info);
    if (reason != NoDataReason::None) {
        const QString text = NoDataText(reason, info.revision);
        if (s.autoAnswerCount > 0) {
            const QString head = NoDataHead();
            QString summary;
            switch (reason) {
            case NoDataReason::WaitingPreset: summary = head + QStringLiteral(" ws") + descriptionAndLabels(); break;
            case NoDataReason::WaitingProbes: summary = text + QStringLiteral(" wp ") + descriptionAndLabels(); break;
            case NoDataReason::AllChannelsOff: summary = head + QStringLiteral(" ao") + descriptionAndLabels(); break;
            default: summary = text + QLatin1Char(' ') + descriptionAndLabels(); break;
            }
            e.host().appendLogLine(summary);
            e.wait(ticks::kNoDataHangupPause, [&e] {
                e.EndSession();
                e.host().startResendTimer();
            });
            return;
        }
        if (e.unattendedReceive()) {
            e.FatalLogAndExit(text, 1);
            return;
        }
        e.EndSession();
        e.ReportOutcome({text, DialogKind::Information, DialogButtons::Ok, 0});
        return;
    }

    // The block count belongs to this download: an auto-answer call downloads inside a session
    // that began with the status, so the session's start has not cleared it.
    m_walk = DownloadWalk(DownloadWalkStartOf(info));
    s.blockNumber = 0;
    e.host().setBlockCount(0);
    publishBlock();
    s.continuing = true;
    s.abortRequested = false;
    m_fileError = false;
    m_badLinesLimit = false;

    const QString name = e.dataFileName();
    m_file = std::make_unique<QSaveFile>(name);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        e.EndSession();
        e.ReportOutcome({QStringLiteral("Unable to create data file ") + name, DialogKind::Error, DialogButtons::Ok,
                         0});
        return;
    }
    for (const QByteArray& line : DataFileHeader(info, e.settings().amPm))
        writeLine(line);

    s.retryCount = 0;
    e.host().setAbortVisible(true);
    s.linkState = LinkState::Transfer;
    sendBlockCommand();
}

void Download::sendBlockCommand()
{
    m_engine.sendFramed('D' + QByteArray(1, m_walk.bank()) + HexWord(m_walk.address()));
}

bool Download::writeLine(const QByteArray& line)
{
    if (!m_file)
        return false;
    if (m_file->write(line + "\r\n") != line.size() + 2)
        m_fileError = true;
    return !m_fileError;
}

void Download::onBlockLine()
{
    SessionEngine& e = m_engine;
    SessionState& s = e.state();
    const QByteArray line = s.rxBuffer;
    const bool good = ResponseChecksumValid(line) && (!e.info().twelveBit() || line.size() >= 160);
    if (!good) {
        s.retryCount += 1;
        s.checksumErrorCount += 1;
        if (s.retryCount >= kRetryLimit) {
            s.continuing = false;
            m_badLinesLimit = true;
        }
    } else {
        writeLine(line);
        s.blockNumber += 1;
        e.host().setBlockCount(s.blockNumber);
        s.retryCount = 0;
        advanceAfterGoodBlock();
    }
    if (s.continuing)
        sendBlockCommand();
    else
        finish();
}

void Download::advanceAfterGoodBlock()
{
    SessionState& s = m_engine.state();
    if (const char bank = m_walk.advance())
        writeLine('Z' + QByteArray(1, bank));
    publishBlock();
    if (m_walk.finished() || s.blockNumber >= m_walk.blockLimit())
        s.continuing = false;
}

void Download::publishBlock()
{
    SessionState& s = m_engine.state();
    s.readAddress = m_walk.address();
    s.bank = m_walk.bank();
    s.blockStep = static_cast<std::uint8_t>(m_walk.blockBytes());
}

void Download::onBlockTimeout()
{
    SessionEngine& e = m_engine;
    SessionState& s = e.state();
    s.retryCount += 1;
    s.timeoutCount += 1;
    if (s.abortRequested) {
        finish();
        return;
    }
    if (s.retryCount < kRetryLimit) {
        sendBlockCommand();
        return;
    }
    s.continuing = false;
    discard();
    const QString text = QStringLiteral("Transfer aborted; No response from logger; No data file created");
    if (s.autoAnswerCount > 0) {
        e.host().appendLogLine(text + QLatin1Char(' ') + descriptionAndLabels());
        s.modemOnline = false;
        e.EndSession();
        e.host().autoAnswerHangup();
        return;
    }
    e.EndSession();
    e.ReportOutcome({text, DialogKind::Error, DialogButtons::Ok, 0});
}

void Download::discard()
{
    if (m_file) {
        m_file->cancelWriting();
        m_file.reset();
    }
}

bool Download::commit()
{
    if (!m_file)
        return false;
    const bool ok = !m_fileError && m_file->commit();
    m_file.reset();
    if (!ok)
        m_fileError = true;
    return ok;
}

void Download::autoExportIfSet()
{
    SessionEngine& e = m_engine;
    if (!e.settings().autoExport)
        return;
    const QString file = e.dataFileName();
    const QString csvName = AutoExportName(file);
    e.host().setGraphLoadOnShow(true);
    e.host().autoExport(file, csvName, e.settings().exportAveraging);
    e.host().setGraphLoadOnShow(false);
}

void Download::finish()
{
    SessionEngine& e = m_engine;
    SessionState& s = e.state();
    const QString file = e.dataFileName();

    if (m_badLinesLimit) {
        discard();
        if (s.autoAnswerCount > 0) {
            e.host().appendLogLine(QStringLiteral("Rec. aborted; excessive comm. errors: ") + file +
                                   QLatin1Char(',') + descriptionAndLabels());
            s.modemOnline = false;
            e.EndSession();
            e.host().autoAnswerHangup();
            return;
        }
        e.EndSession();
        e.ReportOutcome({QStringLiteral("Transfer aborted; Excessive checksum errors; No data file created"),
                         DialogKind::Error, DialogButtons::Ok, 0});
        return;
    }

    if (s.autoAnswerCount > 0 && !s.abortRequested) {
        commit();
        e.EndSession();
        if (!m_fileError) {
            e.host().dataFileComplete(file);
            autoExportIfSet();
        }
        QString line = QStringLiteral("Rec. ") + file;
        if (m_fileError)
            line += QStringLiteral(" FileError ");
        if (s.checksumErrorCount > 0 || s.timeoutCount > 0)
            line += QStringLiteral("    ") + QString::number(s.checksumErrorCount) + QLatin1Char(',') +
                    QString::number(s.timeoutCount);
        e.host().appendLogLine(line);
        e.host().startResendTimer();
        return;
    }

    if (s.abortRequested) {
        discard();
        e.EndSession();
        s.abortRequested = false;
        e.ReportOutcome({QStringLiteral("Transfer aborted; No data file created"), DialogKind::Information,
                         DialogButtons::Ok, 0});
        return;
    }

    if (!commit()) {
        e.EndSession();
        e.ReportOutcome({QStringLiteral("Unable to write data file ") + file, DialogKind::Error, DialogButtons::Ok, 0});
        return;
    }
    e.host().dataFileComplete(file);

    if (e.unattendedReceive()) {
        autoExportIfSet();
        e.FatalLogAndExit(TransferCompleteText(file), 0);
        return;
    }

    e.EndSession();
    e.host().setGraphLoadOnShow(true);
    autoExportIfSet();
    e.host().setGraphLoadOnShow(true);
    e.host().beep();
    const QString text = TransferCompleteText(QFileInfo(file).fileName()) +
                         QStringLiteral(", Elapsed time: ") + QString::number(e.host().elapsedSeconds()) +
                         QStringLiteral(" seconds\r\r") + QStringLiteral("Graph Data?");
    e.ReportOutcome({text, DialogKind::Confirmation, DialogButtons::YesNo, 0});
    if (e.lastAnswer() == DialogAnswer::Yes)
        e.host().offerGraph();
}

} // namespace tamble
