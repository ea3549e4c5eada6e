#include "app/auto_answer_service.h"
#include "settings/port_diagnosis.h"

#include "settings/command_line.h"
#include "settings/log_routines.h"
#include "platform/auto_answer_runner.h"
#include "platform/call_hook_runner.h"
#include "platform/session_runner.h"
#include "platform/startup_log.h"
#include "link/auto_answer.h"
#include "link/baud_rate.h"
#include "link/com_test.h"
#include "link/network.h"
#include "link/remote_modem.h"
#include "link/setup_sender.h"
#include "archive/call_hook.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace tamble {

namespace {

// The session runner with auto-answer wired in. After each call the after-call command of
// "archive.ini" runs beside the service; its log line joins the call's when it has ended.
class AutoAnswerService : public HeadlessSessionRunner {
public:
    AutoAnswerService(AppRecords& records, int maxCalls)
        : HeadlessSessionRunner(records), m_records(records), m_maxCalls(maxCalls), m_sender(records.setup),
          m_aa(*this, records, [this] { saveSettings(); })
    {
        engine().setTransactionHandler(TransactionKind::SendSetup, &m_sender);
        // Whatever would be a dialog is a log line: nobody watches this program.
        messageHandler = [this](const Outcome& o) {
            appendLogLine(o.message);
            return DialogAnswer::Ok;
        };
        onDataFileComplete = [this](const QString& file) { m_callFile = file; };
    }

    int run()
    {
        if (!m_aa.autoAnswer().setupAaComPort())
            return EndWithLog(LogRoutine::Fatal, m_records.programDir,
                              QString::fromLatin1(kPortOpenFailedText), kExitFailure);
        finished = [](int) {};  // the service outlives its callers' outcomes
        const int status = QCoreApplication::exec();
        m_aa.port().close();
        return status;
    }

    // --- SessionHost: the auto-answer cycle ---
    QString nextAutoAnswerFile() override { return m_aa.autoAnswer().nextAutoAnswerFile(); }
    void startResendTimer() override { m_aa.autoAnswer().startResendTimer(); }
    void autoAnswerHangup() override
    {
        ++m_calls;
        const bool last = m_maxCalls > 0 && m_calls >= m_maxCalls;
        runCallHook();
        m_aa.autoAnswer().AAHangupModem([this, last] {
            if (!last)
                return;
            // No more calls are answered; a command still running may finish or run out of time.
            m_aa.autoAnswer().disableAutoAnswer();
            m_lastCallDone = true;
            exitWhenDone();
        });
    }

    // --- SessionOutcomes: the call's last line is its outcome for the after-call command ---
    void appendLogLine(const QString& line) override
    {
        m_callLine = line;
        HeadlessSessionRunner::appendLogLine(line);
    }

private:
    void runCallHook()
    {
        const CallFacts call{m_callFile, m_callLine, QString::fromLatin1(m_records.loggerInfo.description)};
        m_callFile.clear();
        m_callLine.clear();
        const CallHookPlan plan = PlanCallHook(LoadArchiveSettings(m_records.programDir), call, m_records.programDir);
        if (!plan.error.isEmpty())
            HeadlessSessionRunner::appendLogLine(plan.error);
        if (!plan.command)
            return;
        m_hooks.run(*plan.command, [this](const QString& line) {
            HeadlessSessionRunner::appendLogLine(line);
            exitWhenDone();
        });
    }

    void exitWhenDone()
    {
        if (m_lastCallDone && !m_hooks.busy())
            QCoreApplication::exit(kExitSuccess);
    }

    void saveSettings()
    {
        // The service turned auto answer on for itself; the file keeps the user's choice.
        SettingsRecord copy = m_records.settings;
        copy.autoAnswer = m_fileAutoAnswer;
        copy.useModem = m_fileUseModem;
        copy.portNumber = m_filePortNumber;
        SaveSettings(m_records.programDir, copy);
    }

