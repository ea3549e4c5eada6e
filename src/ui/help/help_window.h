#pragma once
// The help window: the program's own HTML help pages in a text browser, with Back, Forward and
// Contents. Only local page files are shown; a link that leaves the help folders is not followed.
// It is the program's HelpService: showHelp(context) opens that context's page.

#include "util/user_dialog.h"

#include <QStringList>
#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace tamble {

class HelpWindow : public QWidget, public HelpService {
    Q_OBJECT
public:
    // `folders`: where pages are looked for, first match wins (see HelpFolders()).
    explicit HelpWindow(QStringList folders, QWidget* parent = nullptr);

    void showHelp(int context) override;

    // The title of the page shown now (its <title>), or of the not-found text.
    QString pageTitle() const;
    QTextBrowser* browser() const { return m_browser; }

private:
    void openLink(const QUrl& url);
    bool showFile(const QString& path);
    void showMissing(int context, const QString& file);
    void fitOnScreen();

    QStringList m_folders;
    QTextBrowser* m_browser = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QPushButton* m_contents = nullptr;
    bool m_placed = false;   // placed on a screen once; afterwards only kept on it
};

} // namespace tamble
