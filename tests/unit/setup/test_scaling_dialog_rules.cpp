// What the scaling dialogs accept, refuse and write into a channel's scaling.

#include "setup/scaling_dialog_rules.h"

#include "conversion/sensor_table.h"
#include "setup/setup_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;

TEST(ScalingDialogChoice, OnlyTheThreeDialogEntriesOpenADialog)
{
    EXPECT_EQ(DialogForScalingIndex(5), ScalingDialogKind::LinearScale);
    EXPECT_EQ(DialogForScalingIndex(7), ScalingDialogKind::CustomTable);
    EXPECT_EQ(DialogForScalingIndex(11), ScalingDialogKind::ContactClosure);
    for (int index : {-1, 0, 1, 2, 3, 4, 6, 8, 9, 10, 12, 26, 43, 44})
        EXPECT_EQ(DialogForScalingIndex(index), ScalingDialogKind::None) << index;
}

namespace {

struct TwoValueCase {
    const char* low;
    const char* high;
    const char* entry;        // nullptr: refused
    const char* stored;       // LinearValues on success
    const char* message;      // on refusal
    ScaleField focus = ScaleField::Low;
};

SetupRecord Untouched()
{
    SetupRecord s = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    return s;
}

void RunTwoValueCases(const std::vector<TwoValueCase>& cases, char code,
                      ScalingOutcome (*accept)(SetupRecord&, int, const QString&, const QString&), int index)
{
    for (const TwoValueCase& c : cases) {
        for (int channel : {1, 3}) {
            SetupRecord setup = Untouched();
            const SetupRecord before = setup;
            const ScalingOutcome out = accept(setup, channel, QString::fromLatin1(c.low), QString::fromLatin1(c.high));
            const std::string what = std::string(c.low) + "|" + c.high + " ch" + std::to_string(channel);
            if (c.entry) {
                ASSERT_TRUE(out.accepted()) << what;
                EXPECT_TRUE(out.messages.isEmpty()) << what;
                EXPECT_EQ(out.entry->listIndex, index) << what;
                EXPECT_EQ(out.entry->text, QString::fromLatin1(c.entry)) << what;
                EXPECT_EQ(setup.scalingCode(channel), code) << what;
                EXPECT_EQ(setup.linearValues(channel), QByteArray(c.stored)) << what;
                // Only that channel's code and values change.
                SetupRecord expected = before;
                expected.setScalingCode(channel, code);
                expected.setLinearValues(channel, c.stored);
                EXPECT_EQ(setup, expected) << what;
            } else {
                EXPECT_FALSE(out.accepted()) << what;
                EXPECT_EQ(out.messages, QStringList{QString::fromLatin1(c.message)}) << what;
                EXPECT_EQ(out.focus, c.focus) << what;
                EXPECT_EQ(setup, before) << what;
            }
        }
    }
}

} // namespace

TEST(LinearScaleOk, NormalisesChecksAndWritesCodeThree)
{
    RunTwoValueCases(
        {
            {"4", "20", "Linear: 4.0000 / 20.000", "4.000020.000", nullptr},
            {"5.", "-1", "Linear: 5.0000 / -1.000", "5.0000-1.000", nullptr},
            {"", "100", "Linear: 0.0000 / 100.00", "0.0000100.00", nullptr},
            {"-25.00", "100.50", "Linear: -25.00 / 100.50", "-25.00100.50", nullptr},
            {" 0.000", "100.00", "Linear:  0.000 / 100.00", " 0.000100.00", nullptr},
            {"123456", "-12345", "Linear: 123456 / -12345", "123456-12345", nullptr},
            {"0", "0", nullptr, nullptr, "One value must be non-zero"},
            {"", "", nullptr, nullptr, "One value must be non-zero"},
            {"-0", "0.000", nullptr, nullptr, "One value must be non-zero"},
            {"5", "5.0", nullptr, nullptr, "Values must be different"},
            {"-1", "-1.000", nullptr, nullptr, "Values must be different"},
            {"1-2", "5", nullptr, nullptr, "Lo Value is not a number"},
            {"5", "+-", nullptr, nullptr, "Hi Value is not a number", ScaleField::High},
            {"inf", "5", nullptr, nullptr, "Lo Value is not a number"},
        },
        '3', &AcceptLinearScale, kLinearScalingIndex);
}

