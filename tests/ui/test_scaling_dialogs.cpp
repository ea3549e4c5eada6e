// The channel scaling dialogs driven through their controls, offscreen: typed values, OK and
// Cancel, the calculators feeding the linear scale, the table chooser over a program directory.

#include "ui/setup/adjust_scale_dialog.h"
#include "ui/setup/contact_closure_dialog.h"
#include "ui/setup/current_loop_dialog.h"
#include "ui/setup/linear_scale_dialog.h"
#include "ui/setup/linear_transducer_dialog.h"
#include "ui/setup/scaling_dialogs.h"
#include "ui/setup/select_table_dialog.h"

#include "program/app_records.h"
#include "support/scripted_messages.h"
#include "ui/support/screens.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::RecordingHelp;
using tamble::test::ScriptedMessages;

namespace {

struct Finished {
    int channel;
    bool accepted;
    int listIndex;
    QString text;
    bool operator==(const Finished&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Finished& f)
{
    return os << f.channel << (f.accepted ? " accepted " : " cancelled ") << f.listIndex << " '"
              << f.text.toStdString() << "'";
}

class ScalingDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        records.programDir = home.path() + "/";
        records.setup = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
        window = std::make_unique<QWidget>();
        dialogs = new ScalingDialogs({records.setup, records.programDir}, messages, help, window.get());
        QObject::connect(dialogs, &ScalingDialogs::scalingFinished,
                         [this](int channel, bool accepted, int index, const QString& text) {
                             ends.push_back({channel, accepted, index, text});
                         });
    }

    template <typename T = QLineEdit>
    static T* control(QWidget& dialog, const char* name)
    {
        T* w = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void click(QWidget& dialog, const char* name)
    {
        QTest::mouseClick(control<QPushButton>(dialog, name), Qt::LeftButton);
    }
    static void type(QWidget& dialog, const char* name, const QString& text)
    {
        QLineEdit* field = control(dialog, name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    static QString text(QWidget& dialog, const char* name) { return control(dialog, name)->text(); }

    void expectErrors(const QStringList& texts)
    {
        EXPECT_EQ(messages.texts(), texts);
        for (const UserMessage& m : messages.shown) {
            EXPECT_EQ(m.kind, DialogKind::Error) << m.text.toStdString();
            EXPECT_EQ(m.buttons, DialogButtons::Ok) << m.text.toStdString();
        }
        messages.shown.clear();
    }

    QTemporaryDir home;
    AppRecords records;
    ScriptedMessages messages;
    RecordingHelp help;
    std::unique_ptr<QWidget> window;
    ScalingDialogs* dialogs = nullptr;
    std::vector<Finished> ends;
};

} // namespace

TEST_F(ScalingDialogsTest, LinearScaleTypedValuesBecomeTheChannelsScale)
{
    ASSERT_TRUE(dialogs->startFor(2, 5));
    LinearScaleDialog& dlg = dialogs->linearScale();
    ASSERT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.windowTitle(), "New Linear Scale");
    EXPECT_TRUE(text(dlg, "LoVal_dlg").isEmpty());
    type(dlg, "LoVal_dlg", "4");
    type(dlg, "HiVal_dlg", "20");
    tamble::test::SaveScreen(dlg, "linear_scale");
    click(dlg, "OKBtn");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ends, (std::vector<Finished>{{2, true, 4, "Linear: 4.0000 / 20.000"}}));
    EXPECT_EQ(records.setup.scalingCode(2), '3');
    EXPECT_EQ(records.setup.linearValues(2), QByteArray("4.000020.000"));
    EXPECT_EQ(records.setup.scalingCode(1), 'C');
}

