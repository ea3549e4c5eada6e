#include "program/setup_window_records.h"

#include "program/app_records.h"

namespace tamble {

SetupWindowRecords SetupWindowRecordsOf(AppRecords& records)
{
    return {records.setup,    records.savedSetupCopy, records.geometry.memoryCapacity, records.settings,
            records.loggerInfo, records.session,      records.programDir};
}

} // namespace tamble
