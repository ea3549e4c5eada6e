#pragma once
// A virtual logger that serves an existing data file: identity, status values and the
// memory image come from the .TL1 file, as if the file had been downloaded from it.

#include "logger_sim.h"

#include <QString>
#include <memory>

namespace tamble::sim {

// Applies the file's header to `config` (revision, model, resolution, channels, labels,
// description, scaling, rate, flags, pointer, phase, wrap, battery, reading times) and
// builds the logger. Null with `error` set when the file cannot be read or parsed.
std::unique_ptr<LoggerSim> LoggerFromTl1(SimConfig config, const QString& path, LogSink log, qint64 startMs,
                                         const QDateTime& startClock, QString* error);

// Writes the logger's present memory as the data file a download of it gives (header
// from its status at nowMs, blocks in download order). False with `error` set on failure.
bool WriteImageFile(const LoggerSim& logger, const QString& path, qint64 nowMs, QString* error);

// A file time stamp ("Tue 24-Jun-2003 10:01:00", optionally am/pm) as a logger clock
// text; empty when the stamp cannot be read.
QByteArray ClockTextFromStamp(const QByteArray& stamp);

} // namespace tamble::sim
