#pragma once
// Recordings loaded the way the program loads them, for the export tests.

#include "datafiles/export.h"
#include "datafiles/tl1_loader.h"
#include "writer/tl1_writer.h"
#include "datafiles/tl2.h"
#include "unit/datafiles/test_loader_support.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamble::testing {

inline QString ShippedTables()
{
    return QStringLiteral(TAMBLE_SOURCE_DIR "/data/");
}

// Loads `plan` as if it were a downloaded file in `dir`; multi-bank files
// get their .TL2 written beside it.
inline bool LoadPlan(const RecordingPlan& plan, const QString& dir, DataSet& data, const ExportSettings& settings,
                     const QString& name = QStringLiteral("rec.TL1"))
{
    const QString path = dir + "/" + name;
    if (!WriteTl1File(path, MakeRecording(plan)))
        return false;
    data = DataSet{};
    data.dataFileName = path;
    Tl2BankWriter sink(settings);
    LoadOptions o;
    o.programDir = ShippedTables();
    o.amPm = false;
    o.fahrenheit = settings.fahrenheit;
    o.humidityQuantity = settings.humidityQuantity;
    o.bankSink = &sink;
    const LoadResult r = LoadDataFile(data, o);
    return r.ok && sink.ok();
}

inline QList<QByteArray> FileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray all = f.readAll();
    QList<QByteArray> lines = all.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& l : lines) {
        EXPECT_TRUE(l.endsWith('\r')) << "line not ended by CR LF: " << l.constData();
        l.chop(1);
    }
    return lines;
}

// Readings 1, 2, 3 ... on every channel (interleaved), as raw counts.
inline std::vector<std::uint16_t> CountingReadings(int perChannel, int channels, int scale = 1)
{
    std::vector<std::uint16_t> r;
    for (int i = 0; i < perChannel; ++i)
        for (int c = 0; c < channels; ++c)
            r.push_back(static_cast<std::uint16_t>(((i + 1) * scale + c) % 256));
    return r;
}

} // namespace tamble::testing
