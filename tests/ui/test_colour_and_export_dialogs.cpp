// The colour dialog, the Export choice and "Create ASCII File" driven through
// their real controls, offscreen, with file choosers that never block.

#include "ui/datafiles/ascii_export_dialog.h"
#include "ui/graph/colour_dialog.h"
#include "ui/graph/export_dialog.h"
#include "ui/graph/graphic_size_dialog.h"

#include "datafiles/tl1_loader.h"
#include "program/app_records.h"
#include "program/export_wiring.h"
#include "support/scripted_messages.h"
#include "ui/support/screens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::RecordingHelp;
using tamble::test::ScriptedMessages;

namespace {

template <typename T = QPushButton>
T* find(QWidget& parent, const char* name)
{
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Radio buttons and check boxes take clicks on their indicator and text
// only, so click near the left end rather than the middle.
void click(QWidget* w)
{
    if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
    else
        QTest::mouseClick(w, Qt::LeftButton);
}

std::uint32_t panelRgb(QWidget& dialog, int item)
{
    return find<QFrame>(dialog, QStringLiteral("Panel%1").arg(item).toLatin1().constData())
               ->palette()
               .color(QPalette::Window)
               .rgb() &
           0xFFFFFFu;
}

struct DialogsFixture : ::testing::Test {
    QTemporaryDir dir;
    AppRecords records;
    ScriptedMessages messages;
    RecordingHelp help;
    ColourScheme scheme;

    void SetUp() override
    {
        records.programDir = dir.path() + "/";
        records.settings.colourFile = "default.gcf";
    }

    void loadSample()
    {
        const QString path = dir.path() + "/sample8.TL1";
        ASSERT_TRUE(QFile::copy(TAMBLE_SOURCE_DIR "/data/samples/sample8.TL1", path));
        records.dataSet.dataFileName = path;
        LoadOptions o = LoadOptionsFrom(records.settings, QStringLiteral(TAMBLE_SOURCE_DIR "/data/"), nullptr);
        ASSERT_TRUE(LoadDataFile(records.dataSet, o).ok);
    }

    std::unique_ptr<ColourDialog> colourDialog()
    {
        return std::make_unique<ColourDialog>(scheme, records.settings.colourFile, records.dataSet, records.programDir,
                                              messages, help);
    }
};

} // namespace

TEST_F(DialogsFixture, ColourDialogShowsTheSchemeAndOkStoresTheChosenSwatches)
{
    records.dataSet.channelLabel[0] = "Bench air               ";
    scheme.codes[5] = 44;
    auto dialog = colourDialog();
    int applied = 0;
    dialog->applyColours = [&] { ++applied; };
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), "Change GraphColors");
    EXPECT_EQ(find<QRadioButton>(*dialog, "Channel1Btn")->text(), "Bench air");
    EXPECT_TRUE(find<QRadioButton>(*dialog, "Channel1Btn")->isChecked());
    EXPECT_EQ(find<QRadioButton>(*dialog, "Channel2Btn")->text(), "Channel 2");
    EXPECT_EQ(panelRgb(*dialog, 1), 0x008080u);
    EXPECT_EQ(panelRgb(*dialog, 6), 0xFF0000u);
    EXPECT_EQ(find(*dialog, "LoadBtn")->toolTip(), "Load GraphColors from disk");
    EXPECT_EQ(find(*dialog, "SaveBtn")->toolTip(), "Save GraphColors to disk");

    click(find(*dialog, "Swatch12"));               // channel 1 navy
    click(find<QRadioButton>(*dialog, "BackgroundBtn"));
    click(find(*dialog, "Swatch16"));               // background black
    EXPECT_EQ(panelRgb(*dialog, 7), 0x000000u);
    tamble::test::SaveScreen(*dialog, "colours");
    click(find(*dialog, "OKBtn"));
    EXPECT_EQ(scheme.codes, (std::array<std::uint8_t, 8>{12, 6, 4, 7, 16, 7, 16, 1}));
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DialogsFixture, ColourDialogCancelForgetsPanelsAndHelpOpensItsPage)
{
    auto dialog = colourDialog();
    dialog->show();
    click(find(*dialog, "Swatch1"));
    click(find(*dialog, "HelpBtn"));
    click(find(*dialog, "CancelBtn"));
    EXPECT_EQ(scheme, FactoryColourScheme());
    EXPECT_EQ(help.contexts, std::vector<int>{10});
    dialog->show();
    EXPECT_EQ(panelRgb(*dialog, 1), 0x008080u);
    EXPECT_TRUE(find<QRadioButton>(*dialog, "Channel1Btn")->isChecked());
}

