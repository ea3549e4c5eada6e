#pragma once
// The records the setup window edits: the setup and its copy as last loaded or saved, the memory
// capacity it shows, the settings it reads and writes (station, last setup file, firmware), the
// last status it can load, the session's scaling-only flag, and the program folder.

#include "format/logger_info.h"
#include "link/session_state.h"
#include "settings/settings_record.h"
#include "setup/setup_record.h"

#include <QString>

namespace tamble {

struct AppRecords;

struct SetupWindowRecords {
    SetupRecord& setup;
    SetupRecord& savedSetupCopy;
    int& memoryCapacity;
    SettingsRecord& settings;
    LoggerInfo& loggerInfo;
    SessionState& session;
    const QString& programDir;
};

SetupWindowRecords SetupWindowRecordsOf(AppRecords& records);

} // namespace tamble
