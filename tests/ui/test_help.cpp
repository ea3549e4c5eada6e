// The help window over the shipped pages, the About box, and message boxes with a Help button.

#include "platform/program_dir.h"
#include "help/help_pages.h"
#include "support/scripted_messages.h"
#include "ui/common/qt_message_service.h"
#include "ui/help/about_box.h"
#include "ui/help/help_window.h"
#include "ui/support/screens.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace tamble;

namespace {

const QString kDataDir = QStringLiteral(TAMBLE_SOURCE_DIR "/data");

QPushButton* button(QWidget& window, const char* name)
{
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
}

QString shownText(const HelpWindow& window)
{
    return window.browser()->toPlainText();
}

// Runs `drive` on the message box once it is up (inside its own event loop); a box still open
// after five seconds is closed so that a broken test fails instead of hanging.
void whenMessageBoxShows(std::function<void(QMessageBox&)> drive)
{
    auto* poll = new QTimer;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, drive] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            drive(*box);
        } else if (clock.elapsed() > 5000) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no message box was shown";
        }
    });
    poll->start(10);
}

class NoDialogsScope {
public:
    explicit NoDialogsScope(const char* value) : m_old(qgetenv("TAMBLE_NO_DIALOGS"))
    {
        qputenv("TAMBLE_NO_DIALOGS", value);
    }
    ~NoDialogsScope() { qputenv("TAMBLE_NO_DIALOGS", m_old); }

private:
    QByteArray m_old;
};

} // namespace

TEST(HelpWindow, EveryContextOpensItsShippedPageWithItsTitle)
{
    QTemporaryDir programDir;  // no copies there yet: the shipped folder answers
    HelpWindow window(HelpFolders(programDir.path(), kDataDir));
    for (const HelpPage& page : HelpPages()) {
        window.showHelp(page.context);
        EXPECT_EQ(window.pageTitle(), page.title) << page.context;
        EXPECT_TRUE(window.windowTitle().endsWith(page.title));
    }
    EXPECT_TRUE(window.isVisible());
    window.showHelp(24);
    EXPECT_TRUE(shownText(window).contains(QStringLiteral("What to check")));
    window.resize(640, 520);
    tamble::test::SaveScreen(window, QStringLiteral("help"));
}

TEST(HelpWindow, UnknownContextAndMissingPageShowWhyInsteadOfAPage)
{
    QTemporaryDir empty;
    HelpWindow window(HelpFolders(empty.path(), QString()));
    window.showHelp(99);
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Help page not found"));
    EXPECT_TRUE(shownText(window).contains(QStringLiteral("There is no help page for help context 99.")));

    window.showHelp(1);
    EXPECT_TRUE(shownText(window).contains(
        QStringLiteral("\"settings.html\" (help context 1) is missing or cannot be read")));
    EXPECT_TRUE(shownText(window).contains(QDir::toNativeSeparators(empty.path() + QStringLiteral("/help"))));
}

TEST(HelpWindow, AProgramFolderCopyWinsAndShowsAgainAfterANotFoundText)
{
    QTemporaryDir programDir;
    ASSERT_TRUE(QDir().mkpath(programDir.path() + QStringLiteral("/help")));
    QFile copy(programDir.path() + QStringLiteral("/help/settings.html"));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write("<html><head><title>Local Settings</title></head><body><h1>Local</h1></body></html>");
    copy.close();
    HelpWindow window(HelpFolders(programDir.path(), kDataDir));

    window.showHelp(1);
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Local Settings"));
    window.showHelp(77);
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Help page not found"));
    window.showHelp(1);
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Local Settings"));
}

