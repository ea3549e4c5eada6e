#include "ui/help/help_window.h"

#include "help/help_pages.h"
#include "util/dialog_buttons.h"

#include <QApplication>
#include <QScreen>
#include <QShortcut>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace tamble {

namespace {

QPushButton* makeButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(WithoutMnemonic(caption));
    return button;
}

} // namespace

HelpWindow::HelpWindow(QStringList folders, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folders(std::move(folders))
{
    setObjectName(QStringLiteral("THelpWindow"));
    setWindowTitle(QStringLiteral("Tamble Logger Help"));

    m_back = makeButton(QStringLiteral("&Back"), QStringLiteral("BackBtn"), this);
    m_forward = makeButton(QStringLiteral("&Forward"), QStringLiteral("ForwardBtn"), this);
    m_contents = makeButton(QStringLiteral("&Contents"), QStringLiteral("ContentsBtn"), this);
    auto* close = makeButton(QStringLiteral("C&lose"), QStringLiteral("CloseBtn"), this);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setAccessibleName(QStringLiteral("Help text"));
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    resize(640, 520);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_contents, &QPushButton::clicked, this, [this] { showHelp(kContentsHelpContext); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::openLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(HelpWindowTitle(pageTitle()));
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::showHelp(int context)
{
    const QString file = HelpPageFile(context);
    const QString path = LocateHelpFile(file, m_folders);
    if (path.isEmpty() || !showFile(path))
        showMissing(context, file);
    if (!isVisible())
        fitOnScreen();
    show();
    raise();
    activateWindow();
}

// The window fits the screen it opens on (the screen of the active window, else the primary one):
// at most the available area less a margin, and moved inside it.
void HelpWindow::fitOnScreen()
{
    QScreen* where = QApplication::activeWindow() ? QApplication::activeWindow()->screen() : nullptr;
    if (!where)
        where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect area = where->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize size(std::min(width(), area.width() - frame.width() - 32),
                     std::min(height(), area.height() - frame.height() - 32));
    resize(size);
    QRect placed(pos(), size + frame);
    if (!std::exchange(m_placed, true) || !area.contains(placed))
        placed.moveCenter(area.center());
    move(placed.topLeft());
}

QString HelpWindow::pageTitle() const
{
    const QString title = m_browser->documentTitle();
    return title.isEmpty() ? HtmlTitle(m_browser->toHtml()) : title;
}

void HelpWindow::openLink(const QUrl& url)
{
    if (url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment()) {
        m_browser->scrollToAnchor(url.fragment());
        return;
    }
    const QUrl target = m_browser->source().resolved(url);
    if (!target.isLocalFile() && !url.isRelative())
        return;  // no network and no outside browser: other links stay unfollowed
    const QString file = HelpLinkFile(target, url);
    const QString path = LocateHelpFile(file, m_folders);
    if (path.isEmpty() || !showFile(path)) {
        showMissing(-1, file);
        return;
    }
    if (target.hasFragment())
        m_browser->scrollToAnchor(target.fragment());
}

bool HelpWindow::showFile(const QString& path)
{
    m_browser->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    return !m_browser->toPlainText().trimmed().isEmpty();
}

void HelpWindow::showMissing(int context, const QString& file)
{
    m_browser->setHtml(MissingHelpHtml(context, file, m_folders));
    setWindowTitle(HelpWindowTitle(pageTitle()));
}

} // namespace tamble
