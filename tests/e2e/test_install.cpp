// The installed program: `cmake --install` into a temporary prefix gives a program
// that runs from there without the build or source tree, seeds the user's own
// program folder and never writes into the prefix; its desktop entry, AppStream
// data and file types validate and its manual pages format cleanly; the Debian
// package depends on runtime packages only and lintian finds nothing to warn about.

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

struct ToolRun {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString& program, const QStringList& args,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                const QString& workDir = QDir::tempPath(), int timeoutMs = 300000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.finished = p.exitStatus() == QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString buildDir()
{
    return QDir(TAMBLE_BIN_DIR "/..").absolutePath();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file below `root` with a digest of its contents.
std::map<QString, QByteArray> snapshot(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1);
    }
    return files;
}

// Width and height from a PNG's IHDR chunk.
std::pair<int, int> pngSize(const QByteArray& png)
{
    if (png.size() < 24 || !png.startsWith("\x89PNG\r\n\x1a\n"))
        return {0, 0};
    auto be32 = [&](int at) {
        return (uchar(png[at]) << 24) | (uchar(png[at + 1]) << 16) | (uchar(png[at + 2]) << 8) | uchar(png[at + 3]);
    };
    return {be32(16), be32(20)};
}

class Installed : public ::testing::Test {
protected:
    static inline std::unique_ptr<QTemporaryDir> s_prefix;
    static inline ToolRun s_install;

    static void SetUpTestSuite()
    {
        s_prefix = std::make_unique<QTemporaryDir>();
        const QString cmake = QStandardPaths::findExecutable("cmake");
        if (!cmake.isEmpty())
            s_install = runTool(cmake, {"--install", buildDir(), "--prefix", s_prefix->path()});
    }
    static void TearDownTestSuite() { s_prefix.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(s_install.finished) << "cmake --install did not run";
        ASSERT_EQ(s_install.exitCode, 0) << s_install.err.toStdString();
    }

    static QString prefix(const QString& relative) { return s_prefix->path() + "/" + relative; }

    // The environment of a user without TAMBLE_HOME, whose home is `home`, without a screen.
    static QProcessEnvironment userEnvironment(const QString& home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"TAMBLE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "DISPLAY", "WAYLAND_DISPLAY",
                                 "QT_QPA_PLATFORM", "TAMBLE_QUIT_AFTER_START"})
            env.remove(name);
        env.insert("HOME", home);
        return env;
    }
};

} // namespace

TEST_F(Installed, FilesLieInTheGnuLayout_WithIconsRenderedAtTheirSizes)
{
    for (const char* file : {"bin/tamble-logger", "bin/tamble-sim", "share/tamble-logger/data/default.set",
                             "share/tamble-logger/data/default.gcf", "share/tamble-logger/data/k.mvt",
                             "share/tamble-logger/data/help/index.html",
                             "share/tamble-logger/data/samples/sample10.TL1",
                             "share/applications/org.tamble.Logger.desktop",
                             "share/metainfo/org.tamble.Logger.metainfo.xml",
                             "share/mime/packages/org.tamble.Logger.xml",
                             "share/icons/hicolor/scalable/apps/org.tamble.Logger.svg"})
        EXPECT_TRUE(QFile::exists(prefix(file))) << file;
    EXPECT_TRUE(QFileInfo(prefix("bin/tamble-logger")).isExecutable());
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString png = prefix(QString("share/icons/hicolor/%1x%1/apps/org.tamble.Logger.png").arg(size));
        EXPECT_EQ(pngSize(readAll(png)), std::make_pair(size, size)) << png.toStdString();
    }
}

