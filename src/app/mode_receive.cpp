// The unattended receive modes: download the logger into a ".TL1" file, or append its current
// readings to a ".CSV" file. Both run the session engine headless (dialling first when the
// settings say use modem) and end with one log line. After a download the after-call command of
// "archive.ini" runs, if there is one, and its log line follows the download's; the exit status
// stays the download's.
#include "platform/call_hook_runner.h"
#include "platform/session_runner.h"
#include "platform/startup_log.h"
#include "app/unattended.h"
#include "archive/call_hook.h"
#include "program/dialler_wiring.h"

namespace tamble {

namespace {

// An unattended download that keeps what the after-call command is told of it.
class DownloadRunner final : public HeadlessSessionRunner {
public:
    explicit DownloadRunner(AppRecords& records) : HeadlessSessionRunner(records)
    {
        onDataFileComplete = [this](const QString& file) { dataFile = file; };
    }

    QString nextAutoAnswerFile() override { return QString(); }
    void startResendTimer() override {}
    void autoAnswerHangup() override {}
    void fatalLogAndExit(const QString& line, int exitCode) override
    {
        outcome = line;
        HeadlessSessionRunner::fatalLogAndExit(line, exitCode);
    }

    QString dataFile;   // empty unless a data file was completed
    QString outcome;    // the run's log line; empty when its session ended without one
};

int RunReceive(AppRecords& records, SessionRunner& runner, TransactionKind kind)
{
    ModemDialler dialler;
    InstallDialler(runner.engine(), records, dialler);
    runner.startUnattended(kind);
    return RunToOutcome(runner);
}

// Runs the after-call command, if one is set, in the program's event loop until it has ended.
void RunCallHook(const AppRecords& records, const CallFacts& call)
{
    const CallHookPlan plan = PlanCallHook(LoadArchiveSettings(records.programDir), call, records.programDir);
    QString line = plan.error;
    if (plan.command) {
        CallHookRunner hooks;
        hooks.run(*plan.command, [&line](const QString& logLine) {
            line = logLine;
            QCoreApplication::exit(0);
        });
        QCoreApplication::exec();
    }
    if (!line.isEmpty())
        EndWithLog(LogRoutine::Append, records.programDir, line, kExitSuccess);
}

} // namespace

int RunReceiveMode(AppRecords& records, const QString& dataFile)
{
    records.mode.receive = true;
    records.dataFileName = dataFile;
    DownloadRunner runner(records);
    const int status = RunReceive(records, runner, TransactionKind::ReceiveData);
    const QString outcome = runner.outcome.isEmpty() ? QString::fromLatin1(kNoResultText) : runner.outcome;
    RunCallHook(records, {runner.dataFile, outcome, QString::fromLatin1(records.loggerInfo.description)});
    return status;
}

int RunReceiveCsvMode(AppRecords& records, const QString& csvFile)
{
    records.mode.receive = true;
    records.mode.receiveCsv = true;
    records.dataFileName = csvFile;
    UnattendedSessionRunner runner(records);
    return RunReceive(records, runner, TransactionKind::ReadStatus);
}

} // namespace tamble
