#include "help/help_pages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace tamble {

const std::vector<HelpPage>& HelpPages()
{
    static const std::vector<HelpPage> pages = {
        {0, QStringLiteral("index.html"), QStringLiteral("Tamble Logger Help: Contents")},
        {1, QStringLiteral("settings.html"), QStringLiteral("Settings")},
        {2, QStringLiteral("graph_window.html"), QStringLiteral("The Graph Window")},
        {3, QStringLiteral("setup_window.html"), QStringLiteral("Tamble Logger Setup")},
        {4, QStringLiteral("scaling_labels.html"), QStringLiteral("Change Scaling and/or Labels")},
        {5, QStringLiteral("station_address.html"), QStringLiteral("Set Station Address (for network)")},
        {6, QStringLiteral("remote_modem_setup.html"), QStringLiteral("Configure Remote Modem")},
        {7, QStringLiteral("com_test.html"), QStringLiteral("Test Communication Cable and Port")},
        {8, QStringLiteral("custom_table.html"), QStringLiteral("Custom Table")},
        {9, QStringLiteral("viewports.html"), QStringLiteral("Set Viewports")},
        {10, QStringLiteral("graph_colors.html"), QStringLiteral("Change Graph Colors")},
        {11, QStringLiteral("export.html"), QStringLiteral("Export")},
        {12, QStringLiteral("ascii_export.html"), QStringLiteral("Create ASCII File")},
        {13, QStringLiteral("linear_scale.html"), QStringLiteral("New Linear Scale")},
        {14, QStringLiteral("preset_date.html"), QStringLiteral("Pre-set Date and Dial-out Time")},
        {15, QStringLiteral("select_graph.html"), QStringLiteral("Select Graph")},
        {16, QStringLiteral("phone_list.html"), QStringLiteral("Phone List")},
        {17, QStringLiteral("local_modem.html"), QStringLiteral("Local Modem")},
        {18, QStringLiteral("remote_modem_list.html"), QStringLiteral("Remote Modem")},
        {20, QStringLiteral("current_loop.html"), QStringLiteral("Current Loop Scaling")},
        {21, QStringLiteral("linear_transducer.html"), QStringLiteral("Linear Transducer Scaling")},
        {22, QStringLiteral("adjust_scaling.html"), QStringLiteral("Adjust Linear Scaling")},
        {24, QStringLiteral("no_response.html"), QStringLiteral("No response from logger")},
        {25, QStringLiteral("contact_closure.html"), QStringLiteral("Contact Closure values")},
        {26, QStringLiteral("baud_no_response.html"), QStringLiteral("No response while setting the baud rate")},
        {27, QStringLiteral("realtime_graph.html"), QStringLiteral("Real Time Graph")},
        {28, QStringLiteral("incompatible_file.html"), QStringLiteral("Incompatible file format")},
        {29, QStringLiteral("realtime_comm_failure.html"), QStringLiteral("Real Time Display: Comm Failure")},
    };
    return pages;
}

const HelpPage* FindHelpPage(int context)
{
    for (const HelpPage& page : HelpPages()) {
        if (page.context == context)
            return &page;
    }
    return nullptr;
}

QString HelpPageFile(int context)
{
    const HelpPage* page = FindHelpPage(context);
    return page ? page->file : QString();
}

QStringList HelpFolders(const QString& programDir, const QString& shippedDataDir)
{
    QStringList folders;
    for (const QString& base : {programDir, shippedDataDir}) {
        if (base.isEmpty())
            continue;
        const QString folder = QDir::cleanPath(QDir(base).absoluteFilePath(QStringLiteral("help")));
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

QString HelpLinkFile(const QUrl& resolved, const QUrl& link)
{
    return QFileInfo(resolved.isLocalFile() ? resolved.toLocalFile() : link.path()).fileName();
}

QString LocateHelpFile(const QString& file, const QStringList& folders)
{
    if (file.isEmpty())
        return {};
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(file);
        const QFileInfo info(path);
        if (!info.isFile())
            continue;
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            return info.absoluteFilePath();
    }
    return {};
}

QString MissingHelpHtml(int context, const QString& file, const QStringList& folders)
{
    QString html = QStringLiteral("<html><head><title>Help page not found</title></head><body>"
                                  "<h1>Help page not found</h1>");
    if (file.isEmpty()) {
        html += QStringLiteral("<p>There is no help page for help context %1.</p>").arg(context);
    } else {
        const QString which = context >= 0 ? QStringLiteral(" (help context %1)").arg(context) : QString();
        html += QStringLiteral("<p>The help page \"%1\"%2 is missing or cannot be read.</p>")
                    .arg(file.toHtmlEscaped(), which);
        html += QStringLiteral("<p>Looked in:</p><ul>");
        for (const QString& folder : folders)
            html += QStringLiteral("<li>%1</li>").arg(QDir::toNativeSeparators(folder).toHtmlEscaped());
        html += QStringLiteral("</ul><p>Reinstalling the program puts the help pages back.</p>");
    }
    if (context != kContentsHelpContext)
        html += QStringLiteral("<p><a href=\"%1\">Help contents</a></p>").arg(HelpPageFile(kContentsHelpContext));
    return html + QStringLiteral("</body></html>");
}

QString HtmlTitle(const QString& html)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = title.match(html);
    return match.hasMatch() ? match.captured(1).simplified() : QString();
}

QString HelpWindowTitle(const QString& pageTitle)
{
    const QString name = QStringLiteral("Tamble Logger Help");
    const QString title = pageTitle.trimmed();
    if (title.isEmpty())
        return name;
    if (title.startsWith(name, Qt::CaseInsensitive))
        return title;
    return name + QStringLiteral(" - ") + title;
}

} // namespace tamble
