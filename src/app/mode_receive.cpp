// The unattended receive modes: download the logger into a ".TL1" file, or append its current
// readings to a ".CSV" file. Both run the session engine headless and end with one log line.
#include "app/session_runner.h"
#include "app/unattended.h"

namespace tamble {

int RunReceiveMode(AppRecords& records, const QString& dataFile)
{
    records.mode.receive = true;
    records.dataFileName = dataFile;
    SessionRunner runner(records);
    return runner.RunUnattended(TransactionKind::ReceiveData);
}

int RunReceiveCsvMode(AppRecords& records, const QString& csvFile)
{
    records.mode.receive = true;
    records.mode.receiveCsv = true;
    records.dataFileName = csvFile;
    SessionRunner runner(records);
    return runner.RunUnattended(TransactionKind::ReadStatus);
}

} // namespace tamble
