#include "app/session_runner.h"

#include "app/log_routines.h"
#include "app/startup_log.h"
#include "link/receive_csv.h"
#include "link/status_text.h"

#include <QCoreApplication>
#include <QLocale>
#include <cstdio>

#if __has_include("app/export_wiring.h")
#include "app/export_wiring.h"
#include "datafiles/export.h"
#include "datafiles/tl2.h"
#define TAMBLE_HAS_EXPORT_WIRING 1
#endif

namespace tamble {

SessionRunner::SessionRunner(AppRecords& records, QObject* parent)
    : QObject(parent), m_records(records), m_port(records.programDir)
{
    m_engine = std::make_unique<SessionEngine>(
        *this, SessionRecords{records.session, records.settings, records.loggerInfo, records.geometry, records.mode,
                              records.dataFileName});
    m_engine->setStatusDecoder([this](QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                                      MemoryGeometry& geometry) { return Decode(record, context, info, geometry); });
    m_scaling.tableDirectory = records.programDir;

    m_trigger.setSingleShot(true);
    m_trigger.setTimerType(Qt::PreciseTimer);
    connect(&m_trigger, &QTimer::timeout, this, [this] { Post(Event::Timeout); });
    m_progress.setInterval(165);
    connect(&m_progress, &QTimer::timeout, this, [this] { Post(Event::Tick); });

    m_port.onReadyRead = [this] { Post(Event::Read); };
    m_port.onDrained = [this] { Post(Event::Drain); };
    m_port.onFailure = [this](const QString& why) {
        m_failure = why;
        Post(Event::Failure);
    };
}

SessionRunner::~SessionRunner() = default;

StatusDecodeResult SessionRunner::Decode(QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                                         MemoryGeometry& geometry)
{
    m_scaling.tableError = false;
    return DecodeStatus(record, context, info, geometry, m_scaling);
}

void SessionRunner::Post(Event event)
{
    m_pending[static_cast<int>(event)] = true;
    if (m_busy > 0)
        return;  // the engine is inside a handler (waiting ticks): delivered when it is done
    // Deliver in a fixed order: a failed port first, then bytes, drained output, time-out, tick.
    static const Event kOrder[] = {Event::Failure, Event::Start, Event::Read, Event::Drain, Event::Timeout,
                                   Event::Tick};
    bool any = true;
    while (any && !m_engine->finished()) {
        any = false;
        for (Event e : kOrder) {
            if (!m_pending[static_cast<int>(e)])
                continue;
            m_pending[static_cast<int>(e)] = false;
            ++m_busy;
            Dispatch(e);
            --m_busy;
            any = true;
            break;
        }
    }
    // Bytes that came in during the last handler are announced by no further readyRead.
    if (!m_engine->finished() && m_port.isOpen() && m_port.inputBytesWaiting() > 0 &&
        m_port.outputBytesPending() == 0)
        QTimer::singleShot(0, this, [this] { Post(Event::Read); });
}

void SessionRunner::Dispatch(Event event)
{
    switch (event) {
    case Event::Start: m_engine->StartSession(); break;
    case Event::Read: m_engine->onBytesAvailable(); break;
    case Event::Drain: m_engine->onOutputDrained(); break;
    case Event::Timeout: m_engine->onTimeout(); break;
    case Event::Tick: m_engine->onProgressTick(); break;
    case Event::Failure: m_engine->onPortError(m_failure); break;
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

void SessionRunner::waitTicks(int ticks, bool)
{
    if (ticks <= 0)
        return;
    // Events keep flowing (the port's buffers fill), but the engine sees them only afterwards.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(TicksToMs(ticks)), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
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

void SessionRunner::fatalLogAndExit(const QString& line, int exitCode)
{
    m_exitCode = EndWithLog(LogRoutine::Fatal, m_records.programDir, line, exitCode);
    // The run has its outcome: mark it before the hang-up's tick waits, during
    // which a queued end-of-session check would otherwise replace the line.
    m_done = true;
    hangupModem();
    m_trigger.stop();
    m_progress.stop();
    m_port.close();
    if (m_loop)
        m_loop->quit();
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
#ifdef TAMBLE_HAS_EXPORT_WIRING
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
#else
    Q_UNUSED(dataFile);
    Q_UNUSED(csvName);
    Q_UNUSED(averaging);
    return false;
#endif
}

void SessionRunner::hangupModem()
{
    SessionState& s = m_records.session;
    if (s.modemOnline) {
        if (m_port.isOpen()) {
            m_port.setDtr(true);
            waitTicks(4, true);
            m_port.setDtr(false);
            waitTicks(9, true);
            m_port.setDtr(true);
            waitTicks(9, true);
        }
        m_trigger.stop();
        s.triggerHeld = false;
        m_port.close();
        s.modemOnline = false;
    }
    s.retryCount = 0;
}

void SessionRunner::sessionEnded()
{
    // An unattended run whose session ended without an outcome has nothing more to wait for.
    if (m_loop && !m_done)
        QTimer::singleShot(0, this, [this] {
            if (!m_done && !m_engine->active()) {
                m_exitCode = EndWithLog(LogRoutine::Fatal, m_records.programDir,
                                        QStringLiteral("Session ended without a result"), kExitFailure);
                m_done = true;
                if (m_loop)
                    m_loop->quit();
            }
        });
}

int SessionRunner::RunUnattended(TransactionKind kind)
{
    SessionState& s = m_records.session;
    s.transaction = kind;
    s.retryCount = 0;
    m_done = false;
    m_exitCode = kExitFailure;
    resetStopwatch();
    QEventLoop loop;
    m_loop = &loop;
    Post(Event::Start);
    if (!m_done && !m_engine->finished())
        loop.exec();
    m_loop = nullptr;
    return m_exitCode;
}

} // namespace tamble
