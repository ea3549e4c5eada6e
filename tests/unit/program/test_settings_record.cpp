// The settings file "tblog.ini": 1596 bytes, every field at its offset.

#include "settings/settings_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <random>
#include <vector>

using namespace tamble;

namespace {

void putText(QByteArray& b, int offset, const char* text)
{
    const QByteArray t(text);
    b[offset] = static_cast<char>(t.size());
    for (int i = 0; i < t.size(); ++i)
        b[offset + 1 + i] = t[i];
}

// The default record, byte by byte, as the file holds it.
QByteArray goldenDefaults()
{
    QByteArray b(1596, '\0');
    b[0] = 0x00; b[1] = 0x4B;          // baud 19200
    b[4] = 1;                          // port 1
    b[8] = 1;                          // Fahrenheit
    b[11] = 1;                         // am/pm
    b[12] = 1;                         // viewport mode
    b[14] = 4;                         // viewport assignment 4, 0, 0, 0
    b[18] = 1;                         // station address
    b[19] = 3;                         // grid both
    b[20] = 2;                         // text size medium
    b[21] = 1;                         // colour
    b[23] = 1;                         // mark data points
    b[32] = 'n';                       // last revision
    b[33] = 5;                         // resolution type
    putText(b, 34, "default.set");
    putText(b, 290, "site1a.tl1");
    putText(b, 546, "default.gcf");
    b[802] = 2;                        // radio channel
    b[1581] = 1;                       // reserved
    b[1588] = 1;                       // fast protocol
    b[1592] = 1;                       // export averaging
    return b;
}

struct FieldCase {
    const char* name;
    int offset;
    QByteArray bytes;                              // the field as stored
    std::function<void(SettingsRecord&)> change;   // the same value in the record
};

// A whole text field: length byte, characters, zeros up to the field width.
QByteArray text(int length, const char* chars, int width = 255)
{
    QByteArray b(1, static_cast<char>(length));
    b += chars;
    b += QByteArray(1 + width - b.size(), '\0');
    return b;
}

std::vector<FieldCase> fieldCases()
{
    return {
        {"baud", 0, QByteArray::fromHex("00e10000"), [](auto& r) { r.baud = 57600; }},
        {"port number", 4, QByteArray::fromHex("14000000"), [](auto& r) { r.portNumber = 20; }},
        {"fahrenheit", 8, QByteArray::fromHex("00"), [](auto& r) { r.fahrenheit = false; }},
        {"network", 9, QByteArray::fromHex("01"), [](auto& r) { r.network = true; }},
        {"use modem", 10, QByteArray::fromHex("01"), [](auto& r) { r.useModem = true; }},
        {"am/pm", 11, QByteArray::fromHex("00"), [](auto& r) { r.amPm = false; }},
        {"viewport mode", 12, QByteArray::fromHex("03"), [](auto& r) { r.viewportMode = 3; }},
        {"wireless", 13, QByteArray::fromHex("01"), [](auto& r) { r.wireless = true; }},
        {"viewport assignment", 14, QByteArray::fromHex("01020304"),
         [](auto& r) { r.viewportAssignment = {1, 2, 3, 4}; }},
        {"station address", 18, QByteArray::fromHex("fe"), [](auto& r) { r.stationAddress = 254; }},
        {"grid", 19, QByteArray::fromHex("00"), [](auto& r) { r.grid = 0; }},
        {"text size", 20, QByteArray::fromHex("03"), [](auto& r) { r.textSize = 3; }},
        {"colour mode", 21, QByteArray::fromHex("03"), [](auto& r) { r.colourMode = 3; }},
        {"thick plotting", 22, QByteArray::fromHex("01"), [](auto& r) { r.thickPlotting = true; }},
        {"mark data points", 23, QByteArray::fromHex("00"), [](auto& r) { r.markDataPoints = false; }},
        {"grid in front", 24, QByteArray::fromHex("01"), [](auto& r) { r.gridInFront = true; }},
        {"phone entry", 28, QByteArray::fromHex("0b000000"), [](auto& r) { r.phoneEntry = 11; }},
        {"negative phone entry", 28, QByteArray::fromHex("ffffffff"), [](auto& r) { r.phoneEntry = -1; }},
        {"last revision", 32, QByteArray("x"), [](auto& r) { r.lastRevision = 'x'; }},
        {"resolution type", 33, QByteArray::fromHex("02"), [](auto& r) { r.resolutionType = 2; }},
        {"last setup file", 34, text(6, "a1.SET"), [](auto& r) { r.lastSetupFile = "a1.SET"; }},
        {"last data file", 290, text(9, "/d/x1.tl1"), [](auto& r) { r.lastDataFile = "/d/x1.tl1"; }},
        {"colour file", 546, text(5, "b.gcf"), [](auto& r) { r.colourFile = "b.gcf"; }},
        {"radio channel", 802, QByteArray::fromHex("07"), [](auto& r) { r.radioChannel = 7; }},
        {"local modem entry", 804, QByteArray::fromHex("03000000"), [](auto& r) { r.localModemEntry = 3; }},
        {"local modem init", 808, text(7, "AT&F0\\r"), [](auto& r) { r.localModemInit = "AT&F0\\r"; }},
        {"remote modem entry", 1064, QByteArray::fromHex("02010000"), [](auto& r) { r.remoteModemEntry = 258; }},
        {"remote modem init", 1068, text(3, "ATZ"), [](auto& r) { r.remoteModemInit = "ATZ"; }},
        {"phone number", 1324, text(7, "5551234", 254), [](auto& r) { r.phoneNumber = "5551234"; }},
        {"export date format", 1579, QByteArray::fromHex("01"), [](auto& r) { r.exportDateFormat = 1; }},
        {"humidity quantity", 1580, QByteArray::fromHex("02"), [](auto& r) { r.humidityQuantity = 2; }},
        {"reserved", 1581, QByteArray::fromHex("00"), [](auto& r) { r.reserved = 0; }},
        {"auto file counter", 1584, QByteArray::fromHex("3f420f00"), [](auto& r) { r.autoFileCounter = 999999; }},
        {"fast protocol", 1588, QByteArray::fromHex("00"), [](auto& r) { r.fastProtocol = false; }},
        {"no header", 1589, QByteArray::fromHex("01"), [](auto& r) { r.noHeader = true; }},
        {"auto answer", 1590, QByteArray::fromHex("01"), [](auto& r) { r.autoAnswer = true; }},
        {"auto export", 1591, QByteArray::fromHex("01"), [](auto& r) { r.autoExport = true; }},
        {"export averaging", 1592, QByteArray::fromHex("0f270000"), [](auto& r) { r.exportAveraging = 9999; }},
    };
}

QByteArray withField(QByteArray b, int offset, const QByteArray& field)
{
    b.replace(offset, field.size(), field);
    return b;
}

class SettingsDir : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.path() + "/tblog.ini"; }
    void writeFile(const QByteArray& bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray readFile()
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST(SettingsRecordLayout, DefaultRecord_IsTheGoldenDefaultBytes)
{
    EXPECT_EQ(SerializeSettings(SettingsRecord{}).toHex().toStdString(), goldenDefaults().toHex().toStdString());
    const auto rec = DeserializeSettings(goldenDefaults());
    ASSERT_TRUE(rec.has_value());
    EXPECT_EQ(*rec, SettingsRecord{});
}

TEST(SettingsRecordLayout, EveryField_IsWrittenAndReadAtItsOffset)
{
    for (const FieldCase& c : fieldCases()) {
        SCOPED_TRACE(c.name);
        SettingsRecord rec;
        c.change(rec);
        const QByteArray golden = withField(goldenDefaults(), c.offset, c.bytes);
        EXPECT_EQ(SerializeSettings(rec).toHex().toStdString(), golden.toHex().toStdString());
        const auto back = DeserializeSettings(golden);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, rec);
    }
}