TEST_F(DialogsFixture, ColourDialogLoadKeepsTheSchemeAfterCancelAndSaveAsWritesGcf)
{
    const QString night = dir.path() + "/night.gcf";
    {
        QFile f(night);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("16\r\n16\r\n16\r\n16\r\n1\r\n8\r\n16\r\n15\r\n");
    }
    auto dialog = colourDialog();
    dialog->chooseLoadFile = [&] { return night; };
    dialog->chooseSaveFile = [&] { return dir.path() + "/copy"; };
    dialog->show();
    click(find(*dialog, "LoadBtn"));
    EXPECT_EQ(panelRgb(*dialog, 8), 0x800000u);
    EXPECT_EQ(records.settings.colourFile, night);
    click(find<QRadioButton>(*dialog, "Channel4Btn"));
    click(find(*dialog, "Swatch6"));
    click(find(*dialog, "SaveBtn"));
    EXPECT_EQ(records.settings.colourFile, dir.path() + "/copy.GCF");
    const GcfReadResult saved = ReadColourFile(dir.path() + "/copy.GCF");
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved.scheme.codes, (std::array<std::uint8_t, 8>{16, 16, 16, 6, 1, 8, 16, 15}));
    click(find(*dialog, "CancelBtn"));
    EXPECT_EQ(scheme, saved.scheme);
    EXPECT_TRUE(messages.shown.empty());

    dialog->chooseLoadFile = [&] { return dir.path() + "/copy"; }; // no such file
    dialog->show();
    click(find(*dialog, "LoadBtn"));
    EXPECT_EQ(scheme, FactoryColourScheme());
    EXPECT_EQ(messages.lastText(), "Graph color file: copy not found; loading factory defaults");
}

TEST_F(DialogsFixture, ExportChoiceStartsAtAsciiAndRunsTheChosenExport)
{
    ExportDialog dialog({records.dataSet, records.settings, records.programDir}, messages, help);
    int graphic = 0;
    dialog.exportGraphic = [&] { ++graphic; };
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Export");
    EXPECT_TRUE(find<QRadioButton>(dialog, "AsciiBtn")->isChecked());
    tamble::test::SaveScreen(dialog, "export");
    click(find<QRadioButton>(dialog, "GraphicBtn"));
    click(find(dialog, "OKBtn"));
    EXPECT_EQ(graphic, 1);
    EXPECT_FALSE(dialog.asciiDialog().isVisible());

    dialog.show();
    EXPECT_TRUE(find<QRadioButton>(dialog, "AsciiBtn")->isChecked());
    click(find(dialog, "HelpBtn"));
    click(find(dialog, "OKBtn"));
    EXPECT_EQ(graphic, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.asciiDialog().isVisible());
    EXPECT_EQ(help.contexts, std::vector<int>{11});
    dialog.asciiDialog().reject();
}

TEST_F(DialogsFixture, AsciiDialogTakesTheStoredChoicesAndExportsTheRecording)
{
    loadSample();
    records.settings.exportAveraging = 25;
    AsciiExportDialog dialog({records.dataSet, records.settings, records.programDir}, messages, help);
    std::vector<QString> filters;
    QString answer = dir.path() + "/out.txt";
    dialog.chooseSaveFile = [&](const SaveNameSpec& spec) {
        filters.push_back(spec.filter);
        return answer;
    };
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Create ASCII File");
    EXPECT_TRUE(find<QRadioButton>(dialog, "CsvBtn")->isChecked());
    EXPECT_TRUE(find<QRadioButton>(dialog, "AvgNbr")->isChecked());
    EXPECT_EQ(find<QSpinBox>(dialog, "AscField")->value(), 25);
    EXPECT_TRUE(find<QSpinBox>(dialog, "AscField")->isEnabled());

    click(find<QRadioButton>(dialog, "AllPoints"));
    EXPECT_FALSE(find<QSpinBox>(dialog, "AscField")->isEnabled());
    click(find(dialog, "OKBtn"));
    EXPECT_EQ(messages.lastText(), "Please enter a file name in 'Save as'");
    EXPECT_TRUE(dialog.isVisible());

    click(find<QLineEdit>(dialog, "Edit1"));
    EXPECT_EQ(messages.lastText(), "File name must end in '.CSV'");
    EXPECT_TRUE(find<QLineEdit>(dialog, "Edit1")->text().isEmpty());
    answer = dir.path() + "/out.csv";
    click(find<QLineEdit>(dialog, "Edit1"));
    EXPECT_EQ(find<QLineEdit>(dialog, "Edit1")->text(), answer);
    EXPECT_EQ(filters, (std::vector<QString>{"CSV File|*.CSV", "CSV File|*.CSV"}));
    QTest::keyClicks(find<QLineEdit>(dialog, "edit2"), "shed 4");
    tamble::test::SaveScreen(dialog, "ascii_export");
    click(find(dialog, "OKBtn"));
    EXPECT_EQ(messages.lastText(), answer + " saved to disk");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(records.settings.exportAveraging, 1);
    QFile out(answer);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.readLine().startsWith(" shed 4"));

    dialog.show();
    EXPECT_TRUE(find<QLineEdit>(dialog, "Edit1")->text().isEmpty());
}

