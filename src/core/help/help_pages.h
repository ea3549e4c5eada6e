#pragma once
// The program's help: one HTML page per help context number, shipped in data/help/ and copied
// into <programDir>/help/. Context 0 is the contents page. Windows ask a HelpService for a context;
// the help window finds the page through this map.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

namespace tamble {

struct HelpPage {
    int context = 0;
    QString file;   // file name inside a help folder, e.g. "settings.html"
    QString title;  // the page's <title>
};

// Context numbers of windows whose Help button has no number of its own in the help file.
inline constexpr int kContentsHelpContext = 0;
inline constexpr int kStationAddressHelpContext = 5;
inline constexpr int kRemoteModemSetupHelpContext = 6;
inline constexpr int kComTestHelpContext = 7;
inline constexpr int kCustomTableHelpContext = 8;

// Every page, ordered by context number.
const std::vector<HelpPage>& HelpPages();

// The page of a context, or nullptr when the help has none.
const HelpPage* FindHelpPage(int context);

// The page's file name; empty for a context without a page.
QString HelpPageFile(int context);

// Where pages are looked for, first match wins: <programDir>/help, then <shippedDataDir>/help.
QStringList HelpFolders(const QString& programDir, const QString& shippedDataDir);

// The page file a link names: the file name of the link resolved against the page shown when that
// is a local file, else of the link's own path.
QString HelpLinkFile(const QUrl& resolved, const QUrl& link);

// Full path of the first readable copy of `file` in `folders`; empty when none is readable.
QString LocateHelpFile(const QString& file, const QStringList& folders);

// What the help window shows instead of a page it cannot show: an unknown context, or a page
// file that is missing or unreadable in every folder.
QString MissingHelpHtml(int context, const QString& file, const QStringList& folders);

// The <title> of an HTML text; empty when it has none.
QString HtmlTitle(const QString& html);

// The help window's caption for a page: "Tamble Logger Help - <page title>", or the page title
// alone when it already names the help (the contents page), or the plain name for no title.
QString HelpWindowTitle(const QString& pageTitle);

} // namespace tamble
