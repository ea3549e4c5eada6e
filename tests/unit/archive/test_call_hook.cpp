#include "archive/call_hook.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

QStringList Words(const QString& text)
{
    const CommandWords split = SplitCommandWords(text);
    EXPECT_TRUE(split.error.isEmpty()) << text.toStdString();
    return split.words;
}

CallHookPlan Plan(const QString& command, const CallFacts& call = {})
{
    ArchiveSettings settings;
    settings.afterEachCallRun = command;
    return PlanCallHook(settings, call, QStringLiteral("/srv/loggers/"));
}

} // namespace

TEST(CallHookCommand, SplitsQuotedWordsAsAShellWould)
{
    EXPECT_EQ(Words(QStringLiteral("  /bin/tool   -v\tx ")), (QStringList{"/bin/tool", "-v", "x"}));
    EXPECT_EQ(Words(QStringLiteral("'/opt/my tools/run' \"a \\\"b\\\" \\\\ \\n\" it\\'s")),
              (QStringList{"/opt/my tools/run", "a \"b\" \\ \\n", "it's"}));
    EXPECT_EQ(Words(QStringLiteral("x '' \"\" 'a'\"b\"c")), (QStringList{"x", "", "", "abc"}));
    EXPECT_EQ(Words(QStringLiteral("'$HOME' \"\\$HOME\" *.tl1 a|b")),
              (QStringList{"$HOME", "$HOME", "*.tl1", "a|b"}));
    EXPECT_FALSE(SplitCommandWords(QStringLiteral("x 'open")).error.isEmpty());
    EXPECT_TRUE(SplitCommandWords(QStringLiteral("x \"open")).words.isEmpty());
}

TEST(CallHookCommand, AppendsTheDataFileTheOutcomeAndTheLogger)
{
    CallFacts call{QStringLiteral("north000001.tl1"), QStringLiteral("Rec. north000001.tl1"),
                   QStringLiteral("  North \"A\" site   ")};
    const CallHookPlan plan = Plan(QStringLiteral("'/opt/hook dir/after' --site 3"), call);
    ASSERT_TRUE(plan.command.has_value());
    EXPECT_EQ(plan.command->program, QStringLiteral("/opt/hook dir/after"));
    EXPECT_EQ(plan.command->arguments,
              (QStringList{"--site", "3", "/srv/loggers/north000001.tl1", "Rec. north000001.tl1", "North \"A\" site"}));
    EXPECT_EQ(plan.command->workingDir, QStringLiteral("/srv/loggers/"));
    EXPECT_EQ(plan.command->timeLimitSeconds, 60);
    ArchiveSettings endless;
    endless.afterEachCallRun = QStringLiteral("x");
    endless.hookTimeLimitSeconds = 1 << 30;
    EXPECT_EQ(PlanCallHook(endless, call, {}).command->timeLimitSeconds, kCallHookLongestLimitSeconds);

    call.dataFile.clear();
    EXPECT_EQ(Plan(QStringLiteral("after"), call).command->arguments,
              (QStringList{"", "Rec. north000001.tl1", "North \"A\" site"}));
    call.dataFile = QStringLiteral("/data/x.tl1");
    EXPECT_EQ(Plan(QStringLiteral("after"), call).command->arguments.first(), QStringLiteral("/data/x.tl1"));
}

TEST(CallHookCommand, NoCommandOrAnUnreadableOne)
{
    EXPECT_FALSE(Plan(QString()).command.has_value());
    EXPECT_FALSE(Plan(QStringLiteral("   ")).command.has_value());
    EXPECT_TRUE(Plan(QStringLiteral("   ")).error.isEmpty());

    const CallHookPlan open = Plan(QStringLiteral("/bin/x 'a b"));
    EXPECT_FALSE(open.command.has_value());
    EXPECT_TRUE(open.error.startsWith(QString::fromLatin1(kCallHookLogPrefix) + "cannot read /bin/x 'a b: "))
        << open.error.toStdString();
    EXPECT_FALSE(Plan(QStringLiteral("'' x")).error.isEmpty());
}

TEST(CallHookOutput, KeepsTheFirstLineOnlyAndABoundedPart)
{
    FirstLineCollector lines;
    lines.feed("\r\n\nuploaded ");
    EXPECT_FALSE(lines.complete());
    lines.feed("3\tfiles\r\nsecond line\n");
    EXPECT_TRUE(lines.complete());
    lines.feed("more");
    EXPECT_EQ(lines.line(), QStringLiteral("uploaded 3 files"));

    FirstLineCollector flood;
    const QByteArray chunk(FirstLineCollector::kHeldBytes / 3, 'x');
    for (int i = 0; i < 10; ++i)
        flood.feed(chunk);
    EXPECT_TRUE(flood.complete());
    EXPECT_EQ(flood.line(), QString(FirstLineCollector::kShownLength, QLatin1Char('x')) + "...");
    EXPECT_EQ(FirstLineCollector().line(), QString());
}