TEST(SettingsRecordLayout, PaddingAndBytesAfterATextAreIgnoredOnReading)
{
    QByteArray b = goldenDefaults();
    for (int offset : {25, 26, 27, 803, 1582, 1583})
        b[offset] = static_cast<char>(0xAA);
    b[34 + 1 + 11] = 'Z';          // after "default.set"
    b[1324 + 1] = 'Q';             // inside the empty phone number
    const auto rec = DeserializeSettings(b);
    ASSERT_TRUE(rec.has_value());
    EXPECT_EQ(*rec, SettingsRecord{});
}

TEST(SettingsRecordLayout, PhoneLengthByteBeyondItsField_IsClampedTo254Characters)
{
    QByteArray b = goldenDefaults();
    b[1324] = static_cast<char>(255);
    for (int i = 0; i < 254; ++i)
        b[1325 + i] = '7';
    b[1579] = 'Z';                 // export date format byte right after the field
    const auto rec = DeserializeSettings(b);
    ASSERT_TRUE(rec.has_value());
    EXPECT_EQ(rec->phoneNumber, QString(254, QChar('7')));
    EXPECT_EQ(rec->exportDateFormat, 'Z');
}

TEST(SettingsRecordLayout, TooLongTexts_AreCutToTheirFieldWithoutTouchingTheNextField)
{
    SettingsRecord rec;
    rec.phoneNumber = QString(300, QChar('9'));
    rec.remoteModemInit = QString(400, QChar('A'));
    const QByteArray b = SerializeSettings(rec);
    ASSERT_EQ(b.size(), 1596);
    EXPECT_EQ(static_cast<unsigned char>(b[1324]), 254);
    EXPECT_EQ(b[1579], '\0');
    EXPECT_EQ(static_cast<unsigned char>(b[1068]), 255);
}

