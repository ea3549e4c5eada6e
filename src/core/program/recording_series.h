#pragma once
// A data file (.TL1, or the .TL2 of a multi-bank recording) read for the analysis, without any
// window: loaded as the graph loads it, then its readings at full resolution.

#include "analysis/series.h"
#include "datafiles/dataset.h"
#include "settings/settings_record.h"

#include <QString>

namespace tamble {

// The recording of `path` in the unit choices of `settings`; nothing is written beside it.
SeriesResult LoadRecordingSeries(const QString& path, const SettingsRecord& settings, const QString& programDir);

// The readings of a recording the graph has loaded.
SeriesResult LoadedRecordingSeries(const DataSet& data, const SettingsRecord& settings, const QString& programDir);

} // namespace tamble
