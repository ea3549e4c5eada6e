#include "platform/session_runner.h"

#include "settings/log_routines.h"
#include "platform/sql_archive.h"
#include "platform/startup_log.h"
#include "link/receive_csv.h"
#include "link/status_text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>

#include "program/export_wiring.h"
#include "datafiles/export.h"
#include "datafiles/tl2.h"
#include "link/modem.h"

namespace tamble {

SessionRunner::SessionRunner(AppRecords& records, QObject* parent)
    : QObject(parent), m_records(records), m_archivist(ArchiveOpenerFor(records.programDir), records.programDir),
      m_port(records.programDir)
{
    m_engine = std::make_unique<SessionEngine>(
        *this, SessionRecords{records.session, records.settings, records.loggerInfo, records.geometry, records.mode,
                              records.dataFileName});
    m_engine->setStatusDecoder([this](QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                                      MemoryGeometry& geometry) { return decode(record, context, info, geometry); });
    m_scaling.tableDirectory = records.programDir;

    m_trigger.setSingleShot(true);
    m_trigger.setTimerType(Qt::PreciseTimer);
    connect(&m_trigger, &QTimer::timeout, this, [this] { post(Event::Timeout); });
    m_progress.setInterval(165);
    connect(&m_progress, &QTimer::timeout, this, [this] { post(Event::Tick); });

    m_port.onReadyRead = [this] { post(Event::Read); };
    m_port.onDrained = [this] { post(Event::Drain); };
    m_port.onFailure = [this](const QString& why) {
        m_failure = why;
        post(Event::Failure);
    };
    // Files that waited for the archive go in once the program is running: a server that does not
    // answer never holds up the start.
    if (m_archivist.enabled()) {
        QTimer::singleShot(0, this, [this] {
            for (const QString& line : m_archivist.addQueued().messages)
                AppendLogLine(m_records.programDir, line);
        });
    }
}

void SessionRunner::dataFileComplete(const QString& dataFile)
{
    ArchiveContext context;
    context.source = m_records.session.autoAnswerCount > 0 ? ArchiveSource::AutoAnswer
                     : m_unattended                       ? ArchiveSource::Unattended
                                                          : ArchiveSource::Window;
    // The station address tells loggers apart on a network; a single logger has none.
    context.station = m_records.settings.network ? m_records.loggerInfo.stationAddress : 0;
    context.revision = QString(QLatin1Char(m_records.loggerInfo.revision));
    context.downloadedAt = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    const ArchiveNote note = m_archivist.archive(dataFile, context);
    if (note.kind == ArchiveNote::Kind::Added && context.source == ArchiveSource::AutoAnswer) {
        // For the service's journal, not its log file.
        std::printf("%s: archived, %lld of %lld reading(s) new, in %lld ms\n",
                    QFileInfo(dataFile).fileName().toLocal8Bit().constData(),
                    static_cast<long long>(note.newReadings), static_cast<long long>(note.readings),
                    static_cast<long long>(note.elapsedMs));
        std::fflush(stdout);
    }
    if (!note.text.isEmpty()) {
        // An unattended run says it in its one log line; otherwise the note is a line of its own.
        if (m_unattended && context.source == ArchiveSource::Unattended)
            m_archiveNote = note.text;
        else
            appendLogLine(QFileInfo(dataFile).fileName() + QStringLiteral(": ") + note.text);
        if (onArchiveNote)
            onArchiveNote(note);
    }
    if (onDataFileComplete)
        onDataFileComplete(dataFile);
}

SessionRunner::~SessionRunner() = default;

StatusDecodeResult SessionRunner::decode(QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                                         MemoryGeometry& geometry)
{
    m_scaling.tableError = false;
    return DecodeStatus(record, context, info, geometry, m_scaling);
}

void SessionRunner::post(Event event)
{
    m_pending[static_cast<std::size_t>(event)] = true;
    if (m_busy > 0)
        return;  // a handler is busy (a message box is up): delivered when it is done
    // Deliver in a fixed order: a failed port first, then bytes, drained output, time-out, tick,
    // and the continuations of waits that are over.
    // Once the program is ending only continuations (a hang-up under way) are carried out.
    bool any = true;
    while (any) {
        any = false;
        for (std::size_t e = 0; e < m_pending.size(); ++e) {
            if (!m_pending[e])
                continue;
            m_pending[e] = false;
            if (m_engine->finished() && static_cast<Event>(e) != Event::Continue)
                continue;
            ++m_busy;
            dispatch(static_cast<Event>(e));
            --m_busy;
            any = true;
            break;
        }
    }
    // Bytes that came in during the last handler are announced by no further readyRead. While
    // the engine waits it holds them and reads them itself when the wait is over.
    if (!m_engine->finished() && !m_engine->waiting() && m_port.isOpen() && m_port.inputBytesWaiting() > 0 &&
        m_port.outputBytesPending() == 0)
        QTimer::singleShot(0, this, [this] { post(Event::Read); });
}

void SessionRunner::dispatch(Event event)
{
    switch (event) {
    case Event::Start: m_engine->StartSession(); break;
    case Event::Read: m_engine->onBytesAvailable(); break;
    case Event::Drain: m_engine->onOutputDrained(); break;
    case Event::Timeout: m_engine->onTimeout(); break;
    case Event::Tick: m_engine->onProgressTick(); break;
    case Event::Failure: m_engine->onPortError(m_failure); break;
    case Event::Continue:
        while (!m_continuations.empty()) {
            std::function<void()> then = std::move(m_continuations.front());
            m_continuations.pop_front();
            then();
        }
        break;
    case Event::Count: break;
    }
}

bool SessionRunner::reserveTrigger(std::uint16_t& handle)
{
    handle = 1;
    return true;
}

void SessionRunner::armTrigger(int ticks)
{
    // A time-out that fired while the handler was busy is void once the handler re-arms or disarms.
    m_pending[static_cast<int>(Event::Timeout)] = false;
    if (ticks <= 0) {
        m_trigger.stop();
        return;
    }
    m_trigger.start(static_cast<int>(TicksToMs(ticks)));
}

void SessionRunner::releaseTrigger()
{
    m_pending[static_cast<int>(Event::Timeout)] = false;
    m_trigger.stop();
}

void SessionRunner::after(int ticks, std::function<void()> then)
{
    QTimer::singleShot(static_cast<int>(TicksToMs(std::max(ticks, 0))), Qt::PreciseTimer, this,
                       [this, then = std::move(then)]() mutable {
                           m_continuations.push_back(std::move(then));
                           post(Event::Continue);
                       });
}

DialogAnswer SessionRunner::showMessage(const Outcome& outcome)
{
    if (messageHandler)
        return messageHandler(outcome);
    std::fprintf(stderr, "%s\n", qPrintable(outcome.message));
    return outcome.buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Ok;
}

void SessionRunner::appendLogLine(const QString& line)
{
    AppendLogLine(m_records.programDir, line);
}

void HeadlessSessionRunner::appendLogLine(const QString& line)
{
    const LogWrite written = AppendLogLine(programDir(), line);
    std::fputs(written.line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void SessionRunner::fatalLogAndExit(const QString& line, int exitCode)
{
    const QString text = m_archiveNote.isEmpty() ? line : line + QStringLiteral("; ") + m_archiveNote;
    const int status = EndWithLog(LogRoutine::Fatal, m_records.programDir, text, exitCode);
    // The run has its outcome: mark it before the hang-up's waits, during which a queued
    // end-of-session check would otherwise replace the line.
    m_done = true;
    m_exitCode = status;
    HangupModem(*this, m_records.session, [this, status] {
        m_trigger.stop();
        m_progress.stop();
        m_port.close();
        finish(status);
    });
}

void SessionRunner::finish(int exitCode)
{
    m_done = true;
    m_exitCode = exitCode;
    if (finished)
        finished(exitCode);
    else
        QCoreApplication::exit(exitCode);
}

void SessionRunner::setProgressTimerRunning(bool running)
{
    if (running)
        m_progress.start();
    else
        m_progress.stop();
}

bool SessionRunner::appendReceiveCsv(const QString& csvFile)
{
    const LoggerInfo& info = m_records.loggerInfo;
    const QLocale locale = QLocale::system();
    const auto styles =
        ChannelValueStyles(info, m_scaling, m_records.settings.fahrenheit, m_records.settings.humidityQuantity);
    const auto texts = ValueTexts(info.currentValues, styles);
    const QString line =
        ReceiveCsvLine(ShortDateLongTime(QDateTime::currentDateTime(), locale), ListSeparator(locale), info, texts);
    return AppendReceiveCsvLine(csvFile, line);
}

bool SessionRunner::autoExport(const QString& dataFile, const QString& csvName, int averaging)
{
    const ExportSettings exportSettings = ExportSettingsFrom(m_records.settings, m_records.programDir);
    DataSet& data = m_records.dataSet;
    data.dataFileName = dataFile;
    Tl2BankWriter bankWriter(exportSettings);
    const LoadResult loaded =
        LoadDataFile(data, LoadOptionsFrom(m_records.settings, m_records.programDir, &bankWriter));
    if (!loaded.ok || !bankWriter.ok())
        return false;
    ExportRequest request;
    request.path = m_records.programDir + csvName;
    request.csv = true;
    request.averaging = averaging;
    return ExportData(data, request, exportSettings).ok;
}

void SessionRunner::hangupModem()
{
    HangupModem(*this, m_records.session);
}

void SessionRunner::sessionEnded()
{
    // An unattended run whose session ended without an outcome has nothing more to wait for.
    if (m_unattended && !m_done)
        QTimer::singleShot(0, this, [this] {
            if (!m_done && !m_engine->active()) {
                const int status = EndWithLog(LogRoutine::Fatal, m_records.programDir,
                                              QString::fromLatin1(kNoResultText), kExitFailure);
                finish(status);
            }
        });
}

void SessionRunner::startUnattended(TransactionKind kind)
{
    m_unattended = true;
    m_done = false;
    m_exitCode = kExitFailure;
    startInteractive(kind);
}

void SessionRunner::startInteractive(TransactionKind kind)
{
    SessionState& s = m_records.session;
    s.transaction = kind;
    s.retryCount = 0;
    resetStopwatch();
    post(Event::Start);
}

} // namespace tamble