TEST_F(Installed, ConvertOfASampleInTheCurrentFolder_UsesTheDataOfThePrefixAndNeverWritesThere)
{
    // A file only the prefix holds proves where the shipped data came from.
    QFile marker(prefix("share/tamble-logger/data/installed-marker.txt"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("from the prefix\n");
    marker.close();
    const auto before = snapshot(s_prefix->path());

    QTemporaryDir home;
    QTemporaryDir work;
    const QString sample = work.path() + "/Cold Room.TL1";
    ASSERT_TRUE(QFile::copy(TAMBLE_SOURCE_DIR "/data/samples/sample10.TL1", sample));
    // Typed in a shell in the sample's folder: the name is relative to it.
    const ToolRun r =
        runTool(prefix("bin/tamble-logger"), {"Cold Room.TL1"}, userEnvironment(home.path()), work.path(), 120000);
    QFile::remove(marker.fileName());

    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("File written: Cold Room.csv ")) << r.out.toStdString();
    const QString programDir = home.path() + "/.local/share/tamble-logger/";
    EXPECT_EQ(readAll(programDir + "installed-marker.txt"), "from the prefix\n");
    EXPECT_EQ(readAll(programDir + "default.set"), readAll(TAMBLE_SOURCE_DIR "/data/default.set"));
    EXPECT_TRUE(QFile::exists(programDir + "help/index.html"));
    const QStringList csv = QString::fromLatin1(readAll(work.path() + "/Cold Room.csv")).split('\n', Qt::SkipEmptyParts);
    EXPECT_GT(csv.size(), 10);
    EXPECT_FALSE(QFile::exists(programDir + "Cold Room.csv"));
    EXPECT_TRUE(readAll(programDir + "CSVLOG.TXT").startsWith("File written: Cold Room.csv "));

    auto after = snapshot(s_prefix->path());
    after[marker.fileName()] = before.at(marker.fileName());
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before) << "the installed program wrote into its prefix";
}

