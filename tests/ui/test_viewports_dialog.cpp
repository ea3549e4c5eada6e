// The "Set Viewports" dialog driven through its real controls, offscreen.

#include "ui/graph/viewports_dialog.h"

#include "support/scripted_messages.h"
#include "ui/support/screens.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::RecordingHelp;
using tamble::test::ScriptedMessages;

namespace {

class ViewportsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.viewportMode = 2;
        settings.viewportAssignment = {2, 2, 0, 0};
        visibility.showAll(4);
        dialog = std::make_unique<ViewportsDialog>(settings, visibility, messages, help);
        dialog->prepare({1, 2, 3, 4}, {"Inside", "Outside", "Humidity~0,100", "Light;lux"}, false);
    }

    template <typename T = QWidget>
    T* control(const QString& name)
    {
        T* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
    QStringList lines(const QString& list)
    {
        QStringList out;
        auto* w = control<QListWidget>(list);
        for (int i = 0; i < w->count(); ++i)
            out << w->item(i)->text();
        return out;
    }

    SettingsRecord settings;
    ChannelVisibility visibility;
    ScriptedMessages messages;
    RecordingHelp help;
    std::unique_ptr<ViewportsDialog> dialog;
};

const QString kDashes(38, QLatin1Char('-'));

TEST_F(ViewportsDialogTest, ShowsTheBandsOfTheSettings)
{
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), "Set Viewports");
    EXPECT_EQ(control<QLabel>("CountLabel")->text(), "2 Viewports");
    EXPECT_EQ(lines("ChannelList"), (QStringList{"1 Inside", "2 Outside", kDashes, "3 Humidity~0,100", "4 Light;lux"}));
    EXPECT_TRUE(control("Spin1")->isVisible());
    EXPECT_FALSE(control("Spin2")->isVisible());
    for (const char* name : {"Hide1", "Hide2", "Hide3", "Hide4", "ViewAllBtn", "HiddenList"})
        EXPECT_TRUE(control(name)->isVisible()) << name;
    tamble::test::SaveScreen(*dialog, QStringLiteral("viewports"));
}

TEST_F(ViewportsDialogTest, SpinnersAndHideBoxesChangeTheSettingsAtOnce)
{
    dialog->show();
    click("Spin1Up");
    EXPECT_EQ(settings.viewportAssignment[0], 1);
    EXPECT_EQ(settings.viewportAssignment[1], 3);
    click("CountSpinUp");
    EXPECT_EQ(settings.viewportMode, 3);
    EXPECT_EQ(control<QLabel>("CountLabel")->text(), "3 Viewports");
    EXPECT_EQ(settings.viewportAssignment[0], 2);   // the count takes its default split
    EXPECT_TRUE(control("Spin1")->isVisible());
    EXPECT_FALSE(control("Spin2")->isVisible());

    click("Hide2");
    EXPECT_FALSE(visibility.visible[1]);
    EXPECT_EQ(lines("HiddenList"), QStringList{"2 Outside"});
    EXPECT_EQ(lines("ChannelList"),
              (QStringList{"1 Inside", kDashes, "3 Humidity~0,100", kDashes, "4 Light;lux"}));

    click("ViewAllBtn");
    EXPECT_TRUE(visibility.visible[1]);
    EXPECT_FALSE(control<QCheckBox>("Hide2")->isChecked());
    EXPECT_EQ(control<QLabel>("CountLabel")->text(), "1 Viewport");
    EXPECT_EQ(lines("ChannelList").size(), 4);
}

TEST_F(ViewportsDialogTest, HidingTheLastChannelIsRefusedAndTheBoxUnchecked)
{
    visibility.showAll(1);
    settings.viewportMode = 1;
    settings.viewportAssignment = {1, 0, 0, 0};
    dialog->show();
    EXPECT_FALSE(control("Hide2")->isVisible());
    EXPECT_FALSE(control("ViewAllBtn")->isVisible());
    click("Hide1");
    EXPECT_EQ(messages.lastText(), "At least one channel must be visible.");
    EXPECT_FALSE(control<QCheckBox>("Hide1")->isChecked());
    EXPECT_TRUE(visibility.visible[0]);
}

TEST_F(ViewportsDialogTest, OkAcceptsHelpOpensItsPage)
{
    dialog->show();
    click("HelpBtn");
    EXPECT_EQ(help.contexts, std::vector<int>{9});
    QSignalSpy accepted(dialog.get(), &QDialog::accepted);
    click("OKBtn");
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ViewportsDialogTest, EveryControlHasAnAccessibleName)
{
    dialog->show();
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QListWidget*>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }
}

} // namespace
