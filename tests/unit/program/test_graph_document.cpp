#include "program/app_records.h"
#include "program/graph_document.h"
#include "support/scripted_messages.h"

#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>
#include <cmath>

namespace tamble {
namespace {

struct DocumentRig {
    DocumentRig()
    {
        records.programDir = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");   // the sensor tables
        QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/temprh4.TL1"), dir.filePath("temprh4.TL1"));
    }
    QTemporaryDir dir;
    AppRecords records;
    test::ScriptedMessages messages;
    GraphDocument doc{GraphRecordsOf(records), messages};
};

TEST(GraphDocument, OpenAndLoadKeepTheLoadedRecordingOnFailure)
{
    DocumentRig rig;
    ASSERT_TRUE(rig.doc.open(rig.dir.filePath("temprh4.TL1")));
    EXPECT_EQ(rig.records.settings.lastDataFile, rig.dir.filePath("temprh4.TL1"));
    ASSERT_TRUE(rig.doc.load());
    const int channels = rig.records.dataSet.channelCount();
    EXPECT_GT(channels, 0);
    EXPECT_TRUE(rig.doc.hasReadings());

    // A missing file says so and leaves the recording and the last data file alone.
    EXPECT_FALSE(rig.doc.open(rig.dir.filePath("gone.TL1")));
    EXPECT_EQ(rig.messages.lastText(), FileNotFoundText(rig.dir.filePath("gone.TL1")));
    EXPECT_TRUE(rig.doc.loadError());
    EXPECT_EQ(rig.records.settings.lastDataFile, rig.dir.filePath("temprh4.TL1"));

    // A file that is not a recording fails to load, and the loaded one stays.
    QFile junk(rig.dir.filePath("junk.TL1"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a recording");
    junk.close();
    ASSERT_TRUE(rig.doc.open(junk.fileName()));
    EXPECT_FALSE(rig.doc.load());
    EXPECT_EQ(rig.records.dataSet.channelCount(), channels);
    EXPECT_TRUE(rig.doc.hasReadings());
}

TEST(GraphDocument, UnitChoicesOfASingleBankRecordingAreRecomputed)
{
    DocumentRig rig;
    EXPECT_EQ(rig.doc.chooseTemperature(true, false), GraphDocument::UnitStep::Unchanged);   // nothing loaded
    ASSERT_TRUE(rig.doc.open(rig.dir.filePath("temprh4.TL1")) && rig.doc.load());
    ASSERT_FALSE(rig.records.dataSet.multiBank);
    EXPECT_EQ(rig.doc.chooseTemperature(true, false), GraphDocument::UnitStep::Recomputed);
    EXPECT_TRUE(rig.records.settings.fahrenheit);
    EXPECT_TRUE(rig.records.dataSet.scaling.fahrenheit);
    // A live chart has nothing to recompute; the choice is still taken.
    EXPECT_EQ(rig.doc.chooseTemperature(false, true), GraphDocument::UnitStep::Unchanged);
    EXPECT_FALSE(rig.records.settings.fahrenheit);
}

TEST(GraphDocument, ReadoutAndFileNames)
{
    // 2024-03-04 08:00:00 is day 45355.3333…
    const double when = 45355.0 + 8.0 / 24.0;
    EXPECT_EQ(ReadoutText(when, {QStringLiteral("Temp"), QStringLiteral("RH")}, {21.456, std::nan("")}, 1),
              QStringLiteral("04 Mar 2024 08:00:00   Temp: 21.5"));
    EXPECT_TRUE(IsGraphFileName(QStringLiteral("/x/a.Tl2")));
    EXPECT_TRUE(IsGraphFileName(QStringLiteral("a.TL1")));
    EXPECT_FALSE(IsGraphFileName(QStringLiteral("a.tl1.csv")));
}

} // namespace
} // namespace tamble
