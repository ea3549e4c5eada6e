// The unattended receive modes: download the logger into a ".TL1" file, or append its current
// readings to a ".CSV" file. Both run the session engine headless (dialling first when the
// settings say use modem) and end with one log line.
#include "platform/session_runner.h"
#include "app/unattended.h"
#include "directory/directory_list_rules.h"
#include "link/modem.h"

#include <QDir>

namespace tamble {

namespace {

int RunReceive(AppRecords& records, TransactionKind kind)
{
    UnattendedSessionRunner runner(records);
    // Dialling takes the number of the selected phone-list entry, unless parameter 4 gave the
    // number itself (more than 4 characters).
    ModemDialler dialler([&records] {
        const auto number =
            PhoneListNumber(QDir(records.programDir).filePath(QStringLiteral("Phone.ini")), records.settings.phoneEntry);
        if (number)
            records.settings.phoneNumber = *number;
    });
    dialler.setPhoneNumberFromCommandLine(records.parameters.value(3).size() > 4);
    dialler.install(runner.engine());
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