TEST_F(ScalingDialogsTest, LinearScaleRefusalsKeepTheDialogOpenAndCancelChangesNothing)
{
    const SetupRecord before = records.setup;
    dialogs->startFor(1, 5);
    LinearScaleDialog& dlg = dialogs->linearScale();
    const struct {
        const char* lo;
        const char* hi;
        const char* message;
        const char* focus;
    } refusals[] = {
        {"0", "0", "One value must be non-zero", "LoVal_dlg"},
        {"", "", "One value must be non-zero", "LoVal_dlg"},
        {"5", "5.0", "Values must be different", "LoVal_dlg"},
        {"-1", "-1.000", "Values must be different", "LoVal_dlg"},
    };
    for (const auto& r : refusals) {
        type(dlg, "LoVal_dlg", r.lo);
        type(dlg, "HiVal_dlg", r.hi);
        click(dlg, "OKBtn");
        expectErrors({r.message});
        EXPECT_TRUE(dlg.isVisible()) << r.message;
        EXPECT_EQ(dlg.focusWidget(), control(dlg, r.focus)) << r.message;
    }
    EXPECT_TRUE(ends.empty());
    click(dlg, "CancelBtn");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(ends, (std::vector<Finished>{{1, false, -1, ""}}));
    EXPECT_EQ(records.setup, before);
}

TEST_F(ScalingDialogsTest, ValueFieldsTakeSixCharactersOfANumberAndStartEmptyEveryTime)
{
    dialogs->startFor(1, 5);
    LinearScaleDialog& dlg = dialogs->linearScale();
    QTest::keyClicks(control(dlg, "LoVal_dlg"), "1a2b34567");
    EXPECT_EQ(text(dlg, "LoVal_dlg"), "123456");
    QTest::keyClicks(control(dlg, "HiVal_dlg"), "-1.5e3");
    EXPECT_EQ(text(dlg, "HiVal_dlg"), "-1.53");
    click(dlg, "CancelBtn");
    dialogs->startFor(3, 5);
    EXPECT_TRUE(text(dlg, "LoVal_dlg").isEmpty());
    EXPECT_TRUE(text(dlg, "HiVal_dlg").isEmpty());
    EXPECT_EQ(dlg.channel(), 3);
}

TEST_F(ScalingDialogsTest, CurrentLoopStartsCalculatedAndItsOkFillsTheLinearScale)
{
    dialogs->startFor(4, 5);
    LinearScaleDialog& dlg = dialogs->linearScale();
    click(dlg, "CLBtn");
    CurrentLoopDialog& cloop = dlg.currentLoop();
    ASSERT_TRUE(cloop.isVisible());
    EXPECT_EQ(cloop.windowTitle(), "Current Loop Scaling");
    EXPECT_EQ(text(cloop, "LoValField"), "-25.00");
    EXPECT_EQ(text(cloop, "HiValField"), "100.50");
    tamble::test::SaveScreen(cloop, "current_loop");

    type(cloop, "HiMaField", "4");
    click(cloop, "CalcBtn");
    expectErrors({"Same value entered for Lo/Hi Milliamps"});
    click(cloop, "OKBtn");
    expectErrors({"Same value entered for Lo/Hi Milliamps"});
    EXPECT_TRUE(cloop.isVisible());
    type(cloop, "HiMaField", "");
    click(cloop, "OKBtn");
    expectErrors({"High Milliamps is not a number"});
    EXPECT_EQ(cloop.focusWidget(), control(cloop, "HiMaField"));
    EXPECT_TRUE(text(dlg, "LoVal_dlg").isEmpty());

    type(cloop, "HiMaField", "20");
    type(cloop, "ZeroField", "-50");
    type(cloop, "FSField", "50");
    click(cloop, "OKBtn");
    EXPECT_FALSE(cloop.isVisible());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(text(dlg, "LoVal_dlg"), "-75.00");
    EXPECT_EQ(text(dlg, "HiVal_dlg"), "50.502");
    click(dlg, "OKBtn");
    EXPECT_EQ(ends, (std::vector<Finished>{{4, true, 4, "Linear: -75.00 / 50.502"}}));
    EXPECT_EQ(records.setup.linearValues(4), QByteArray("-75.0050.502"));
}

TEST_F(ScalingDialogsTest, CalculatorCancelCopiesNothing)
{
    dialogs->startFor(1, 5);
    LinearScaleDialog& dlg = dialogs->linearScale();
    type(dlg, "LoVal_dlg", "1");
    click(dlg, "LTBtn");
    LinearTransducerDialog& lt = dlg.linearTransducer();
    ASSERT_TRUE(lt.isVisible());
    click(lt, "CancelBtn");
    EXPECT_FALSE(lt.isVisible());
    EXPECT_EQ(text(dlg, "LoVal_dlg"), "1");
    EXPECT_TRUE(text(dlg, "HiVal_dlg").isEmpty());
}

