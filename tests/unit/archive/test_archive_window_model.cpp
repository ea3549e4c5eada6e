// The Archive window's rules and a logger's history over a small store held in memory.

#include "archive/archive_history.h"
#include "archive/archive_window_model.h"
#include "datafiles/csv_reader.h"
#include "program/recording_series.h"
#include "support/scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

using namespace tamble;
using tamble::test::ScriptedMessages;

namespace {

constexpr std::int64_t kMinute = 60'000;

std::int64_t At(const char* text)
{
    std::int64_t t = 0;
    EXPECT_TRUE(ParseArchiveTimeText(QString::fromLatin1(text), t)) << text;
    return t;
}

class FakeStore : public ArchiveStore {
public:
    ArchiveWrite add(const ArchiveDownload&) override { return {}; }

    std::optional<std::vector<ArchiveLoggerRow>> loggers(QString& error) override
    {
        if (!failure.isEmpty()) {
            error = failure;
            return std::nullopt;
        }
        return loggerRows;
    }

    std::optional<std::vector<ArchiveDownloadRow>> downloads(std::int64_t loggerId, QString&) override
    {
        std::vector<ArchiveDownloadRow> rows;
        for (const ArchiveDownloadRow& d : downloadRows)
            if (d.loggerId == loggerId)
                rows.push_back(d);
        return rows;
    }

    bool readings(const ArchiveQuery& q, const std::function<void(const ArchiveReadingRow&)>& each, QString&) override
    {
        for (const ArchiveReadingRow& r : readingRows) {
            if ((!q.loggerId || *q.loggerId == r.loggerId) && (!q.from || r.time >= *q.from) && (!q.to || r.time <= *q.to))
                each(r);
        }
        return true;
    }

    std::vector<ArchiveLoggerRow> loggerRows;
    std::vector<ArchiveDownloadRow> downloadRows;
    std::vector<ArchiveReadingRow> readingRows;
    QString failure;
};

// A cold room downloaded twice: minute readings from 00:00 to 00:04 (channel 2 not a number at
// 00:02, channel 1 at 00:03), nothing from 00:05 to 00:09, then two-minute readings from 00:10 to
// 00:14. A second logger has no readings.
FakeStore ColdRoom(const QString& firstFile = QStringLiteral("/data/cold 1.TL1"))
{
    FakeStore s;
    const std::int64_t t0 = At("2026-01-05T00:00:00");
    ArchiveLoggerRow room;
    room.id = 1;
    room.logger = {QStringLiteral("LX900-M 12 bit"), 0, QStringLiteral("Cold room")};
    room.downloads = 2;
    room.lastDownload = QStringLiteral("2026-01-05T00:20:00");
    room.firstTime = t0;
    room.lastTime = t0 + 14 * kMinute;
    ArchiveLoggerRow spare;
    spare.id = 2;
    spare.logger = {QStringLiteral("LX500"), 7, QStringLiteral("Spare")};
    s.loggerRows = {room, spare};

    ArchiveDownloadRow first;
    first.id = 10;
    first.loggerId = 1;
    first.file = firstFile;
    first.source = ArchiveSource::AutoAnswer;
    first.downloadedAt = QStringLiteral("2026-01-05T00:06:00");
    first.intervalSeconds = 60;
    first.firstTime = t0;
    first.lastTime = t0 + 4 * kMinute;
    first.readingCount = 10;
    first.newReadings = 10;
    ArchiveDownloadRow second = first;
    second.id = 11;
    second.file = QStringLiteral("/data/cold 2.TL1");
    second.source = ArchiveSource::Window;
    second.downloadedAt = QStringLiteral("2026-01-05T00:20:00");
    second.intervalSeconds = 120;
    second.firstTime = t0 + 10 * kMinute;
    second.lastTime = t0 + 14 * kMinute;
    second.readingCount = 6;
    second.newReadings = 6;
    s.downloadRows = {first, second};

    const auto reading = [&](int minute, int channel, std::optional<double> value) {
        ArchiveReadingRow r;
        r.logger = QStringLiteral("Cold room");
        r.loggerId = 1;
        r.time = t0 + minute * kMinute;
        r.channel = channel;
        r.label = channel == 1 ? QStringLiteral("Air") : QStringLiteral("Humidity");
        r.unit = channel == 1 ? QStringLiteral("Deg C") : QStringLiteral("% RH");
        r.value = value;
        s.readingRows.push_back(r);
    };
    for (int m : {0, 1, 2, 3, 4, 10, 12, 14}) {
        reading(m, 1, m == 3 ? std::nullopt : std::optional<double>(-20.0 + m));
        reading(m, 2, m == 2 ? std::nullopt : std::optional<double>(80.5));
    }
    s.loggerRows[0].readings = static_cast<std::int64_t>(s.readingRows.size());
    return s;
}

ArchiveOpener OpenerOf(const FakeStore& store)
{
    return [store](QString&) -> std::unique_ptr<ArchiveStore> { return std::make_unique<FakeStore>(store); };
}

} // namespace

