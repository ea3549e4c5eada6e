// The unattended receive modes: download the logger into a ".TL1" file, or append its current
// readings to a ".CSV" file. Both run the session engine headless (dialling first when the
// settings say use modem) and end with one log line.
#include "platform/session_runner.h"
#include "app/unattended.h"
#include "program/dialler_wiring.h"

namespace tamble {

namespace {

int RunReceive(AppRecords& records, TransactionKind kind)
{
    UnattendedSessionRunner runner(records);
    ModemDialler dialler;
    InstallDialler(runner.engine(), records, dialler);
    runner.startUnattended(kind);
    return RunToOutcome(runner);
}

} // namespace

int RunReceiveMode(AppRecords& records, const QString& dataFile)
{
    records.mode.receive = true;
    records.dataFileName = dataFile;
    return RunReceive(records, TransactionKind::ReceiveData);
}

int RunReceiveCsvMode(AppRecords& records, const QString& csvFile)
{
    records.mode.receive = true;
    records.mode.receiveCsv = true;
    records.dataFileName = csvFile;
    return RunReceive(records, TransactionKind::ReadStatus);
}

} // namespace tamble