TEST_F(ScalingDialogsTest, LinearTransducerStartsCalculatedAndKeepsItsFieldsBetweenUses)
{
    dialogs->startFor(1, 5);
    LinearScaleDialog& dlg = dialogs->linearScale();
    click(dlg, "LTBtn");
    LinearTransducerDialog& lt = dlg.linearTransducer();
    EXPECT_EQ(lt.windowTitle(), "Linear Transducer Scaling");
    EXPECT_EQ(text(lt, "LoValField"), " 0.000");
    EXPECT_EQ(text(lt, "HiValField"), "100.00");
    tamble::test::SaveScreen(lt, "linear_transducer");
    type(lt, "LoMaField", "6");
    click(lt, "OKBtn");
    expectErrors({"Min dc volts is greater than Max dc volts"});
    type(lt, "LoMaField", "1");
    click(lt, "OKBtn");
    EXPECT_EQ(text(dlg, "LoVal_dlg"), "-25.00");
    EXPECT_EQ(text(dlg, "HiVal_dlg"), "100.00");
    click(dlg, "CancelBtn");

    dialogs->startFor(2, 5);
    click(dlg, "LTBtn");
    EXPECT_EQ(text(lt, "LoMaField"), "1");
    EXPECT_EQ(text(lt, "LoValField"), "-25.00");
}

TEST_F(ScalingDialogsTest, AdjustStartsFromTheChannelsLinearEntry)
{
    dialogs->startFor(1, 5, "Linear: 0.0000 / 100.00");
    LinearScaleDialog& dlg = dialogs->linearScale();
    click(dlg, "AdjustBtn");
    AdjustScaleDialog& adjust = dlg.adjust();
    ASSERT_TRUE(adjust.isVisible());
    EXPECT_EQ(adjust.windowTitle(), "Adjust Linear Scaling");
    EXPECT_EQ(text(adjust, "OldLoValField"), "0.0000");
    EXPECT_EQ(text(adjust, "OldHiValField"), "100.00");
    EXPECT_TRUE(control(adjust, "OldLoValField")->isReadOnly());

    click(adjust, "OKBtn");
    expectErrors({"Low logger reading is not a number"});
    type(adjust, "LoLoggerField", "90");
    type(adjust, "LoTrueField", "88");
    type(adjust, "HiLoggerField", "10");
    type(adjust, "HiTrueField", "12");
    click(adjust, "CalcBtn");
    expectErrors({"Low logger is higher than High logger reading", "Low true value is higher than High true value"});

    type(adjust, "LoLoggerField", "10");
    type(adjust, "LoTrueField", "12");
    type(adjust, "HiLoggerField", "90");
    type(adjust, "HiTrueField", "88");
    click(adjust, "CalcBtn");
    EXPECT_EQ(text(adjust, "LoValField"), " 2.500");
    EXPECT_EQ(text(adjust, "HiValField"), "97.500");
    tamble::test::SaveScreen(adjust, "adjust");
    click(adjust, "OKBtn");
    EXPECT_FALSE(adjust.isVisible());
    EXPECT_EQ(text(dlg, "LoVal_dlg"), " 2.500");
    EXPECT_EQ(text(dlg, "HiVal_dlg"), "97.500");
    click(dlg, "OKBtn");
    EXPECT_EQ(ends, (std::vector<Finished>{{1, true, 4, "Linear:  2.500 / 97.500"}}));
    EXPECT_EQ(records.setup.linearValues(1), QByteArray(" 2.50097.500"));
}

TEST_F(ScalingDialogsTest, AdjustWithoutAnEntryUsesTheRecordsLinearValues)
{
    records.setup.setLinearValues(3, "-50.0050.000");
    dialogs->startFor(3, 5);
    click(dialogs->linearScale(), "AdjustBtn");
    EXPECT_EQ(text(dialogs->linearScale().adjust(), "OldLoValField"), "-50.00");
    EXPECT_EQ(text(dialogs->linearScale().adjust(), "OldHiValField"), "50.000");
}