TEST(ArchiveWindowModel, ListsTheLoggersAndTheDownloadsOfTheChosenOne)
{
    ScriptedMessages messages;
    ArchiveWindowModel model(messages);
    model.refresh(OpenerOf(ColdRoom()));
    EXPECT_TRUE(messages.shown.empty());

    const ArchiveTable loggers = model.loggers();
    ASSERT_EQ(loggers.rows.size(), 2u);
    EXPECT_EQ(loggers.rows[0], (QStringList{"Cold room", "LX900-M 12 bit", "", "2", "2026-01-05 00:20:00", "16"}));
    EXPECT_EQ(loggers.rows[1][2], "7");
    // The first logger is chosen, its period the whole of its readings.
    EXPECT_EQ(model.loggerRow(), 0);
    EXPECT_EQ(model.from(), At("2026-01-05T00:00:00"));
    EXPECT_EQ(model.to(), At("2026-01-05T00:14:00"));

    const ArchiveTable downloads = model.downloads();
    ASSERT_EQ(downloads.rows.size(), 2u);
    EXPECT_EQ(downloads.rows[0], (QStringList{"2026-01-05 00:06:00", "Auto answer", "cold 1.TL1", "2026-01-05 00:00:00",
                                               "2026-01-05 00:04:00", "10", "10"}));
    EXPECT_EQ(downloads.tips[0], "/data/cold 1.TL1");
    EXPECT_EQ(downloads.rows[1][1], "Window");

    // Open Graph waits for a download; a logger without readings has no history.
    EXPECT_FALSE(model.openGraphEnabled());
    EXPECT_TRUE(model.openHistoryEnabled());
    model.chooseDownload(1);
    EXPECT_TRUE(model.openGraphEnabled());
    model.chooseLogger(1);
    EXPECT_TRUE(model.downloads().rows.empty());
    EXPECT_FALSE(model.openGraphEnabled());
    EXPECT_FALSE(model.openHistoryEnabled());
}

TEST(ArchiveWindowModel, RefreshKeepsTheChosenLoggerAndDownload)
{
    ScriptedMessages messages;
    ArchiveWindowModel model(messages);
    FakeStore store = ColdRoom();
    model.refresh(OpenerOf(store));
    model.chooseLogger(1);
    model.chooseLogger(0);
    model.chooseDownload(1);
    std::swap(store.loggerRows[0], store.loggerRows[1]);
    model.refresh(OpenerOf(store));
    EXPECT_EQ(model.loggerRow(), 1);
    EXPECT_EQ(model.downloadRow(), 1);
}

TEST(ArchiveWindowModel, AnArchiveThatIsOffOrCannotBeReadIsSaidAndLeavesTheTablesEmpty)
{
    ScriptedMessages messages;
    ArchiveWindowModel model(messages);
    model.refresh(OpenerOf(ColdRoom()));
    model.refresh({});
    EXPECT_EQ(messages.lastText(), QString::fromLatin1(kArchiveOffText));
    EXPECT_TRUE(model.loggers().rows.empty());
    EXPECT_TRUE(model.downloads().rows.empty());
    EXPECT_FALSE(model.openHistoryEnabled());

    model.refresh([](QString& error) -> std::unique_ptr<ArchiveStore> {
        error = QStringLiteral("The archive sqlite:/x is damaged or is not a database: file is not a database");
        return nullptr;
    });
    EXPECT_EQ(messages.lastText(), "The archive sqlite:/x is damaged or is not a database: file is not a database");

    FakeStore broken = ColdRoom();
    broken.failure = QStringLiteral("sqlite:/x: no such table: logger");
    model.refresh(OpenerOf(broken));
    EXPECT_EQ(messages.lastText(), "sqlite:/x: no such table: logger");
    EXPECT_TRUE(model.loggers().rows.empty());
    EXPECT_EQ(messages.shown.size(), 3u);
}

TEST(ArchiveWindowModel, OpenGraphGivesTheDownloadsFileOrSaysItIsGone)
{
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("cold 1.TL1"));
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ScriptedMessages messages;
    ArchiveWindowModel model(messages);
    model.refresh(OpenerOf(ColdRoom(kept)));
    model.chooseDownload(0);
    EXPECT_EQ(model.graphFile(), kept);
    model.chooseDownload(1);
    EXPECT_EQ(model.graphFile(), std::nullopt);
    EXPECT_EQ(messages.lastText(), "File: /data/cold 2.TL1 not found");
}

