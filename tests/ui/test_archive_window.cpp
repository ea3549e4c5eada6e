// The Archive window over a real SQLite archive, offscreen: its tables, its buttons and what it
// hands the graph window.

#include "ui/archive/archive_settings_dialog.h"
#include "ui/archive/archive_window.h"

#include "platform/sql_archive.h"
#include "support/scripted_messages.h"
#include "ui/support/screens.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::ScriptedMessages;

namespace {

class ArchiveWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        programDir = home.path() + "/";
        sample = home.filePath(QStringLiteral("sample10.TL1"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/sample10.TL1"), sample));
        target.engine = ArchiveEngine::Sqlite;
        target.path = home.filePath(QStringLiteral("archive.sqlite"));
        QString error;
        {
            const std::unique_ptr<ArchiveStore> store = OpenSqlArchive(target, error);
            ASSERT_TRUE(store) << error.toStdString();
            ArchiveContext context;
            context.source = ArchiveSource::Window;
            context.downloadedAt = QStringLiteral("2026-01-05T10:00:00");
            const ArchiveDownloadResult read = ReadArchiveDownload(sample, context, QStringLiteral(TAMBLE_SOURCE_DIR "/data/"));
            ASSERT_TRUE(read.ok) << read.message.toStdString();
            description = read.download.logger.description;
            const ArchiveWrite written = store->add(read.download);
            ASSERT_TRUE(written.ok) << written.error.toStdString();
        }
        makeWindow([target = target] {
            return ArchiveOpener([target](QString& e) { return OpenSqlArchive(target, e); });
        });
    }

    void makeWindow(std::function<ArchiveOpener()> openArchive)
    {
        window = std::make_unique<ArchiveWindow>(std::move(openArchive), programDir, QString(), messages);
        window->openGraph = [this](const QString& file) { graphs << file; };
        window->openHistory = [this](const QString& file) { histories << file; };
    }

    template <typename T>
    T* control(const char* name)
    {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QTemporaryDir home;
    QString programDir;
    QString sample;
    QString description;
    ArchiveTarget target;
    ScriptedMessages messages;
    std::unique_ptr<ArchiveWindow> window;
    QStringList graphs;
    QStringList histories;
};

} // namespace

TEST_F(ArchiveWindowTest, ListsTheArchiveAndHandsTheChosenDownloadAndTheHistoryToTheGraph)
{
    window->openWindow();
    EXPECT_TRUE(messages.shown.empty()) << messages.lastText().toStdString();
    auto* loggers = control<QTableWidget>("LoggerTable");
    auto* downloads = control<QTableWidget>("DownloadTable");
    ASSERT_EQ(loggers->rowCount(), 1);
    EXPECT_EQ(loggers->item(0, 0)->text(), description);
    EXPECT_EQ(loggers->horizontalHeaderItem(5)->text(), "Readings stored");
    ASSERT_EQ(downloads->rowCount(), 1);
    EXPECT_EQ(downloads->item(0, 0)->text(), "2026-01-05 10:00:00");
    EXPECT_EQ(downloads->item(0, 2)->text(), "sample10.TL1");
    EXPECT_EQ(downloads->item(0, 2)->toolTip(), QFileInfo(sample).absoluteFilePath());

    auto* openGraph = control<QPushButton>("OpenGraphBtn");
    EXPECT_FALSE(openGraph->isEnabled());
    downloads->setCurrentCell(0, 0);
    ASSERT_TRUE(openGraph->isEnabled());
    QTest::mouseClick(openGraph, Qt::LeftButton);
    EXPECT_EQ(graphs, QStringList{QFileInfo(sample).absoluteFilePath()});

    QTest::mouseClick(control<QPushButton>("OpenHistoryBtn"), Qt::LeftButton);
    ASSERT_EQ(histories.size(), 1) << messages.lastText().toStdString();
    EXPECT_TRUE(histories[0].endsWith(".TL2"));
    EXPECT_TRUE(QFileInfo(histories[0]).isFile());
    EXPECT_FALSE(histories[0].startsWith(programDir));
    EXPECT_TRUE(window->model().isHistoryFile(histories[0]));

    // Every control a person reaches says what it is (Qt's own parts of a control aside).
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool reached = w->focusPolicy() != Qt::NoFocus && w->isVisibleTo(window.get()) &&
                             !w->objectName().isEmpty() && !w->objectName().startsWith("qt_");
        EXPECT_FALSE(reached && w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
    tamble::test::SaveScreen(*window, QStringLiteral("archive_window"));
    window->settingsDialog().openDialog();
    tamble::test::SaveScreen(window->settingsDialog(), QStringLiteral("archive_settings"));
    window->settingsDialog().reject();
}

TEST_F(ArchiveWindowTest, AnArchiveThatCannotBeOpenedIsSaidAndTheWindowOpensEmpty)
{
    makeWindow([] {
        return ArchiveOpener([](QString& error) -> std::unique_ptr<ArchiveStore> {
            error = QStringLiteral("The archive sqlite:/nowhere/archive.sqlite cannot be created: its folder does not exist");
            return nullptr;
        });
    });
    window->openWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(messages.texts(),
              QStringList{"The archive sqlite:/nowhere/archive.sqlite cannot be created: its folder does not exist"});
    EXPECT_EQ(control<QTableWidget>("LoggerTable")->rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>("OpenHistoryBtn")->isEnabled());
}
