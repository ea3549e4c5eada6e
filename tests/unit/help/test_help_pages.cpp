// The help pages against the program: every page in the map exists in data/help as HTML with
// its title, the pages link only to each other, and every help context the sources use has a
// page.
//
// The source scan reads every .h and .cpp under src/ and takes a help context from:
//   - showHelp(<expression>)                          e.g. showHelp(1), showHelp(only ? 4 : 3)
//   - helpContext = <expression>  (also ".helpContext = ..." in designated initialisers)
//   - DialogButtons::OkHelp, <n>  and  DialogButtons::OkRetryHelp, <n>  (outcome and message
//     initialisers, where the context follows the buttons)
// In each expression every integer literal and every constant named k...HelpContext counts. The
// constants are resolved from their definitions "k...HelpContext = <n>" anywhere under src/.
// Other names (a variable holding a context) cannot be resolved statically and are skipped.
// src/core/help/ itself is left out of the usages: it is the map, not a user of it.

#include "help/help_pages.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tamble;

namespace {

const QString kHelpDir = QStringLiteral(TAMBLE_SOURCE_DIR "/data/help");
const QString kSrcDir = QStringLiteral(TAMBLE_SOURCE_DIR "/src");

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

struct SourceFile {
    QString path;
    QString text;
};

std::vector<SourceFile> sourceFiles()
{
    std::vector<SourceFile> files;
    QDirIterator it(kSrcDir, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.push_back({path, readText(path)});
    }
    return files;
}

std::map<QString, int> contextConstants(const std::vector<SourceFile>& files)
{
    static const QRegularExpression definition(QStringLiteral("\\b(k\\w*HelpContext)\\s*=\\s*(\\d+)"));
    std::map<QString, int> constants;
    for (const SourceFile& file : files) {
        auto it = definition.globalMatch(file.text);
        while (it.hasNext()) {
            const auto m = it.next();
            constants[m.captured(1)] = m.captured(2).toInt();
        }
    }
    return constants;
}

// The expression after `from` up to its end: a closing parenthesis at depth 0 (showHelp), or a
// ';', ',' or '}' at depth 0 (assignments and initialisers).
QString expressionAt(const QString& text, qsizetype from, bool inParentheses)
{
    int depth = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth-- == 0 && inParentheses)
            return text.mid(from, i - from);
        else if (!inParentheses && depth <= 0
                 && (c == QLatin1Char(';') || c == QLatin1Char(',') || c == QLatin1Char('}')))
            return text.mid(from, i - from);
    }
    return text.mid(from);
}

struct Usage {
    int context;
    QString where;
};

// Every literal and k...HelpContext constant in `expression`; an unknown constant fails the test.
void collect(const QString& expression, const std::map<QString, int>& constants, const QString& where,
             std::vector<Usage>& out)
{
    static const QRegularExpression token(QStringLiteral("\\b(\\d+|k\\w*HelpContext)\\b"));
    auto it = token.globalMatch(expression);
    while (it.hasNext()) {
        const QString t = it.next().captured(1);
        if (t.front().isDigit()) {
            out.push_back({t.toInt(), where});
            continue;
        }
        const auto found = constants.find(t);
        if (found == constants.end()) {
            ADD_FAILURE() << "help context constant without a readable definition: "
                          << t.toStdString() << " in " << where.toStdString();
            continue;
        }
        out.push_back({found->second, where});
    }
}

std::vector<Usage> usedContexts()
{
    const std::vector<SourceFile> files = sourceFiles();
    const std::map<QString, int> constants = contextConstants(files);
    static const QRegularExpression showHelp(QStringLiteral("\\bshowHelp\\s*\\("));
    static const QRegularExpression assigned(QStringLiteral("\\bhelpContext\\s*=(?!=)"));
    static const QRegularExpression buttons(
        QStringLiteral("DialogButtons::(?:OkHelp|OkRetryHelp)\\s*,\\s*(\\d+|k\\w*HelpContext)\\b"));
    std::vector<Usage> usages;
    for (const SourceFile& file : files) {
        if (file.path.contains(QStringLiteral("/src/core/help/")))
            continue;
        const QString where = QDir(kSrcDir).relativeFilePath(file.path);
        auto calls = showHelp.globalMatch(file.text);
        while (calls.hasNext()) {
            const auto m = calls.next();
            const QString argument = expressionAt(file.text, m.capturedEnd(), true);
            if (argument.contains(QStringLiteral("int context")))
                continue;  // the declaration of showHelp itself
            collect(argument, constants, where, usages);
        }
        auto assignments = assigned.globalMatch(file.text);
        while (assignments.hasNext()) {
            const auto m = assignments.next();
            collect(expressionAt(file.text, m.capturedEnd(), false), constants, where, usages);
        }
        auto outcomes = buttons.globalMatch(file.text);
        while (outcomes.hasNext())
            collect(outcomes.next().captured(1), constants, where, usages);
    }
    return usages;
}

} // namespace