TEST(ArchiveWindowModel, OpenHistoryRefusesAPeriodThatEndsBeforeItStartsOrHoldsNoReadings)
{
    ScriptedMessages messages;
    ArchiveWindowModel model(messages);
    model.refresh(OpenerOf(ColdRoom()));
    model.setFrom(At("2026-01-05T00:10:00"));
    model.setTo(At("2026-01-05T00:05:00"));
    EXPECT_EQ(model.historyFile(), std::nullopt);
    EXPECT_EQ(messages.lastText(), "The period starts at 2026-01-05 00:10:00, after its end at 2026-01-05 00:05:00");
    model.setTo(At("2026-01-05T00:11:00"));
    model.setFrom(At("2026-01-05T00:06:00"));
    model.setTo(At("2026-01-05T00:09:00"));
    EXPECT_EQ(model.historyFile(), std::nullopt);
    EXPECT_EQ(messages.lastText(),
              "The archive holds no readings of Cold room from 2026-01-05T00:06:00 to 2026-01-05T00:09:00");
}

// The history is read back as the graph and the statistics read a .TL2 file: one line a minute,
// a break where the archive holds nothing. Downloads at different intervals are refused: filling
// the gaps of the longer one would count readings never taken.
TEST(ArchiveHistory, ReadsBackAsOneRecordingWithItsBreaks)
{
    ScriptedMessages messages;
    ArchiveWindowModel model(messages);
    model.refresh(OpenerOf(ColdRoom()));
    EXPECT_EQ(model.historyFile(), std::nullopt);
    EXPECT_TRUE(messages.lastText().contains("were taken at different intervals (60 s and 120 s)"))
        << messages.lastText().toStdString();
    messages.shown.clear();

    FakeStore oneInterval = ColdRoom();
    oneInterval.downloadRows[1].intervalSeconds = 60;   // minutes 10, 12 and 14 of a one-minute logger
    model.refresh(OpenerOf(oneInterval));
    const std::optional<QString> path = model.historyFile();
    ASSERT_TRUE(path) << messages.lastText().toStdString();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(path->endsWith("/Cold room 2026-01-05 to 2026-01-05.TL2"));
    EXPECT_TRUE(model.isHistoryFile(*path));
    EXPECT_FALSE(model.isHistoryFile(QStringLiteral("/data/cold 1.TL1")));

    const SeriesResult read = LoadRecordingSeries(*path, SettingsRecord{}, QDir::tempPath() + "/");
    ASSERT_TRUE(read.series) << read.message.toStdString();
    const RecordingSeries& s = *read.series;
    EXPECT_EQ(s.description, "Cold room");
    EXPECT_NEAR(s.intervalDays * 1440.0, 1.0, 1e-9);
    ASSERT_EQ(s.channels.size(), 2u);
    EXPECT_EQ(s.channels[0].label, "Air");
    EXPECT_EQ(s.channels[1].unit, "% RH");
    const std::vector<double>& air = s.channels[0].value;
    const std::vector<double>& humidity = s.channels[1].value;
    ASSERT_EQ(air.size(), 15u);
    EXPECT_DOUBLE_EQ(air[0], -20.0);
    EXPECT_DOUBLE_EQ(air[2], -18.0);
    EXPECT_TRUE(std::isnan(humidity[2]));   // not a number at 00:02
    EXPECT_TRUE(std::isnan(air[3]));         // a line ends at its first value missing
    EXPECT_TRUE(std::isnan(humidity[3]));
    for (int m = 5; m <= 9; ++m)
        EXPECT_TRUE(std::isnan(air[static_cast<std::size_t>(m)])) << m;
    EXPECT_DOUBLE_EQ(air[10], -10.0);
    EXPECT_TRUE(std::isnan(air[11]));        // no reading was taken at 00:11
    EXPECT_DOUBLE_EQ(air[14], -6.0);
    EXPECT_NEAR((s.channels[0].time[14] - s.channels[0].time[0]) * 1440.0, 14.0, 1e-6);

    // The graph's points: the break is no point at all.
    DataSet data;
    data.bankFileName = *path;
    GraphBuffer buffer;
    const CsvReadResult csv = ReadCsvDataFile(data, buffer, QDir::tempPath() + "/");
    ASSERT_TRUE(csv.ok) << csv.message.toStdString();
    EXPECT_EQ(buffer.graphPointCount, 15);
    EXPECT_FLOAT_EQ(buffer.values[0][4], -16.0f);
    EXPECT_TRUE(std::isnan(buffer.values[0][7]));
    EXPECT_EQ(data.channelList, (std::vector<int>{1, 2}));
}
