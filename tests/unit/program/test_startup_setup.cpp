// The setup read at start-up into the records of the run: which file is read,
// what a missing file leads to in each kind of run, and the scaling codes the
// status copy takes from it.

#include "program/startup_setup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace tamble;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeSetup(const QString& path, const std::array<char, 4>& codes)
{
    SetupRecord setup;
    setup.setRateCode('G');
    for (int channel = 1; channel <= 4; ++channel)
        setup.setScalingCode(channel, codes[static_cast<std::size_t>(channel - 1)]);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(setup.bytes());
}

struct StartCase {
    const char* name;
    QString lastSetupFile;      // the settings field at start
    const char* existingFile;   // setup file present in the program folder, or nullptr
    bool sendSetup;             // started with parameter 2 "s"
    StartupSetupOutcome::Result result;
    const char* message;        // exact text, "" for none
    std::array<char, 4> statusCodes;
    QString lastSetupFileAfter;
    bool defaultWritten;
};

} // namespace

TEST(StartupSetupLoad, EachRunKind_ReadsTheRememberedSetupOrEndsAsItsKindRequires)
{
    const QDateTime now(QDate(2026, 12, 9), QTime(8, 30, 0));
    const std::vector<StartCase> cases = {
        {"a Windows path to Default.SET reads default.set from the program folder", "C:\\old\\Default.SET",
         "default.set", false, StartupSetupOutcome::Result::Loaded, "", {'k', '`', 'X', '1'}, "C:\\old\\Default.SET",
         false},
        {"alloff.set in another folder is read from the program folder", "/elsewhere/ALLOFF.set", "alloff.set", false,
         StartupSetupOutcome::Result::Loaded, "", {'k', '`', 'X', '1'}, "/elsewhere/ALLOFF.set", false},
        {"a named setup in the program folder", "pump.set", "pump.set", true, StartupSetupOutcome::Result::Loaded, "",
         {'k', '`', 'X', '1'}, "pump.set", false},
        {"a missing setup in an interactive run loads the default", "pump.set", nullptr, false,
         StartupSetupOutcome::Result::DefaultLoaded, "Setup File: pump.set not found; loading default.",
         {'C', 'C', 'C', 'C'}, "default.set", true},
        {"a missing setup of a send-setup run ends it", "job.set", nullptr, true,
         StartupSetupOutcome::Result::CommandLineFailed, "Setup File: job.set not found; command not executed",
         {'C', 'C', 'C', 'C'}, "job.set", false},
        {"a folded name that is missing is named folded", "C:\\x\\DEFAULT.SET", nullptr, false,
         StartupSetupOutcome::Result::DefaultLoaded, "Setup File: default.set not found; loading default.",
         {'C', 'C', 'C', 'C'}, "default.set", true},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        if (c.existingFile)
            writeSetup(dir.filePath(QString::fromLatin1(c.existingFile)), {'k', '`', 'X', '1'});

        AppRecords records;
        records.programDir = dir.path() + "/";
        records.settings.lastSetupFile = c.lastSetupFile;
        records.mode.sendSetup = c.sendSetup;
        const StartupSetupOutcome out = LoadSetupIntoRecords(records, now);

        EXPECT_EQ(out.result, c.result);
        EXPECT_EQ(out.message ? out.message->text : QString(), QString::fromLatin1(c.message));
        EXPECT_EQ(records.loggerInfo.scalingCodes, c.statusCodes);
        EXPECT_EQ(records.savedSetupCopy, records.setup);
        EXPECT_EQ(records.setup.bytes().size(), 781);
        EXPECT_EQ(records.settings.lastSetupFile, c.lastSetupFileAfter);
        const QByteArray written = readAll(dir.filePath("default.set"));
        if (c.defaultWritten) {
            EXPECT_EQ(written, records.setup.bytes());
            EXPECT_EQ(records.setup.rateCode(), 'D');
        } else if (!c.existingFile || QString::fromLatin1(c.existingFile) != "default.set") {
            EXPECT_TRUE(written.isEmpty());
        }
    }
}