TEST(HelpPages, EveryListedPageIsHtmlInTheShippedFolderWithItsTitle)
{
    std::set<int> contexts;
    std::set<QString> files;
    for (const HelpPage& page : HelpPages()) {
        SCOPED_TRACE(page.file.toStdString());
        EXPECT_TRUE(contexts.insert(page.context).second) << "context listed twice";
        EXPECT_TRUE(files.insert(page.file).second) << "file listed twice";
        const QString html = readText(kHelpDir + QLatin1Char('/') + page.file);
        ASSERT_FALSE(html.trimmed().isEmpty()) << "missing or empty page";
        EXPECT_TRUE(html.contains(QStringLiteral("<html"), Qt::CaseInsensitive));
        EXPECT_TRUE(html.contains(QStringLiteral("</html>"), Qt::CaseInsensitive));
        EXPECT_EQ(HtmlTitle(html), page.title);
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>"))) << "page without a heading";
        EXPECT_GT(html.size(), 600) << "a page this short cannot explain its window";
    }
    ASSERT_NE(FindHelpPage(kContentsHelpContext), nullptr);
}

TEST(HelpPages, PagesLinkOnlyToEachOtherAndEveryPageIsReachableFromTheContents)
{
    std::set<QString> listed;
    for (const HelpPage& page : HelpPages())
        listed.insert(page.file);
    const QStringList shipped = QDir(kHelpDir).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString& file : shipped)
        EXPECT_TRUE(listed.count(file)) << file.toStdString() << " is shipped but has no context";

    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"#]*)(#[^\"]*)?\""));
    std::set<QString> fromContents;
    for (const QString& file : shipped) {
        auto it = href.globalMatch(readText(kHelpDir + QLatin1Char('/') + file));
        while (it.hasNext()) {
            const QString target = it.next().captured(1);
            if (target.isEmpty())
                continue;
            EXPECT_FALSE(target.contains(QLatin1Char(':'))) << file.toStdString() << " links outside: "
                                                            << target.toStdString();
            EXPECT_TRUE(listed.count(target)) << file.toStdString() << " links to a missing page "
                                              << target.toStdString();
            if (file == HelpPageFile(kContentsHelpContext))
                fromContents.insert(target);
        }
    }
    for (const QString& file : listed) {
        if (file != HelpPageFile(kContentsHelpContext)) {
            EXPECT_TRUE(fromContents.count(file)) << file.toStdString() << " is not in the contents";
        }
    }
}

TEST(HelpPages, EveryHelpContextTheSourcesUseHasAPage)
{
    const std::vector<Usage> usages = usedContexts();
    std::set<int> used;
    for (const Usage& u : usages) {
        used.insert(u.context);
        EXPECT_NE(FindHelpPage(u.context), nullptr)
            << "help context " << u.context << " used in " << u.where.toStdString() << " has no page";
    }
    // The scan itself must work: these outcomes of the session engine and the .TL2 reader exist.
    for (int known : {24, 26, 28, 29})
        EXPECT_TRUE(used.count(known)) << "the scan missed context " << known;
}

TEST(HelpPages, EveryContextOfTheHelpFileHasItsPageAndNoPageLacksAContext)
{
    // The context numbers the program's windows and messages carry.
    const std::set<int> windowContexts = {1,  2,  3,  4,  9,  10, 11, 12, 13, 14, 15, 16,
                                          17, 18, 20, 21, 22, 24, 25, 26, 27, 28, 29};
    // Contents, and the dialogs whose Help button has no number of its own.
    const std::set<int> programContexts = {0, 5, 6, 7, 8};
    EXPECT_EQ(kStationAddressHelpContext, 5);
    EXPECT_EQ(kRemoteModemSetupHelpContext, 6);
    EXPECT_EQ(kComTestHelpContext, 7);
    EXPECT_EQ(kCustomTableHelpContext, 8);

    std::set<int> expected = windowContexts;
    expected.insert(programContexts.begin(), programContexts.end());
    std::set<int> paged;
    for (const HelpPage& page : HelpPages())
        paged.insert(page.context);
    EXPECT_EQ(paged, expected);
    EXPECT_EQ(HelpPageFile(19), QString());
    EXPECT_EQ(HelpPageFile(-1), QString());
}

