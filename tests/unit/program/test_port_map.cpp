// Where COM n leads, the editing of "ports.ini", and the order of the devices offered for it.

#include "settings/port_map.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : m_name(name) { qputenv(name, value); }
    ~ScopedEnv() { qunsetenv(m_name); }
private:
    const char* m_name;
};

} // namespace

struct LineCase {
    const char* text;
    int number;
    const char* device;
};

TEST(PortsFileDevice, FindsTheFirstLineOfThePortWithADevice)
{
    const LineCase cases[] = {
        {"COM1=/dev/ttyUSB0\n", 1, "/dev/ttyUSB0"},
        {"  com3=  /dev/ttyACM1 \r\n", 3, "/dev/ttyACM1"},
        {"COM1=/one\nCOM10=/ten\n", 10, "/ten"},
        {"COM10=/ten\nCOM1=/one\n", 1, "/one"},
        {"COM2=\nCOM2=/two\nCOM2=/later\n", 2, "/two"},
        {"# COM4=/commented\n", 4, ""},
        {"COM4 = /spaced\n", 4, ""},
        {"", 1, ""},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(PortsFileDevice(QString::fromLatin1(c.text), c.number), c.device) << c.text;
}

TEST(LookUpComDevice, EnvironmentThenPortsFileThenDefault)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(LookUpComDevice(17, dir.path()).path, "/dev/ttyS16");
    EXPECT_EQ(LookUpComDevice(17, dir.path()).source, ComSource::Default);

    WriteFile(dir.filePath("ports.ini"), "COM17=/dev/serial/by-id/usb-x\n");
    EXPECT_EQ(LookUpComDevice(17, dir.path()).path, "/dev/serial/by-id/usb-x");
    EXPECT_EQ(LookUpComDevice(17, dir.path()).source, ComSource::PortsFile);
    EXPECT_EQ(ResolveComDevice(1, dir.path()), "/dev/ttyS0");

    ScopedEnv env("TAMBLE_COM17", "/dev/pts/9");
    EXPECT_EQ(LookUpComDevice(17, dir.path()).path, "/dev/pts/9");
    EXPECT_EQ(LookUpComDevice(17, dir.path()).source, ComSource::Environment);
    EXPECT_EQ(ResolveComDevice(17, dir.path()), "/dev/pts/9");
}

TEST(ComDeviceText, NamesTheDeviceAndWhereItComesFrom)
{
    EXPECT_EQ(ComDeviceText(1, {"/dev/ttyS0", ComSource::Default}, true), "/dev/ttyS0");
    EXPECT_EQ(ComDeviceText(2, {"/dev/ttyUSB0", ComSource::PortsFile}, true),
              "/dev/ttyUSB0 (ports.ini)");
    EXPECT_EQ(ComDeviceText(12, {"/dev/pts/4", ComSource::Environment}, false),
              "/dev/pts/4 ($TAMBLE_COM12), not present");
}

struct EditCase {
    const char* name;
    const char* before;
    int number;
    const char* device;
    const char* after;
};

TEST(SetPortsFileEntry, ReplacesAppendsOrRemovesOnlyThatPort)
{
    const EditCase cases[] = {
        {"EmptyFile", "", 3, "/dev/ttyUSB0", "COM3=/dev/ttyUSB0\n"},
        {"Appends", "# my ports\nCOM1=/a\n", 3, "/b", "# my ports\nCOM1=/a\nCOM3=/b\n"},
        {"ReplacesInPlace", "COM1=/a\ncom3=/old\nX=1\n", 3, "/new", "COM1=/a\nCOM3=/new\nX=1\n"},
        {"DropsLaterDuplicates", "COM3=/x\nA=1\nCOM3=/y\n", 3, "/new", "COM3=/new\nA=1\n"},
        {"KeepsCrLf", "A=1\r\nCOM3=/old\r\nB=2\r\n", 3, "/new", "A=1\r\nCOM3=/new\r\nB=2\r\n"},
        {"AppendsWithCrLf", "A=1\r\n", 3, "/new", "A=1\r\nCOM3=/new\r\n"},
        {"NoFinalBreak", "A=1", 3, "/new", "A=1\nCOM3=/new\n"},
        {"Com1IsNotCom10", "COM10=/ten\n", 1, "/one", "COM10=/ten\nCOM1=/one\n"},
        {"KeepsBlankLines", "A=1\n\nB=2\n", 2, "/x", "A=1\n\nB=2\nCOM2=/x\n"},
        {"Removes", "COM1=/a\nCOM3=/old\n", 3, "", "COM1=/a\n"},
        {"RemovesTheLastLine", "COM3=/old\n", 3, "", ""},
        {"RemovingAMissingPort", "A=1\n", 3, "", "A=1\n"},
    };
    for (const EditCase& c : cases) {
        const QString after = SetPortsFileEntry(QString::fromLatin1(c.before), c.number,
                                                QString::fromLatin1(c.device));
        EXPECT_EQ(after, QString::fromLatin1(c.after)) << c.name;
        EXPECT_EQ(PortsFileDevice(after, c.number), QString::fromLatin1(c.device)) << c.name;
    }
}