TEST_F(DialogsFixture, NoHeaderIsStoredAtOnceAndHidesTheNote)
{
    AsciiExportDialog dialog({records.dataSet, records.settings, records.programDir}, messages, help);
    dialog.show();
    EXPECT_TRUE(find<QLineEdit>(dialog, "edit2")->isVisible());
    click(find<QCheckBox>(dialog, "NoHeader"));
    EXPECT_TRUE(records.settings.noHeader);
    EXPECT_FALSE(find<QLineEdit>(dialog, "edit2")->isVisible());
    click(find(dialog, "HelpBtn"));
    EXPECT_EQ(help.contexts, std::vector<int>{12});
    click(find(dialog, "CancelBtn"));
    EXPECT_TRUE(records.settings.noHeader);
}

TEST_F(DialogsFixture, CsvFormatFollowsTheTypeAvoidsTwoCommasAndIsKeptByTheExport)
{
    loadSample();
    AsciiExportDialog dialog({records.dataSet, records.settings, records.programDir}, messages, help);
    dialog.chooseSaveFile = [&](const SaveNameSpec&) { return dir.path() + "/sheet.csv"; };
    dialog.show();
    auto* separator = find<QComboBox>(dialog, "SeparatorBox");
    EXPECT_EQ(separator->accessibleName(), "Field separator");
    EXPECT_EQ(separator->currentText(), "Comma");
    EXPECT_FALSE(find<QLabel>(dialog, "DialectNote")->isVisible());

    QTest::keyClick(find<QComboBox>(dialog, "DecimalBox"), Qt::Key_Down);   // the decimal comma
    EXPECT_EQ(separator->currentText(), "Semicolon");
    EXPECT_TRUE(find<QLabel>(dialog, "DialectNote")->isVisible());
    click(find<QCheckBox>(dialog, "SpreadsheetBox"));
    EXPECT_FALSE(find<QLineEdit>(dialog, "edit2")->isVisible());
    click(find<QRadioButton>(dialog, "TabularBtn"));
    EXPECT_FALSE(find<QGroupBox>(dialog, "DialectGroup")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>(dialog, "edit2")->isVisible());
    click(find<QRadioButton>(dialog, "CsvBtn"));
    tamble::test::SaveScreen(dialog, "ascii_export_dialect");

    click(find<QLineEdit>(dialog, "Edit1"));
    click(find(dialog, "OKBtn"));
    EXPECT_EQ(messages.lastText(), dir.path() + "/sheet.csv saved to disk");
    QFile out(dir.path() + "/sheet.csv");
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.readLine().startsWith("Date;Time;"));
    EXPECT_EQ(ExportDialectFile(records.programDir).load(), dialog.model().dialect());
}

namespace {

// The picture size starts at the chart's size; only a PNG offers twice the pixels.
TEST(GraphicSizeDialog, StartsAtTheGivenSizeAndDoublesOnlyPng)
{
    GraphicSizeDialog png(GraphicFormat::Png, 900, 600);
    png.show();
    png.findChild<QSpinBox*>(QStringLiteral("Width"))->setValue(1600);
    png.findChild<QCheckBox*>(QStringLiteral("Twice"))->setChecked(true);
    EXPECT_EQ(png.size().width, 1600);
    EXPECT_EQ(png.size().height, 600);
    EXPECT_EQ(png.size().scale, 2.0);

    GraphicSizeDialog svg(GraphicFormat::Svg, 900, 600);
    svg.show();
    EXPECT_FALSE(svg.findChild<QCheckBox*>(QStringLiteral("Twice"))->isVisible());
    EXPECT_EQ(svg.size().scale, 1.0);
}

} // namespace
