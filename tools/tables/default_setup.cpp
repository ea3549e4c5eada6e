#include "shipped_tables.h"

#include "setup/setup_file.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace tamble::tables {

// The factory setup file, as the setup window makes it when no setup can be
// loaded. Its pre-set start date and time are fixed so the file is the same on
// every run; the setup window replaces them before a setup is sent.
bool WriteDefaultSetup(const std::string& folder)
{
    SetupRecord record;
    const QDateTime fixed(QDate(2026, 1, 1), QTime(0, 0));
    return MakeDefaultSetup(record, fixed, QString::fromStdString(folder));
}

} // namespace tamble::tables