TEST(WritePortMapping, KeepsTheOtherLinesAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("ports.ini"), "; hand-written\nCOM1=/dev/ttyS0\nCOM2=/dev/old\n");
    const auto written = WritePortMapping(dir.path(), 2, "/dev/serial/by-id/usb-A");
    ASSERT_TRUE(written.has_value()) << written.error().toStdString();
    EXPECT_EQ(ReadFile(dir.filePath("ports.ini")),
              "; hand-written\nCOM1=/dev/ttyS0\nCOM2=/dev/serial/by-id/usb-A\n");
    EXPECT_EQ(ResolveComDevice(2, dir.path()), "/dev/serial/by-id/usb-A");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"ports.ini"}));
}

TEST(WritePortMapping, CreatesTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WritePortMapping(dir.path(), 5, "/dev/ttyACM0").has_value());
    EXPECT_EQ(ReadFile(dir.filePath("ports.ini")), "COM5=/dev/ttyACM0\n");
}

TEST(WritePortMapping, RefusesADeviceThatWouldNotReadBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("ports.ini"), "COM1=/a\n");
    for (const char* bad : {"/dev/x\nCOM2=/dev/y", "/dev/x\r", " /dev/x", "/dev/x "}) {
        const auto result = WritePortMapping(dir.path(), 1, QString::fromLatin1(bad));
        EXPECT_FALSE(result.has_value()) << bad;
        EXPECT_FALSE(result.error().isEmpty());
    }
    EXPECT_EQ(ReadFile(dir.filePath("ports.ini")), "COM1=/a\n");
}

TEST(WritePortMapping, ReportsAFolderItCannotWriteIn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("plain"), "x");   // not a folder: nothing can be created under it
    const auto result = WritePortMapping(dir.filePath("plain"), 1, "/dev/ttyUSB0");
    ASSERT_FALSE(result.has_value());
    EXPECT_TRUE(result.error().contains("ports.ini")) << result.error().toStdString();
}

TEST(ListSerialChoices, StableNamesFirstThenTheRestInNaturalOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString devs = dir.filePath("dev");
    const QString byId = dir.filePath("by-id");
    ASSERT_TRUE(QDir().mkpath(devs) && QDir().mkpath(byId));
    for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyUSB10", "ttyACM0"})
        WriteFile(devs + "/" + name, "");
    ASSERT_TRUE(QFile::link(devs + "/ttyUSB1", byId + "/usb-Zeta_Cable-if00-port0"));
    ASSERT_TRUE(QFile::link(devs + "/ttyUSB0", byId + "/usb-Alpha_Cable-if00-port0"));
    ASSERT_TRUE(QFile::link(devs + "/gone", byId + "/usb-Unplugged-if00"));

    const QStringList enumerated = {devs + "/ttyUSB10", devs + "/ttyUSB0", devs + "/ttyUSB2",
                                    devs + "/ttyACM0", devs + "/ttyUSB1", devs + "/missing"};
    const std::vector<SerialChoice> choices = ListSerialChoices(byId, enumerated);
    QStringList paths;
    for (const SerialChoice& c : choices)
        paths << c.path;
    EXPECT_EQ(paths, QStringList({byId + "/usb-Alpha_Cable-if00-port0",
                                  byId + "/usb-Zeta_Cable-if00-port0", devs + "/ttyACM0",
                                  devs + "/ttyUSB2", devs + "/ttyUSB10"}));
    ASSERT_EQ(choices.size(), 5u);
    EXPECT_TRUE(choices[0].byId);
    EXPECT_EQ(choices[0].target, QFileInfo(devs + "/ttyUSB0").canonicalFilePath());
    EXPECT_FALSE(choices[2].byId);
}

TEST(ListSerialChoices, NoStableNamesFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("ttyS1"), "");
    const auto choices = ListSerialChoices(dir.filePath("no-such"), {dir.filePath("ttyS1")});
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].path, dir.filePath("ttyS1"));
}