TEST(ContactClosureOk, ClosedIsTheLowHalfOpenTheHighHalf)
{
    RunTwoValueCases(
        {
            {"1", "0", "Cls/opn: 1.0000 / 0.0000", "1.00000.0000", nullptr},
            {"0", "-5", "Cls/opn: 0.0000 / -5.000", "0.0000-5.000", nullptr},
            {"0", "", nullptr, nullptr, "One value must be non-zero"},
            {"2", "2.", nullptr, nullptr, "Values must be different"},
            {"2", "2-", nullptr, nullptr, "Open is not a number", ScaleField::High},
        },
        'X', &AcceptContactClosure, kContactScalingIndex);
}

TEST(CustomTableOk, StoresTheNameThatFindsTheSameFileAgain)
{
    for (const char* name : {"mytab.rvt", "ABCDEFGH.RVT", "3.Rvt", "t-1_x.rVt"}) {
        SetupRecord setup = Untouched();
        const QString file = QString::fromLatin1(name);
        const ScalingOutcome out = AcceptTableFile(setup, 2, file);
        ASSERT_TRUE(out.accepted()) << name;
        EXPECT_EQ(*out.entry, (ScalingEntry{kTableScalingIndex, "Table: (" + file + ")"})) << name;
        EXPECT_EQ(setup.scalingCode(2), '1');
        EXPECT_EQ(setup.tableName(2), file.left(file.indexOf('.')).toLatin1());
        // The conversion looks the table up by the stored name (letter case aside).
        const QString lookedUp = SensorTableFileName('1', PadWithSpaces(setup.tableName(2), 12).toStdString());
        EXPECT_EQ(lookedUp.compare(file, Qt::CaseInsensitive), 0) << lookedUp.toStdString();
    }
}

TEST(CustomTableOk, RefusesNamesThatWouldPointElsewhere)
{
    for (const char* name : {"ABCDEFGHI.rvt", "my tab.rvt", "a.b.rvt", ".rvt", "table.txt", "table", "t\xe9.rvt"}) {
        SetupRecord setup = Untouched();
        const SetupRecord before = setup;
        const ScalingOutcome out = AcceptTableFile(setup, 1, QString::fromLatin1(name));
        EXPECT_FALSE(out.accepted()) << name;
        ASSERT_EQ(out.messages.size(), 1) << name;
        EXPECT_EQ(out.messages[0], QStringLiteral("The table '") + QString::fromLatin1(name)
                                       + "' cannot be used: a table name has 1 to 8 characters without blanks or"
                                         " '.', followed by .RVT");
        EXPECT_EQ(setup, before) << name;
    }
    SetupRecord setup = Untouched();
    EXPECT_EQ(AcceptTableFile(setup, 1, QString()).messages, QStringList{"Select a table file"});
}

TEST(LinearEntries, SplitIntoTheirSixCharacterHalves)
{
    const auto a = SplitLinearEntry("Linear: 0.0000 / 100.00");
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->low, "0.0000");
    EXPECT_EQ(a->high, "100.00");
    const auto b = SplitLinearEntry(LinearEntryText(" 0.000", "-25.00"));
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(b->low, " 0.000");
    EXPECT_EQ(b->high, "-25.00");
    for (const char* bad : {"Cls/opn: 1.0000 / 0.0000", "Linear: 1 / 2", "Linear: 0.0000 - 100.00", "New Linear Scale:", ""})
        EXPECT_FALSE(SplitLinearEntry(QString::fromLatin1(bad)).has_value()) << bad;

    SetupRecord setup = Untouched();   // LinearValues "100.000.0000"
    EXPECT_EQ(LinearEntryOfRecord(setup, 4), "Linear: 100.00 / 0.0000");
    setup.setLinearValues(4, "1");
    EXPECT_EQ(LinearEntryOfRecord(setup, 4), "Linear: 1      /       ");
}

TEST(TableFiles, AreTheRvtFilesOfTheFolderInAnyLetterCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"b.RVT", "A.rvt", "c.Rvt", "k.mvt", "notes.txt", "rvt", "x.rvt.bak"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("d.rvt"));
    EXPECT_EQ(TableFilesIn(dir.path()), QStringList({"A.rvt", "b.RVT", "c.Rvt"}));
    EXPECT_TRUE(TableFilesIn(dir.path() + "/missing").isEmpty());
}
