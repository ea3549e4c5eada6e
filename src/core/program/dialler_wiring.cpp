#include "program/dialler_wiring.h"

#include "directory/directory_list_rules.h"

#include <QDir>
#include <utility>

namespace tamble {

void InstallDialler(SessionEngine& engine, AppRecords& records, ModemDialler& dialler,
                    std::function<void()> refreshPhoneNumber)
{
    if (!refreshPhoneNumber)
        refreshPhoneNumber = [&records] {
            const auto number = PhoneListNumber(QDir(records.programDir).filePath(QStringLiteral("Phone.ini")),
                                                records.settings.phoneEntry);
            if (number)
                records.settings.phoneNumber = *number;
        };
    dialler = ModemDialler(std::move(refreshPhoneNumber));
    dialler.setPhoneNumberFromCommandLine(records.parameters.value(3).size() > 4);
    dialler.install(engine);
}

} // namespace tamble