TEST(SettingsRecordLayout, FewerThan1596Bytes_IsNoRecord)
{
    EXPECT_FALSE(DeserializeSettings(QByteArray()).has_value());
    EXPECT_FALSE(DeserializeSettings(goldenDefaults().left(1595)).has_value());
}

TEST(SettingsRecordLayout, RandomBytesOfAnyLength_NeverCrashAndSettleAfterOneRoundTrip)
{
    std::mt19937 rng(1596);
    for (int round = 0; round < 300; ++round) {
        QByteArray b(static_cast<qsizetype>(rng() % 2400), '\0');
        for (auto& ch : b)
            ch = static_cast<char>(rng() & 0xFF);
        const auto rec = DeserializeSettings(b);
        if (b.size() < 1596) {
            EXPECT_FALSE(rec.has_value());
            continue;
        }
        ASSERT_TRUE(rec.has_value());
        const auto again = DeserializeSettings(SerializeSettings(*rec));
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(*again, *rec);
    }
}

TEST_F(SettingsDir, MissingFile_GivesAllDefaults)
{
    EXPECT_EQ(LoadSettings(dir.path()), SettingsRecord{});
}

TEST_F(SettingsDir, FileOf1595Bytes_GivesAllDefaults)
{
    writeFile(withField(goldenDefaults(), 0, QByteArray::fromHex("00e10000")).left(1595));
    EXPECT_EQ(LoadSettings(dir.path()), SettingsRecord{});
}

TEST_F(SettingsDir, EmptyFile_GivesAllDefaults)
{
    writeFile(QByteArray());
    EXPECT_EQ(LoadSettings(dir.path()), SettingsRecord{});
}

TEST_F(SettingsDir, UnreadableFile_GivesAllDefaults)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("tblog.ini"));   // a folder cannot be read as a record
    EXPECT_EQ(LoadSettings(dir.path()), SettingsRecord{});
}

TEST_F(SettingsDir, PipeUnderTheName_GivesAllDefaultsWithoutWaitingForAWriter)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("tblog.ini")).constData(), 0600), 0);
    EXPECT_EQ(LoadSettings(dir.path()), SettingsRecord{});
}

TEST_F(SettingsDir, FileOf2000Bytes_LoadsItsFirst1596)
{
    QByteArray b = withField(goldenDefaults(), 0, QByteArray::fromHex("00e10000"));
    b += QByteArray(404, '\x55');
    writeFile(b);
    SettingsRecord expected;
    expected.baud = 57600;
    EXPECT_EQ(LoadSettings(dir.path()), expected);
}

TEST_F(SettingsDir, Save_WritesExactly1596BytesAndLoadsBack)
{
    writeFile(QByteArray(2000, '\x11'));   // a longer old file is replaced, not overwritten in place
    SettingsRecord rec;
    rec.baud = 38400;
    rec.phoneNumber = "0123 456";
    rec.lastDataFile = "/data/site 4.tl1";
    EXPECT_TRUE(SaveSettings(dir.path(), rec));
    const QByteArray stored = readFile();
    ASSERT_EQ(stored.size(), 1596);
    EXPECT_EQ(stored.left(4).toHex(), "00960000");
    EXPECT_EQ(LoadSettings(dir.path()), rec);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"tblog.ini"});   // no temporary left
}

TEST_F(SettingsDir, SaveIntoAMissingFolder_FailsQuietlyAndCreatesNothing)
{
    const QString missing = dir.path() + "/no/such/folder";
    EXPECT_FALSE(SaveSettings(missing, SettingsRecord{}));
    EXPECT_FALSE(QFile::exists(missing + "/tblog.ini"));
}