TEST_F(ScalingDialogsTest, ContactClosureWritesClosedAndOpen)
{
    ASSERT_TRUE(dialogs->startFor(3, 11));
    ContactClosureDialog& dlg = dialogs->contactClosure();
    ASSERT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.windowTitle(), "Contact Closure values");
    click(dlg, "OKBtn");
    expectErrors({"One value must be non-zero"});
    type(dlg, "LoVal_dlg", "1");
    type(dlg, "HiVal_dlg", "1.");
    click(dlg, "OKBtn");
    expectErrors({"Values must be different"});
    type(dlg, "HiVal_dlg", "0");
    tamble::test::SaveScreen(dlg, "contact");
    click(dlg, "OKBtn");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(ends, (std::vector<Finished>{{3, true, 10, "Cls/opn: 1.0000 / 0.0000"}}));
    EXPECT_EQ(records.setup.scalingCode(3), 'X');
    EXPECT_EQ(records.setup.linearValues(3), QByteArray("1.00000.0000"));
}

TEST_F(ScalingDialogsTest, SelectFileListsTheProgramDirectoryTablesAndStoresTheName)
{
    for (const char* name : {"mytab.rvt", "A.Rvt", "toolongname.rvt", "k.mvt", "readme.txt"}) {
        QFile f(home.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const SetupRecord before = records.setup;
    ASSERT_TRUE(dialogs->startFor(4, 7));
    SelectTableDialog& dlg = dialogs->selectTable();
    ASSERT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.windowTitle(), "Custom Table");
    auto* list = control<QListWidget>(dlg, "FileList");
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    EXPECT_EQ(shown, QStringList({"A.Rvt", "mytab.rvt", "toolongname.rvt"}));
    EXPECT_FALSE(control(dlg, "FileEdit")->isEnabled());

    click(dlg, "OKBtn");
    expectErrors({"Select a table file"});
    list->setCurrentRow(2);
    click(dlg, "OKBtn");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.lastText().startsWith("The table 'toolongname.rvt' cannot be used"));
    messages.shown.clear();
    EXPECT_EQ(records.setup, before);

    list->setCurrentRow(1);
    EXPECT_EQ(text(dlg, "FileEdit"), "mytab.rvt");
    tamble::test::SaveScreen(dlg, "select_file");
    click(dlg, "OKBtn");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(ends, (std::vector<Finished>{{4, true, 6, "Table: (mytab.rvt)"}}));
    EXPECT_EQ(records.setup.scalingCode(4), '1');
    EXPECT_EQ(records.setup.tableName(4), QByteArray("mytab"));

    // Opened again on the same channel, its table is selected.
    dialogs->startFor(4, 7);
    EXPECT_EQ(text(dlg, "FileEdit"), "mytab.rvt");
    click(dlg, "CancelBtn");
    EXPECT_EQ(ends.back(), (Finished{4, false, -1, ""}));
}

TEST_F(ScalingDialogsTest, EntriesThatAreScalingsOpenNoDialog)
{
    for (int index : {0, 3, 4, 6, 8, 10, 12, 43}) {
        EXPECT_FALSE(dialogs->startFor(3, index)) << index;
    }
    EXPECT_FALSE(dialogs->linearScale().isVisible());
    EXPECT_FALSE(dialogs->contactClosure().isVisible());
    EXPECT_FALSE(dialogs->selectTable().isVisible());
    EXPECT_TRUE(ends.empty());
}

TEST_F(ScalingDialogsTest, HelpButtonsOpenTheirTopics)
{
    dialogs->startFor(1, 5);
    LinearScaleDialog& linear = dialogs->linearScale();
    click(linear, "HelpBtn");
    click(linear.currentLoop(), "HelpBtn");
    click(linear.linearTransducer(), "HelpBtn");
    click(linear.adjust(), "HelpBtn");
    click(linear, "CancelBtn");
    dialogs->startFor(1, 11);
    click(dialogs->contactClosure(), "HelpBtn");
    click(dialogs->contactClosure(), "CancelBtn");
    dialogs->startFor(1, 7);
    click(dialogs->selectTable(), "HelpBtn");
    EXPECT_EQ(help.contexts, (std::vector<int>{13, 20, 21, 22, 25, 8}));
}
