#pragma once
// The one object that owns every process-wide record of a run. main() creates
// it once and hands references to whatever needs a record; nothing else holds
// program-wide mutable state.

#include "settings/command_line.h"
#include "settings/memory_geometry.h"
#include "settings/settings_record.h"
#include "datafiles/dataset.h"
#include "format/logger_info.h"
#include "link/session_state.h"
#include "setup/setup_record.h"

#include <QString>
#include <QStringList>

namespace tamble {

struct AppRecords {
    SettingsRecord settings;
    MemoryGeometry geometry;
    CommandLineMode mode;
    QString dataFileName;   // full path of the current data file
    QString programDir;     // ends in "/"; the current directory of the run
    QStringList parameters; // command-line parameters after the program name
    SessionState session;   // the engine starts idle, download bank 'A'
    LoggerInfo loggerInfo;  // the last status read from a logger
    SetupRecord setup;      // the one logger setup being edited or sent
    SetupRecord savedSetupCopy; // `setup` as last loaded or saved ("Save changes?" No restores it)
    DataSet dataSet;        // the recording loaded for graph or export
};

} // namespace tamble
