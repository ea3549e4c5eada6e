#include "settings/command_line_paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using namespace tamble;

namespace {

const QString kHome = QStringLiteral("/home/ann/.local/share/tamble-logger/");

} // namespace

TEST(CommandLinePaths, ARelativeNameIsTakenFromTheStartFolderUnlessThatIsTheProgramFolder)
{
    struct Case { const char* name; const char* startDir; const char* expected; };
    const std::vector<Case> cases = {
        {"site.TL1", "/home/ann/work", "/home/ann/work/site.TL1"},
        {"../bob/./x.tl1", "/home/ann/work", "/home/ann/bob/x.tl1"},
        {"sub dir/job.set", "/", "/sub dir/job.set"},
        {"/data/site.tl1", "/home/ann/work", "/data/site.tl1"},
        {"", "/home/ann/work", ""},
        // Typed in the program folder (with or without its last slash): the name resolves there as typed.
        {"site.TL1", "/home/ann/.local/share/tamble-logger", "site.TL1"},
        {"../x.tl1", "/home/ann/.local/share/tamble-logger/", "../x.tl1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in " + c.startDir);
        EXPECT_EQ(CommandLineFilePath(c.name, c.startDir, kHome), QString(c.expected));
    }
}

TEST(CommandLinePaths, AProgramFolderReachedThroughALinkIsStillTheStartFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString real = dir.filePath("real");
    const QString link = dir.filePath("link");
    ASSERT_TRUE(QDir().mkpath(real));
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_EQ(CommandLineFilePath("a.tl1", QDir(real).canonicalPath(), link + "/"), "a.tl1");
    EXPECT_EQ(CommandLineFilePath("a.tl1", dir.path(), link), QDir::cleanPath(dir.path() + "/a.tl1"));
}

TEST(CommandLinePaths, OnlyParameterOneIsResolvedAndNotTheHangUpModesPlaceholder)
{
    const QString work = QStringLiteral("/home/ann/work");
    EXPECT_EQ(ResolveCommandLineFiles({"out.csv", "r", "3", "12"}, work, kHome),
              QStringList({"/home/ann/work/out.csv", "r", "3", "12"}));
    EXPECT_EQ(ResolveCommandLineFiles({"x", "h", "0", "0"}, work, kHome), QStringList({"x", "h", "0", "0"}));
    EXPECT_EQ(ResolveCommandLineFiles({}, work, kHome), QStringList());
}