TEST_F(Installed, DesktopLaunchWithAFile_OpensTheWindowAndDoesNotConvert)
{
    const QString desktop = QString::fromUtf8(readAll(prefix("share/applications/org.tamble.Logger.desktop")));
    const QRegularExpression exec("^Exec=(.*)$", QRegularExpression::MultilineOption);
    const QString command = exec.match(desktop).captured(1);
    ASSERT_EQ(command, "tamble-logger --open %f");

    QTemporaryDir home;
    QTemporaryDir work;
    const QString sample = work.path() + "/site.tl1";
    ASSERT_TRUE(QFile::copy(TAMBLE_SOURCE_DIR "/data/samples/sample12.TL1", sample));
    QProcessEnvironment env = userEnvironment(home.path());
    env.insert("TAMBLE_QUIT_AFTER_START", "1");
    // %f is a path, or nothing when started from the menu.
    for (const QStringList& args : {QStringList{"--open", sample}, QStringList{"--open"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun r = runTool(prefix("bin/tamble-logger"), args, env, work.path(), 120000);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString programDir = home.path() + "/.local/share/tamble-logger/";
        EXPECT_FALSE(QFile::exists(programDir + "CSVLOG.TXT"));
        EXPECT_FALSE(QFile::exists(programDir + "site.csv"));
        EXPECT_FALSE(QFile::exists(work.path() + "/site.csv"));
        EXPECT_TRUE(QFile::exists(programDir + "tblog.ini"));
    }
}

TEST_F(Installed, DesktopEntryAndAppStreamData_PassTheirValidators)
{
    struct Check { const char* tool; QStringList args; };
    const std::vector<Check> checks = {
        {"desktop-file-validate", {prefix("share/applications/org.tamble.Logger.desktop")}},
        {"appstreamcli", {"validate", "--no-net", prefix("share/metainfo/org.tamble.Logger.metainfo.xml")}},
    };
    QStringList missing;
    for (const Check& c : checks) {
        const QString tool = QStandardPaths::findExecutable(c.tool);
        if (tool.isEmpty()) {
            missing << c.tool;
            continue;
        }
        const ToolRun r = runTool(tool, c.args);
        ASSERT_TRUE(r.finished) << c.tool;
        EXPECT_EQ(r.exitCode, 0) << c.tool << ": " << r.out.toStdString() << r.err.toStdString();
    }
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed (scripts/bootstrap installs them): " << missing.join(", ").toStdString();
}

TEST_F(Installed, MimePackage_NamesTheFourFileTypesAndCoversTheDesktopEntrysTypes)
{
    QXmlStreamReader xml(readAll(prefix("share/mime/packages/org.tamble.Logger.xml")));
    std::map<QString, QString> globs;   // pattern -> type
    QString type;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("mime-type"))
            type = xml.attributes().value("type").toString();
        if (xml.isStartElement() && xml.name() == QLatin1String("glob"))
            globs[xml.attributes().value("pattern").toString()] = type;
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    for (const char* pattern : {"*.tl1", "*.tl2", "*.set", "*.gcf"})
        EXPECT_TRUE(globs.count(pattern) && !globs[pattern].isEmpty()) << pattern;

    const QString desktop = QString::fromUtf8(readAll(prefix("share/applications/org.tamble.Logger.desktop")));
    const QRegularExpression mimeLine("^MimeType=(.*)$", QRegularExpression::MultilineOption);
    const QStringList opened = mimeLine.match(desktop).captured(1).split(';', Qt::SkipEmptyParts);
    EXPECT_TRUE(opened.contains(globs["*.tl1"]));
    EXPECT_TRUE(opened.contains(globs["*.tl2"]));
    for (const QString& t : opened) {
        bool known = false;
        for (const auto& [pattern, name] : globs)
            known = known || name == t;
        EXPECT_TRUE(known) << t.toStdString();
    }
}

TEST_F(Installed, ManualPages_FormatWithoutWarningsAndNameEveryOptionOfTheirProgram)
{
    const QString man = QStandardPaths::findExecutable("man");
    if (man.isEmpty())
        GTEST_SKIP() << "man (man-db) missing; scripts/bootstrap installs it";
    QProcessEnvironment env = userEnvironment(QDir::tempPath());
    env.insert("MANWIDTH", "200");
    env.insert("LC_ALL", "C.UTF-8");
    for (const char* program : {"tamble-logger", "tamble-sim"}) {
        SCOPED_TRACE(program);
        const QString page = prefix(QString("share/man/man1/%1.1.gz").arg(program));
        ASSERT_TRUE(QFile::exists(page));
        const ToolRun checked = runTool(man, {"--warnings", "-l", page}, env);
        ASSERT_TRUE(checked.finished);
        EXPECT_EQ(checked.exitCode, 0);
        EXPECT_EQ(checked.err, "");
        // Unhyphenated and unjustified, so that every option stays one word of the text.
        const ToolRun text = runTool(man, {"--nh", "--nj", "-l", page}, env);
        const ToolRun help = runTool(prefix(QString("bin/") + program), {"--help"}, env);
        ASSERT_EQ(help.exitCode, 0) << help.err.toStdString();
        const QRegularExpression option("--[a-z][a-z-]*[a-z]");
        for (const QRegularExpressionMatch& m : option.globalMatch(help.out))
            EXPECT_TRUE(text.out.contains(m.captured(0))) << m.captured(0).toStdString();
    }
}

namespace {

// The Debian package, made once by cpack from this build.
class DebianPackage : public ::testing::Test {
protected:
    static inline std::unique_ptr<QTemporaryDir> s_out;
    static inline ToolRun s_made;
    static inline QString s_deb;

    static void SetUpTestSuite()
    {
        const QString cpack = QStandardPaths::findExecutable("cpack");
        if (cpack.isEmpty() || QStandardPaths::findExecutable("dpkg-shlibdeps").isEmpty())
            return;
        s_out = std::make_unique<QTemporaryDir>();
        s_made = runTool(cpack, {"--config", buildDir() + "/CPackConfig.cmake", "-G", "DEB", "-B", s_out->path()});
        const QStringList debs = QDir(s_out->path()).entryList({"tamble-logger_*.deb"}, QDir::Files);
        if (debs.size() == 1)
            s_deb = s_out->path() + "/" + debs.first();
    }
    static void TearDownTestSuite() { s_out.reset(); }

    void SetUp() override
    {
        if (!s_out || QStandardPaths::findExecutable("dpkg-deb").isEmpty())
            GTEST_SKIP() << "cpack, dpkg-deb or dpkg-shlibdeps (dpkg-dev) missing";
        ASSERT_EQ(s_made.exitCode, 0) << s_made.out.toStdString() << s_made.err.toStdString();
        ASSERT_FALSE(s_deb.isEmpty()) << "cpack made no single tamble-logger package";
    }
};

} // namespace

TEST_F(DebianPackage, DependsOnTheQtRuntimeAndQCustomPlot_NoDevelopmentPackage)
{
    const QString dpkgDeb = QStandardPaths::findExecutable("dpkg-deb");
    const ToolRun fields = runTool(dpkgDeb, {"-f", s_deb, "Package", "Version", "Depends", "Recommends"});
    ASSERT_EQ(fields.exitCode, 0) << fields.err.toStdString();
    EXPECT_TRUE(fields.out.contains("Package: tamble-logger\n"));
    const QRegularExpression dependsLine("^Depends: (.*)$", QRegularExpression::MultilineOption);
    QStringList depends;
    for (const QString& item : dependsLine.match(fields.out).captured(1).split(',', Qt::SkipEmptyParts))
        depends << item.trimmed().section(' ', 0, 0);
    // libqt6gui6 also carries the X11 platform plugin.
    for (const char* runtime : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6serialport6",
                                "libqcustomplot2.1-qt6", "libqt6sql6-sqlite"})
        EXPECT_TRUE(depends.contains(runtime)) << runtime << " in " << depends.join(", ").toStdString();
    for (const QString& name : depends)
        EXPECT_FALSE(name.endsWith("-dev")) << name.toStdString();
    const QRegularExpression recommends("^Recommends: .*\\bqt6-wayland\\b", QRegularExpression::MultilineOption);
    EXPECT_TRUE(fields.out.contains(recommends)) << fields.out.toStdString();
    // The changelog's newest entry is this version.
    const QString changelog = QString::fromUtf8(readAll(TAMBLE_SOURCE_DIR "/packaging/linux/changelog"));
    const QString version = QRegularExpression("^Version: (\\S+)$", QRegularExpression::MultilineOption)
                                .match(fields.out).captured(1);
    EXPECT_TRUE(changelog.startsWith("tamble-logger (" + version + ") ")) << version.toStdString();

    const ToolRun contents = runTool(dpkgDeb, {"-c", s_deb});
    for (const char* file : {"./usr/bin/tamble-logger", "./usr/bin/tamble-sim",
                             "./usr/share/tamble-logger/data/help/index.html",
                             "./usr/share/applications/org.tamble.Logger.desktop",
                             "./usr/share/mime/packages/org.tamble.Logger.xml",
                             "./usr/lib/systemd/system/tamble-auto-answer@.service"})
        EXPECT_TRUE(contents.out.contains(QString(file) + "\n") || contents.out.contains(QString(file) + " "))
            << file;
}

TEST_F(DebianPackage, LintianFindsNoErrorOrWarning)
{
    const QString lintian = QStandardPaths::findExecutable("lintian");
    if (lintian.isEmpty())
        GTEST_SKIP() << "lintian missing; scripts/bootstrap installs it";
    // Information and pedantic tags are not shown and do not fail.
    const ToolRun r = runTool(lintian, {"--fail-on", "error,warning", s_deb});
    ASSERT_TRUE(r.finished);
    const QRegularExpression tag("^[EW]: ", QRegularExpression::MultilineOption);
    EXPECT_FALSE(r.out.contains(tag)) << r.out.toStdString();
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
}
