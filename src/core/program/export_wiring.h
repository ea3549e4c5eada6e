#pragma once
// The settings fields that steer loading and exporting, gathered for the
// data-file functions, which know nothing of the settings record itself.

#include "settings/settings_record.h"
#include "datafiles/export.h"
#include "datafiles/tl1_loader.h"

namespace tamble {

// The records an export edits: the loaded recording, and the export fields of the settings.
struct ExportRecords {
    DataSet& dataSet;
    SettingsRecord& settings;
    const QString& programDir;
};

inline ExportSettings ExportSettingsFrom(const SettingsRecord& settings, const QString& programDir)
{
    ExportSettings s;
    s.noHeader = settings.noHeader;
    s.dateOrder = ExportDateOrderFromSetting(settings.exportDateFormat);
    s.fahrenheit = settings.fahrenheit;
    s.humidityQuantity = settings.humidityQuantity;
    s.programDir = programDir;
    return s;
}

inline LoadOptions LoadOptionsFrom(const SettingsRecord& settings, const QString& programDir, BankSink* bankSink)
{
    LoadOptions o;
    o.programDir = programDir;
    o.autoAnswer = settings.autoAnswer;
    o.amPm = settings.amPm;
    o.fahrenheit = settings.fahrenheit;
    o.humidityQuantity = settings.humidityQuantity;
    o.bankSink = bankSink;
    return o;
}

} // namespace tamble
