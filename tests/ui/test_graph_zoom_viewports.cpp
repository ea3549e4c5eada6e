// The graph window's zoom and viewports, driven through the chart's mouse and the
// "Set Viewports" dialog; and the canonical graphs compared with their reference pictures.
#include "ui/graph/graph_window.h"
#include "ui/graph/viewports_dialog.h"

#include "e2e/support/sim_process.h"
#include "program/app_records.h"
#include "support/scripted_messages.h"
#include "ui/support/graph_rig.h"
#include "ui/support/screens.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;
using tamble::e2e::ProgramHome;

namespace {

struct ZoomRig : Graph {
    void showSized()
    {
        window->show();
        window->resize(900, 600);
        QApplication::processEvents();
        window->chart().widget()->repaint();
    }
    QWidget* plot() { return window->chart().widget(); }
    void mouse(QEvent::Type type, int x, int y, Qt::MouseButtons buttons)
    {
        const QPointF at(x, y);
        QMouseEvent event(type, at, plot()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(plot(), &event);
    }
    // A horizontal rectangle dragged with the left button.
    void drag(int fromX, int toX)
    {
        const int y = plot()->height() / 2;
        mouse(QEvent::MouseButtonPress, fromX, y, Qt::LeftButton);
        mouse(QEvent::MouseMove, (fromX + toX) / 2, y + 5, Qt::LeftButton);
        mouse(QEvent::MouseMove, toX, y + 10, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, toX, y + 10, Qt::NoButton);
    }
    QAction* undo() { return window->command(QStringLiteral("Undo Zoom")); }
};

TEST(GraphZoom, RectangleReadsTheWindowAtFullDetailAndDoubleClickUndoes)
{
    ZoomRig g;
    ASSERT_TRUE(g.openSample(QStringLiteral("sample8.TL1")));
    g.showSized();
    const std::vector<double> whole = g.window->chart().subsetX(0);
    const int wholeStep = g.window->graphBuffer().graphStep;
    ASSERT_GT(wholeStep, 1);

    const int w = g.plot()->width();
    const double from = g.window->chart().pixelToDateTime(w * 40 / 100);
    const double to = g.window->chart().pixelToDateTime(w * 50 / 100);
    g.drag(w * 40 / 100, w * 50 / 100);
    ASSERT_TRUE(g.undo()->isEnabled()) << "the rectangle zoomed";
    EXPECT_TRUE(g.records.dataSet.zoom.zoomed);
    EXPECT_EQ(g.window->graphBuffer().graphStep, 1) << "a tenth of the recording fits the point budget";
    const std::vector<double> x = g.window->chart().subsetX(0);
    const double interval = g.records.dataSet.intervalMinutes / 1440.0;
    EXPECT_NEAR(x.front(), from, interval);
    EXPECT_NEAR(x.back(), to, interval);
    EXPECT_NEAR(x[1] - x[0], interval, 1e-9);
    EXPECT_EQ(g.records.dataSet.zoom.readingCount, static_cast<int>(x.size()));

    // A second rectangle reaching before the window keeps the window's start.
    const double start = x.front();
    g.drag(2, w * 45 / 100);
    EXPECT_NEAR(g.window->chart().subsetX(0).front(), start, 1e-9);

    const QPointF at(w / 2, g.plot()->height() / 2);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, g.plot()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(g.plot(), &twice);
    EXPECT_FALSE(g.undo()->isEnabled());
    EXPECT_EQ(g.window->graphBuffer().graphStep, wholeStep);
    EXPECT_EQ(g.window->chart().subsetX(0), whole);
    EXPECT_TRUE(g.messages.shown.empty());
}

TEST(GraphZoom, RefusedZoomsSayWhyAndChangeNothing)
{
    ZoomRig g;
    ASSERT_TRUE(g.openSample(QStringLiteral("sample8.TL1")));
    const std::vector<double> whole = g.window->chart().subsetX(0);
    const double interval = g.records.dataSet.intervalMinutes / 1440.0;
    const double mid = whole[whole.size() / 2];

    g.window->ZoomIn(mid, mid + 1.2 * interval);   // two readings
    ASSERT_EQ(g.messages.shown.size(), 1u);
    EXPECT_EQ(g.messages.shown.back().text, QStringLiteral("Maximum Zoom"));
    g.window->ZoomIn(whole.back() + 10, whole.back() + 20);   // beside the data
    g.window->ZoomIn(mid, mid + interval / 3);                // narrower than a reading
    EXPECT_EQ(g.messages.shown.size(), 2u);
    EXPECT_FALSE(g.undo()->isEnabled());
    EXPECT_EQ(g.window->chart().subsetX(0), whole);
}

TEST(GraphViewports, DialogSplitsTheChartHidesChannelsAndUndoShowsThemAgain)
{
    ZoomRig g;
    ASSERT_TRUE(g.openSample(QStringLiteral("thermistors4.TL1")));
    ASSERT_EQ(g.window->chart().viewportCount(), 1) << "four thermistors share one band";
    ASSERT_EQ(g.window->chart().subsetCount(), 4);

    ViewportsDialog& dialog = g.window->viewportsDialog();
    dialog.show();
    QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("CountSpinUp")), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("Hide4")), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    EXPECT_EQ(g.window->chart().viewportCount(), 2);
    EXPECT_EQ(g.window->chart().subsetCount(), 3);
    EXPECT_EQ(g.window->viewportPlan().axes[0].positions, (std::vector<int>{0, 1}));
    EXPECT_EQ(g.window->viewportPlan().axes[1].positions, (std::vector<int>{2}));
    g.window->show();
    g.window->resize(900, 600);
    SaveScreen(*g.window, QStringLiteral("graph-two-viewports"));

