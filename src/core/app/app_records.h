#pragma once
// The one object that owns every process-wide record of a run. main() creates
// it once and hands references to whatever needs a record; nothing else holds
// program-wide mutable state.

#include "app/command_line.h"
#include "app/memory_geometry.h"
#include "app/settings_record.h"

#include <QString>

// Records of other subsystems join as their headers arrive.
#if __has_include("link/session_state.h")
#include "link/session_state.h"
#define TAMBLE_HAS_SESSION_STATE 1
#endif
#if __has_include("link/logger_info.h")
#include "link/logger_info.h"
#define TAMBLE_HAS_LOGGER_INFO 1
#endif
#if __has_include("setup/setup_record.h")
#include "setup/setup_record.h"
#define TAMBLE_HAS_SETUP_RECORD 1
#endif
#if __has_include("datafiles/dataset.h")
#include "datafiles/dataset.h"
#define TAMBLE_HAS_DATASET 1
#endif

namespace tamble {

struct AppRecords {
    SettingsRecord settings;
    MemoryGeometry geometry;
    CommandLineMode mode;
    QString dataFileName;   // full path of the current data file
    QString programDir;     // ends in "/"; the current directory of the run
    QStringList parameters; // command-line parameters after the program name
#ifdef TAMBLE_HAS_SESSION_STATE
    SessionState session;
#endif
#ifdef TAMBLE_HAS_LOGGER_INFO
    LoggerInfo loggerInfo;
#endif
#ifdef TAMBLE_HAS_SETUP_RECORD
    SetupRecord setup;
#endif
#ifdef TAMBLE_HAS_DATASET
    DataSet dataSet;
#endif
};

} // namespace tamble
