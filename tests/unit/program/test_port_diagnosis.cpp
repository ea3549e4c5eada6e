// Why a serial device could not be opened: the explanation for each situation, and the facts
// read from real files.

#include "settings/port_diagnosis.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>

using namespace tamble;

namespace {

// A device that exists, owned by root:dialout, mode rw-rw----, and a user with no claim on it.
PortAccessFacts Dialout()
{
    PortAccessFacts f;
    f.exists = true;
    f.owner = "root";
    f.group = "dialout";
    f.mode = "rw-rw----";
    f.ownerReadWrite = true;
    f.groupReadWrite = true;
    return f;
}

struct DiagnosisCase {
    const char* name;
    std::function<void(PortAccessFacts&)> facts;
    QStringList says;      // every one must appear
    QStringList never;     // none may appear
};

} // namespace

class PortDiagnosisText : public ::testing::TestWithParam<DiagnosisCase> {};

TEST_P(PortDiagnosisText, ExplainsTheSituation)
{
    PortAccessFacts f = Dialout();
    GetParam().facts(f);
    const QString text = DiagnosisText("/dev/ttyUSB0", f);
    for (const QString& part : GetParam().says)
        EXPECT_TRUE(text.contains(part)) << text.toStdString() << "\nlacks: " << part.toStdString();
    for (const QString& part : GetParam().never)
        EXPECT_FALSE(text.contains(part)) << text.toStdString() << "\nhas: " << part.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortDiagnosisText,
    ::testing::Values(
        DiagnosisCase{"NotInTheGroup", [](PortAccessFacts&) {},
                      {"/dev/ttyUSB0", "\"dialout\"", "not a member",
                       "sudo usermod -aG dialout $USER", "log in again"},
                      {"does not exist", "another program"}},
        DiagnosisCase{"AddedButNotLoggedInAgain",
                      [](PortAccessFacts& f) { f.listedInGroup = true; },
                      {"/dev/ttyUSB0", "\"dialout\"", "Log out and log in again"},
                      {"usermod"}},
        DiagnosisCase{"InTheGroup", [](PortAccessFacts& f) { f.inGroup = f.listedInGroup = true; },
                      {"/dev/ttyUSB0", "another program"},
                      {"usermod"}},
        DiagnosisCase{"OpenToEveryone", [](PortAccessFacts& f) { f.otherReadWrite = true; },
                      {"another program"}, {"usermod"}},
        DiagnosisCase{"SuperUser", [](PortAccessFacts& f) { f.superUser = true; },
                      {"another program"}, {"usermod"}},
        DiagnosisCase{"OwnerOnly",
                      [](PortAccessFacts& f) { f.groupReadWrite = false; f.mode = "rw-------"; },
                      {"/dev/ttyUSB0", "rw-------", "only its owner", "\"root\""},
                      {"usermod", "another program"}},
        DiagnosisCase{"GroupWithoutWriteEvenForMembers",
                      [](PortAccessFacts& f) {
                          f.groupReadWrite = false; f.inGroup = true; f.mode = "rw-r-----";
                      },
                      {"only its owner"}, {"usermod"}},
        DiagnosisCase{"OwnedButLocked",
                      [](PortAccessFacts& f) {
                          f.isOwner = true; f.ownerReadWrite = false; f.mode = "---rw----";
                      },
                      {"You own /dev/ttyUSB0", "chmod u+rw /dev/ttyUSB0"}, {"usermod"}},
        DiagnosisCase{"Missing", [](PortAccessFacts& f) { f = PortAccessFacts{}; },
                      {"/dev/ttyUSB0", "does not exist"}, {"usermod"}},
        DiagnosisCase{"StaleLink",
                      [](PortAccessFacts& f) {
                          f = PortAccessFacts{}; f.staleLink = true; f.linkTarget = "../../ttyUSB3";
                      },
                      {"/dev/ttyUSB0", "../../ttyUSB3", "unplugged"}, {"usermod"}},
        DiagnosisCase{"Folder", [](PortAccessFacts& f) { f.isDir = true; },
                      {"folder"}, {"usermod"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PortOpenDiagnosis, EmptyDeviceName)
{
    EXPECT_EQ(DiagnosisText(QString(), PortAccessFacts{}), "No device is set for this port.");
}

TEST(PortOpenDiagnosis, ReadsRealFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("ttyUSB7");
    EXPECT_TRUE(PortOpenDiagnosis(missing).contains(missing + " does not exist"));

    const QString link = dir.filePath("usb-Cable-if00");
    ASSERT_TRUE(QFile::link(missing, link));
    const QString stale = PortOpenDiagnosis(link);
    EXPECT_TRUE(stale.contains(link) && stale.contains(missing)) << stale.toStdString();

    EXPECT_TRUE(PortOpenDiagnosis(dir.path()).contains("folder"));

    const QString device = dir.filePath("ttyFake");
    {
        QFile f(device);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::setPermissions(device, QFile::ReadOwner | QFile::WriteOwner
                                                  | QFile::ReadGroup));
    const PortAccessFacts facts = GatherPortFacts(device);
    EXPECT_TRUE(facts.exists);
    EXPECT_FALSE(facts.isDir);
    EXPECT_EQ(facts.mode, "rw-r-----");
    EXPECT_TRUE(facts.isOwner);
    EXPECT_TRUE(facts.inGroup);          // a new file takes the process's group
    EXPECT_TRUE(facts.listedInGroup);
    EXPECT_TRUE(facts.ownerReadWrite);
    EXPECT_FALSE(facts.groupReadWrite);
    EXPECT_FALSE(facts.otherReadWrite);
    EXPECT_EQ(facts.superUser, geteuid() == 0);
    EXPECT_FALSE(facts.owner.isEmpty());
    EXPECT_FALSE(facts.group.isEmpty());
    // Present and ours: nothing but another program can be in the way.
    EXPECT_TRUE(PortOpenDiagnosis(device).contains("another program"));
}
