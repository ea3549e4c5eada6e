// The setup window's Load, Save As and Exit without the window: a file the window cannot take
// changes nothing, and each answer to "Save changes?" does what it says.

#include "setup/setup_window_files.h"

#include "format/logger_info.h"
#include "setup/setup_file.h"
#include "support/scripted_messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;

namespace {

const QDate kFilesToday(2026, 12, 9);

struct Files {
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    SetupRecord setup = DefaultSetupRecord(QDateTime(kFilesToday, QTime(9, 15)));
    SetupRecord saved = setup;
    QString last = QStringLiteral("SITE.SET");
    LoggerInfo info;
    std::int32_t capacity = 0;
    SetupWindowModel model{setup, capacity};
    ScriptedMessages messages;
    SetupWindowFiles files{model, {saved, last, info}, messages};
};

} // namespace

TEST(SetupWindowFilesTest, LoadTakesASetupFileAndAFileItCannotTakeChangesNothing)
{
    Files f;
    SetupRecord roof = f.setup;
    roof.setChannelLabel(3, PadWithSpaces("Roof", kChannelLabelWidth));
    ASSERT_TRUE(SaveSetupFile(f.path("ROOF.SET"), roof).ok);
    ASSERT_TRUE(f.files.load(f.path("ROOF.SET"), kFilesToday));
    EXPECT_EQ(f.model.state().fileName, QStringLiteral("ROOF.SET"));
    EXPECT_EQ(f.last, f.path("ROOF.SET"));
    EXPECT_EQ(f.saved, roof);

    const struct { const char* name; QByteArray bytes; QString message; } bad[] = {
        {"SHORT.SET", QByteArray(100, 'D'), QStringLiteral("File I/O error: ") + f.path("SHORT.SET")},
        {"LONG.SET", roof.bytes() + "x", QStringLiteral("File corrupt or invalid")},
        {"JUNK.SET", QByteArray(kSetupRecordSize, '\xff'), QStringLiteral("File corrupt or invalid")},
        {"NOSETUP.TL1", "C\nshort\n", QStringLiteral("File corrupt or invalid")},
    };
    for (const auto& b : bad) {
        QFile file(f.path(b.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(b.bytes) == b.bytes.size());
        file.close();
        EXPECT_FALSE(f.files.load(f.path(b.name), kFilesToday)) << b.name;
        EXPECT_EQ(f.messages.lastText(), b.message) << b.name;
        EXPECT_TRUE(f.setup == roof && f.saved == roof && f.last == f.path("ROOF.SET")) << b.name;
        EXPECT_EQ(f.model.state().fileName, QStringLiteral("ROOF.SET")) << b.name;
    }
}

TEST(SetupWindowFilesTest, ExitAsksAboutChangesAndEachAnswerDoesWhatItSays)
{
    Files f;
    const SetupRecord original = f.setup;
    EXPECT_TRUE(f.files.exit({}, kFilesToday));  // nothing changed: no question
    EXPECT_TRUE(f.messages.shown.empty());

    f.model.editDescription(QStringLiteral("east"));
    const auto answer = [&f](DialogAnswer a, const char* saveAs = nullptr) {
        f.messages.answers = {a};
        return f.files.exit([&f, saveAs] { return saveAs ? f.path(saveAs) : QString(); }, kFilesToday);
    };
    EXPECT_FALSE(answer(DialogAnswer::Cancel));
    EXPECT_EQ(f.messages.lastText(), QStringLiteral("Save changes?"));
    EXPECT_EQ(f.messages.shown.back().buttons, DialogButtons::YesNoCancel);
    EXPECT_TRUE(answer(DialogAnswer::No));
    EXPECT_EQ(f.setup, original);
    EXPECT_FALSE(f.model.modified());

    f.model.editDescription(QStringLiteral("east"));
    EXPECT_FALSE(answer(DialogAnswer::Yes));  // the save dialog cancelled
    EXPECT_FALSE(answer(DialogAnswer::Yes, "notes.txt"));
    EXPECT_EQ(f.messages.lastText(), QStringLiteral("File not saved; file name must end in '.SET'"));
    EXPECT_TRUE(answer(DialogAnswer::Yes, "EAST.SET"));
    SetupRecord onDisk;
    ASSERT_TRUE(LoadSetupFile(f.path("EAST.SET"), onDisk).ok);
    EXPECT_EQ(onDisk.description(), PadWithSpaces("east", kDescriptionWidth));
    EXPECT_EQ(f.saved, onDisk);
    EXPECT_EQ(f.model.state().fileName, QStringLiteral("EAST.SET"));
    EXPECT_FALSE(f.model.modified());
}