TEST(HelpPages, PageFilesAreFoundInTheProgramFolderFirstThenTheShippedOne)
{
    QTemporaryDir program;
    QTemporaryDir shipped;
    ASSERT_TRUE(program.isValid() && shipped.isValid());
    const QStringList folders = HelpFolders(program.path(), shipped.path());
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders.at(0), program.path() + QStringLiteral("/help"));
    EXPECT_EQ(HelpFolders(program.path(), program.path()).size(), 1) << "one folder is searched once";
    EXPECT_EQ(HelpFolders(program.path(), QString()).size(), 1);

    QDir().mkpath(folders.at(0));
    QDir().mkpath(folders.at(1));
    auto write = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write("<html></html>") > 0;
    };
    ASSERT_TRUE(write(folders.at(1) + QStringLiteral("/a.html")));
    EXPECT_EQ(LocateHelpFile(QStringLiteral("a.html"), folders), folders.at(1) + QStringLiteral("/a.html"));
    ASSERT_TRUE(write(folders.at(0) + QStringLiteral("/a.html")));
    EXPECT_EQ(LocateHelpFile(QStringLiteral("a.html"), folders), folders.at(0) + QStringLiteral("/a.html"));
    EXPECT_EQ(LocateHelpFile(QStringLiteral("b.html"), folders), QString());
    EXPECT_EQ(LocateHelpFile(QString(), folders), QString());

    // A folder that happens to carry the page's name is no page.
    ASSERT_TRUE(QDir().mkpath(folders.at(0) + QStringLiteral("/c.html")));
    ASSERT_TRUE(write(folders.at(1) + QStringLiteral("/c.html")));
    EXPECT_EQ(LocateHelpFile(QStringLiteral("c.html"), folders), folders.at(1) + QStringLiteral("/c.html"));
}

TEST(HelpPages, AnUnreadableCopyIsPassedOverForAReadableOne)
{
    QTemporaryDir program;
    QTemporaryDir shipped;
    const QStringList folders = HelpFolders(program.path(), shipped.path());
    for (const QString& folder : folders) {
        QDir().mkpath(folder);
        QFile f(folder + QStringLiteral("/a.html"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("<html></html>") > 0);
    }
    const QString blocked = folders.at(0) + QStringLiteral("/a.html");
    QFile::setPermissions(blocked, QFileDevice::WriteOwner);
    QFile probe(blocked);
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    EXPECT_EQ(LocateHelpFile(QStringLiteral("a.html"), folders), folders.at(1) + QStringLiteral("/a.html"));
}

TEST(HelpPages, MissingPageTextNamesWhatIsMissingAndWhere)
{
    struct Case {
        int context;
        QString file;
        QStringList mustContain;
    };
    const std::vector<Case> cases = {
        {99, QString(), {QStringLiteral("There is no help page for help context 99."),
                         QStringLiteral("href=\"index.html\"")}},
        {24, QStringLiteral("no_response.html"),
         {QStringLiteral("\"no_response.html\" (help context 24) is missing or cannot be read"),
          QStringLiteral("/opt/x/help")}},
        {-1, QStringLiteral("a<b>.html"), {QStringLiteral("\"a&lt;b&gt;.html\" is missing")}},
    };
    for (const Case& c : cases) {
        const QString html = MissingHelpHtml(c.context, c.file, {QStringLiteral("/opt/x/help")});
        EXPECT_EQ(HtmlTitle(html), QStringLiteral("Help page not found"));
        for (const QString& part : c.mustContain)
            EXPECT_TRUE(html.contains(part)) << html.toStdString() << "\nlacks " << part.toStdString();
    }
    EXPECT_FALSE(MissingHelpHtml(0, QStringLiteral("index.html"), {}).contains(QStringLiteral("href")))
        << "the contents page does not link to itself";
}

TEST(HelpWindowTitle, NamesTheHelpOnce)
{
    EXPECT_EQ(HelpWindowTitle(QStringLiteral("Settings")), QStringLiteral("Tamble Logger Help - Settings"));
    EXPECT_EQ(HelpWindowTitle(QStringLiteral("Tamble Logger Help: Contents")),
              QStringLiteral("Tamble Logger Help: Contents"));
    EXPECT_EQ(HelpWindowTitle(QStringLiteral("  ")), QStringLiteral("Tamble Logger Help"));
}