    // Zooming keeps the split and the hidden channel; undo shows every channel again.
    const std::vector<double> x = g.window->chart().subsetX(0);
    g.window->ZoomIn(x[x.size() / 4], x[x.size() / 2]);
    ASSERT_TRUE(g.undo()->isEnabled());
    EXPECT_EQ(g.window->chart().viewportCount(), 2);
    EXPECT_EQ(g.window->chart().subsetCount(), 3);
    g.undo()->trigger();
    EXPECT_EQ(g.window->chart().subsetCount(), 4);
    EXPECT_EQ(g.window->chart().viewportCount(), 2) << "the build after an undo keeps the bands";
    ASSERT_TRUE(g.openSample(QStringLiteral("thermistors4.TL1")));
    EXPECT_EQ(g.window->chart().viewportCount(), 1) << "a load chooses again";
}

// The canonical graphs against pictures kept under tests/ui/reference. With
// TAMBLE_UPDATE_REFERENCE set the pictures are written there instead.
TEST(GraphPictures, CanonicalGraphsLookAsBefore)
{
    struct Case {
        const char* sample;
        int viewports;
    };
    const Case cases[] = {{"thermistors4.TL1", 1}, {"temprh4.TL1", 2}, {"sample8.TL1", 2}, {"banks4.TL1", 4}};
    const bool update = qEnvironmentVariableIsSet("TAMBLE_UPDATE_REFERENCE");
    for (const Case& c : cases) {
        ZoomRig g;
        const QString name = QString::fromLatin1(c.sample);
        ASSERT_TRUE(g.openSample(name)) << c.sample;
        EXPECT_EQ(g.window->chart().viewportCount(), c.viewports) << c.sample;
        const QString picture = g.home.filePath(QStringLiteral("graph.png"));
        ASSERT_TRUE(g.window->chart().savePng(picture, 800, 500));
        const QString reference =
            QStringLiteral(TAMBLE_SOURCE_DIR "/tests/ui/reference/") + QFileInfo(name).completeBaseName() + ".png";
        if (update) {
            QDir().mkpath(QFileInfo(reference).path());
            QFile::remove(reference);
            ASSERT_TRUE(QFile::copy(picture, reference));
            continue;
        }
        const QImage got = QImage(picture).convertToFormat(QImage::Format_RGB32);
        const QImage want = QImage(reference).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(want.isNull()) << "missing " << reference.toStdString();
        ASSERT_EQ(got.size(), want.size()) << c.sample;
        long differing = 0;
        for (int y = 0; y < got.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(got.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(want.constScanLine(y));
            for (int x = 0; x < got.width(); ++x)
                differing += std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                       std::abs(qBlue(a[x]) - qBlue(b[x]))}) > 64;
        }
        EXPECT_LT(differing, got.width() * got.height() / 200) << c.sample << ": " << differing << " pixels differ";
    }
}

} // namespace