    AppRecords& m_records;
    int m_maxCalls = 0;
    int m_calls = 0;
    SetupSender m_sender;
    AutoAnswerRunner m_aa;
    CallHookRunner m_hooks;
    QString m_callFile;          // the data file of the call under way, once complete
    QString m_callLine;          // its last log line so far
    bool m_lastCallDone = false; // --calls N: the last call is over and hung up

public:
    bool m_fileAutoAnswer = false;
    bool m_fileUseModem = false;
    int m_filePortNumber = 1;
};

int runAutoAnswer(AppRecords& records, const QStringList& params)
{
    int maxCalls = 0;
    const qsizetype at = params.indexOf(QStringLiteral("--calls"));
    if (at >= 0) {
        bool ok = false;
        maxCalls = params.value(at + 1).toInt(&ok);
        if (!ok || maxCalls < 1)
            return EndWithLog(LogRoutine::Fatal, records.programDir,
                              InvalidCommandLineText(QStringLiteral("--calls needs a number of calls")),
                              kExitCommandLineError);
    }
    SettingsRecord& set = records.settings;
    const bool fileAutoAnswer = set.autoAnswer;
    const bool fileUseModem = set.useModem;
    const int filePortNumber = set.portNumber;
    // --com N answers on COM N whatever port the settings name (a system service's instance).
    const qsizetype com = params.indexOf(QStringLiteral("--com"));
    if (com >= 0) {
        bool ok = false;
        const int port = params.value(com + 1).toInt(&ok);
        if (!ok || port < 1 || port > 20)
            return EndWithLog(LogRoutine::Fatal, records.programDir,
                              InvalidCommandLineText(QStringLiteral("--com needs a port number from 1 to 20")),
                              kExitCommandLineError);
        set.portNumber = port;
    }
    set.useModem = true;     // a caller's modem is on the line
    set.autoAnswer = true;   // station address 00, year correction, no dialogs
    AutoAnswerService service(records, maxCalls);
    service.m_fileAutoAnswer = fileAutoAnswer;
    service.m_fileUseModem = fileUseModem;
    service.m_filePortNumber = filePortNumber;
    return service.run();
}

// Runs `start` and waits for the procedure's one message.
int runProcedure(AppRecords& records, SessionRunner& runner, const std::function<std::optional<QString>()>& start,
                 const QString& successPrefix)
{
    std::optional<Outcome> outcome;
    runner.messageHandler = [&](const Outcome& o) {
        if (!outcome)
            outcome = o;
        QTimer::singleShot(0, &runner, [] { QCoreApplication::exit(0); });
        return DialogAnswer::Ok;
    };
    if (const auto refusal = start())
        return EndWithLog(LogRoutine::Fatal, records.programDir, *refusal, kExitFailure);
    if (!outcome)
        QCoreApplication::exec();
    runner.qtPort().close();
    const QString text = outcome ? outcome->message : QString::fromLatin1(kNoResultText);
    return EndWithLog(LogRoutine::Fatal, records.programDir, text,
                      text.startsWith(successPrefix) ? kExitSuccess : kExitFailure);
}

int commandLineError(AppRecords& records, const QString& text)
{
    return EndWithLog(LogRoutine::Fatal, records.programDir, InvalidCommandLineText(text),
                      kExitCommandLineError);
}

} // namespace

bool IsServiceCommandLine(const QStringList& params)
{
    return !params.isEmpty() && IsServiceOption(params.first());
}

int RunServiceCommandLine(AppRecords& records, const QStringList& params)
{
    const QString option = params.value(0);
    if (option == QLatin1String("--auto-answer"))
        return runAutoAnswer(records, params);

    UnattendedSessionRunner runner(records);
    SessionEngine& engine = runner.engine();
    if (option == QLatin1String("--program-station")) {
        bool ok = false;
        const int address = params.value(1).toInt(&ok);
        if (!ok || address < 0 || address > 255)
            return commandLineError(records, QStringLiteral("--program-station needs an address 0-255"));
        StationAddressProgrammer programmer;
        programmer.install(engine);
        return runProcedure(
            records, runner,
            [&]() -> std::optional<QString> {
                if (auto refusal = StationAddressMenuRefusal(records.settings))
                    return refusal;
                programmer.start(engine, static_cast<std::uint16_t>(address));
                return std::nullopt;
            },
            QString::fromLatin1(kStationProgrammedPrefix));
    }
    if (option == QLatin1String("--set-logger-baud")) {
        if (params.size() > 1) {
            bool ok = false;
            const int baud = params.value(1).toInt(&ok);
            static const int speeds[] = {1200, 2400, 4800, 9600, 19200, 28800, 38400, 57600};
            if (!ok || std::find(std::begin(speeds), std::end(speeds), baud) == std::end(speeds))
                return commandLineError(records, QStringLiteral("--set-logger-baud needs a line speed"));
            records.settings.baud = baud;
        }
        BaudRateChanger changer;
        changer.install(engine);
        const int status = runProcedure(
            records, runner, [&] { return changer.start(engine); }, QString::fromLatin1(kLoggerBaudSetPrefix));
        SaveSettings(records.programDir, records.settings);
        return status;
    }
    if (option == QLatin1String("--com-test")) {
        ComTest test;
        test.install(engine);
        return runProcedure(
            records, runner,
            [&]() -> std::optional<QString> {
                test.run(engine);
                return std::nullopt;
            },
            QString::fromLatin1(kComTestOkText));
    }
    RemoteModemSetup remote;
    remote.install(engine);
    return runProcedure(
        records, runner,
        [&]() -> std::optional<QString> {
            remote.proceed(engine);
            return std::nullopt;
        },
        QString::fromLatin1(kRemoteModemConfiguredText));
}

} // namespace tamble
