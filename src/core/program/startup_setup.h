#pragma once
// The setup loaded at start-up into the records of the run.

#include "program/app_records.h"
#include "setup/setup_file.h"

#include <QDateTime>

namespace tamble {

// Reads the last setup file of the settings into records.setup and
// records.savedSetupCopy (the start-up load, with its name folding and its
// failure outcomes) and copies the setup's four scaling codes into the status
// copy records.loggerInfo. A send-setup command line makes a missing file end
// the run; otherwise the default setup is made and written. Shows and logs
// nothing: the outcome's message is for the caller.
StartupSetupOutcome LoadSetupIntoRecords(AppRecords& records, const QDateTime& now);

} // namespace tamble
