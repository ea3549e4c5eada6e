// The colour dialog's rules: panels, selection, captions, OK, Load and Save As.

#include "graph/colour_dialog_model.h"

#include "support/scripted_messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::ScriptedMessages;

namespace {

struct ColourDialogFixture : ::testing::Test {
    QTemporaryDir dir;
    ColourScheme scheme;
    QString colourFile = "default.gcf";
    ScriptedMessages messages;
    ColourDialogModel model{scheme, colourFile, messages};

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.path() + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
};

} // namespace

TEST_F(ColourDialogFixture, RefreshShowsTheSchemeSelectsChannel1AndTakesItsLabel)
{
    scheme.codes[6] = 44;
    model.selectItem(5);
    model.refresh("Greenhouse air          ");
    EXPECT_EQ(model.selectedItem(), 0);
    EXPECT_EQ(model.caption(0), "Greenhouse air");
    EXPECT_EQ(model.caption(1), "Channel 2");
    EXPECT_EQ(model.caption(7), "Border");
    EXPECT_EQ(model.panelRgb(0), 0x008080u);
    EXPECT_EQ(model.panelRgb(6), 0xFF0000u); // code 44 shows red
}

TEST_F(ColourDialogFixture, BlankLabelKeepsTheItemCaption)
{
    model.refresh("                        ");
    EXPECT_EQ(model.caption(0), "Channel 1");
}

TEST_F(ColourDialogFixture, SwatchColoursTheSelectedPanelAndOkStoresCodes)
{
    model.refresh({});
    model.selectItem(6);
    model.pickSwatch(16);
    model.selectItem(2);
    model.pickSwatch(3);
    EXPECT_EQ(scheme, FactoryColourScheme()); // nothing stored before OK
    model.accept();
    EXPECT_EQ(scheme.codes, (std::array<std::uint8_t, 8>{10, 6, 3, 7, 16, 10, 16, 1}));
}

TEST_F(ColourDialogFixture, PanelChangesAreForgottenAtTheNextRefresh)
{
    model.refresh({});
    model.pickSwatch(16);
    model.refresh({});
    model.accept();
    EXPECT_EQ(scheme, FactoryColourScheme());
}

TEST_F(ColourDialogFixture, UnknownCodeBecomesRedAfterOk)
{
    scheme.codes[3] = 44;
    model.refresh({});
    model.accept();
    EXPECT_EQ(scheme.codes[3], 7);
}

TEST_F(ColourDialogFixture, LoadTakesTheSchemeAtOnceAndRemembersThePath)
{
    const QString path = write("night.gcf", "16\r\n16\r\n16\r\n16\r\n1\r\n8\r\n16\r\n15\r\n");
    model.refresh({});
    EXPECT_TRUE(model.load(path));
    EXPECT_EQ(scheme.codes, (std::array<std::uint8_t, 8>{16, 16, 16, 16, 1, 8, 16, 15}));
    EXPECT_EQ(model.panelRgb(7), 0x800000u);
    EXPECT_EQ(colourFile, path);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ColourDialogFixture, BadLoadReportsTakesFactoryAndKeepsTheColourFile)
{
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const std::vector<Case> cases{
        {"16\r\n16\r\nabc\r\n16\r\n1\r\n8\r\n16\r\n15\r\n",
         "Graph color file: bad.gcf line 3: 'abc' is not a valid integer value; loading factory defaults"},
        {"16\r\n16\r\n", "Graph color file: bad.gcf holds 2 of 8 colors; loading factory defaults"},
    };
    for (const Case& c : cases) {
        scheme.codes.fill(16);
        messages.shown.clear();
        EXPECT_FALSE(model.load(write("bad.gcf", c.bytes)));
        EXPECT_EQ(scheme, FactoryColourScheme());
        EXPECT_EQ(model.panelRgb(0), 0x008080u);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_EQ(colourFile, "default.gcf");
    }
    EXPECT_FALSE(model.load(dir.path() + "/missing.gcf"));
    EXPECT_EQ(messages.lastText(), "Graph color file: missing.gcf not found; loading factory defaults");
}

TEST_F(ColourDialogFixture, SaveAsStoresThePanelsWritesGcfAndRemembersIt)
{
    model.refresh({});
    model.selectItem(7);
    model.pickSwatch(12);
    const QString written = model.saveAs(dir.path() + "/mine.gcf");
    EXPECT_EQ(written, dir.path() + "/mine.GCF");
    EXPECT_EQ(colourFile, written);
    EXPECT_EQ(scheme.codes[7], 12);
    const GcfReadResult back = ReadColourFile(written);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.scheme, scheme);
}

TEST_F(ColourDialogFixture, FailedSaveIsReportedAndChangesNoName)
{
    EXPECT_TRUE(model.saveAs(dir.path() + "/none/mine").isEmpty());
    EXPECT_EQ(colourFile, "default.gcf");
    EXPECT_EQ(messages.lastText(), "Unable to write " + dir.path() + "/none/mine.GCF");
}