TEST(HelpWindow, BackForwardAndContentsFollowTheHistory)
{
    HelpWindow window(HelpFolders(QString(), kDataDir));
    QPushButton* back = button(window, "BackBtn");
    QPushButton* forward = button(window, "ForwardBtn");
    QPushButton* contents = button(window, "ContentsBtn");
    ASSERT_TRUE(back && forward && contents);
    EXPECT_EQ(back->accessibleName(), QStringLiteral("Back"));
    EXPECT_EQ(contents->accessibleName(), QStringLiteral("Contents"));

    window.showHelp(24);
    EXPECT_FALSE(back->isEnabled());
    // A link in the page, as a click on it delivers it.
    emit window.browser()->anchorClicked(QUrl(QStringLiteral("com_test.html")));
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Test Communication Cable and Port"));
    ASSERT_TRUE(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(window.pageTitle(), QStringLiteral("No response from logger"));
    ASSERT_TRUE(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Test Communication Cable and Port"));
    QTest::mouseClick(contents, Qt::LeftButton);
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Tamble Logger Help: Contents"));

    // Links leaving the help are not followed; a link to a page that is not there says so.
    emit window.browser()->anchorClicked(QUrl(QStringLiteral("https://example.org/x.html")));
    EXPECT_EQ(window.pageTitle(), QStringLiteral("Tamble Logger Help: Contents"));
    emit window.browser()->anchorClicked(QUrl(QStringLiteral("nowhere.html")));
    EXPECT_TRUE(shownText(window).contains(QStringLiteral("\"nowhere.html\" is missing")));
}

TEST(MessageService, WithoutADisplayEveryMessageGetsTheDefaultAnswerUnshown)
{
    NoDialogsScope scope("1");
    tamble::test::RecordingHelp help;
    QtMessageService service(help);
    ASSERT_TRUE(QtMessageService::dialogsSuppressed());
    for (DialogButtons b : {DialogButtons::Ok, DialogButtons::OkHelp, DialogButtons::OkCancel, DialogButtons::YesNo,
                            DialogButtons::OkRetryHelp, DialogButtons::YesNoCancel}) {
        UserMessage m;
        m.text = QStringLiteral("Anything");
        m.buttons = b;
        m.helpContext = 24;
        EXPECT_EQ(service.ask(m), DefaultAnswer(b));
    }
    EXPECT_TRUE(help.contexts.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MessageService, HelpOpensTheContextAndKeepsTheBoxUntilAnAnswer)
{
    NoDialogsScope scope("0");
    tamble::test::RecordingHelp help;
    QtMessageService service(help);
    UserMessage m;
    m.kind = DialogKind::Information;
    m.text = QStringLiteral("Real Time Display: Comm Failure 146 1");
    m.informative = QStringLiteral("The port went away.");
    m.buttons = DialogButtons::OkRetryHelp;
    m.helpContext = 29;

    bool stillOpenAfterHelp = false;
    QStringList names;
    whenMessageBoxShows([&](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Information"));
        EXPECT_EQ(box.text(), m.text);
        EXPECT_EQ(box.informativeText(), m.informative);
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        for (QAbstractButton* b : box.buttons())
            names << b->accessibleName();
        QPushButton* helpButton = button(box, "HelpBtn");
        ASSERT_NE(helpButton, nullptr);
        QTest::mouseClick(helpButton, Qt::LeftButton);
        QTest::mouseClick(helpButton, Qt::LeftButton);
        stillOpenAfterHelp = box.isVisible();
        tamble::test::SaveScreen(box, QStringLiteral("message"));
        QTest::mouseClick(button(box, "RetryBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(service.ask(m), DialogAnswer::Retry);
    EXPECT_TRUE(stillOpenAfterHelp);
    EXPECT_EQ(help.contexts, (std::vector<int>{29, 29}));
    names.sort();
    EXPECT_EQ(names, (QStringList{"Help", "OK", "Retry"}));
}

TEST(MessageService, EachButtonGivesItsAnswerAndClosingGivesTheDefault)
{
    NoDialogsScope scope("0");
    struct Case {
        DialogKind kind;
        DialogButtons buttons;
        const char* click;  // nullptr: close the box with Esc
        DialogAnswer expected;
        QMessageBox::Icon icon;
    };
    const std::vector<Case> cases = {
        {DialogKind::Confirmation, DialogButtons::YesNo, "NoBtn", DialogAnswer::No, QMessageBox::Question},
        {DialogKind::Confirmation, DialogButtons::YesNoCancel, "YesBtn", DialogAnswer::Yes, QMessageBox::Question},
        {DialogKind::Confirmation, DialogButtons::YesNoCancel, nullptr, DialogAnswer::Cancel, QMessageBox::Question},
        {DialogKind::Information, DialogButtons::OkCancel, "OKBtn", DialogAnswer::Ok, QMessageBox::Information},
        {DialogKind::Warning, DialogButtons::OkCancel, nullptr, DialogAnswer::Cancel, QMessageBox::Warning},
        {DialogKind::Error, DialogButtons::OkHelp, "OKBtn", DialogAnswer::Ok, QMessageBox::Critical},
    };
    tamble::test::RecordingHelp help;
    QtMessageService service(help);
    for (const Case& c : cases) {
        UserMessage m;
        m.kind = c.kind;
        m.text = QStringLiteral("Save changes?");
        m.buttons = c.buttons;
        whenMessageBoxShows([&](QMessageBox& box) {
            EXPECT_EQ(box.icon(), c.icon);
            if (c.click)
                QTest::mouseClick(button(box, c.click), Qt::LeftButton);
            else
                QTest::keyClick(&box, Qt::Key_Escape);
        });
        EXPECT_EQ(service.ask(m), c.expected) << (c.click ? c.click : "Esc");
    }
    EXPECT_TRUE(help.contexts.empty());
}

TEST(AboutBox, ShowsTheProgramNameAndVersionAndClosesWithOk)
{
    AboutBox about;
    about.open();
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Tamble Logger")));
    EXPECT_TRUE(texts.contains(AboutBox::versionText()));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+(\\.\\d+)?$"))
                    .match(AboutBox::versionText()).hasMatch())
        << AboutBox::versionText().toStdString();
    tamble::test::SaveScreen(about, QStringLiteral("about"));

    QPushButton* ok = button(about, "OKBtn");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->accessibleName(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(ShippedData, HelpPagesReachTheProgramFolderAndAChangedPageIsRenewed)
{
    QTemporaryDir shipped;
    QTemporaryDir program;
    auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    ASSERT_TRUE(QDir().mkpath(shipped.path() + QStringLiteral("/help")));
    ASSERT_TRUE(write(shipped.path() + QStringLiteral("/default.set"), "shipped setup"));
    ASSERT_TRUE(write(shipped.path() + QStringLiteral("/help/index.html"), "<html>new</html>"));
    ASSERT_TRUE(write(shipped.path() + QStringLiteral("/help/settings.html"), "<html>settings</html>"));
    // The user's own setup and an old copy of a page are already there.
    ASSERT_TRUE(write(program.path() + QStringLiteral("/default.set"), "user setup"));
    ASSERT_TRUE(QDir().mkpath(program.path() + QStringLiteral("/help")));
    ASSERT_TRUE(write(program.path() + QStringLiteral("/help/index.html"), "<html>old</html>"));

    EXPECT_EQ(InstallShippedData(shipped.path(), program.path()), 2);
    auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_EQ(read(program.path() + QStringLiteral("/default.set")), QByteArray("user setup"));
    EXPECT_EQ(read(program.path() + QStringLiteral("/help/index.html")), QByteArray("<html>new</html>"));
    EXPECT_EQ(read(program.path() + QStringLiteral("/help/settings.html")), QByteArray("<html>settings</html>"));
    EXPECT_EQ(InstallShippedData(shipped.path(), program.path()), 0) << "a second start copies nothing";
}
