#include "platform/program_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tamble {

namespace {

QString withSlash(const QString& dir)
{
    QString clean = QDir::cleanPath(dir);
    if (!clean.endsWith(QLatin1Char('/')))
        clean += QLatin1Char('/');
    return clean;
}

bool usableDir(const QString& dir)
{
    if (dir.isEmpty() || !QDir().mkpath(dir))
        return false;
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

bool sameContents(const QString& a, const QString& b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    return first.size() == second.size() && first.readAll() == second.readAll();
}

// Copies the files directly inside `source` that `target` lacks (or, with `refresh`, holds with
// other contents). Returns how many were copied.
int copyMissingFiles(const QDir& source, const QDir& target, bool refresh)
{
    int copied = 0;
    const auto files = source.entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& file : files) {
        const QString destination = target.filePath(file.fileName());
        const QFileInfo existing(destination);
        if (existing.exists()) {
            if (!refresh || sameContents(file.absoluteFilePath(), destination))
                continue;
            QFile::remove(destination);
        }
        if (QFile::copy(file.absoluteFilePath(), destination)) {
            // Shipped files may be read-only in an installation; the copies are the user's.
            QFile::setPermissions(destination, QFile::permissions(destination)
                                  | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
            ++copied;
        }
    }
    return copied;
}

// The shipped data of an installed program, relative to its executable's folder
// (bin/ and share/ of one prefix).
QString installedDataDir(const QString& exeDir)
{
#ifdef TAMBLE_INSTALLED_DATA_REL
    const QString relative = QStringLiteral(TAMBLE_INSTALLED_DATA_REL);
#else
    const QString relative = QStringLiteral("../share/tamble-logger/data");
#endif
    return exeDir + QLatin1Char('/') + relative;
}

} // namespace

QString ExecutableDir(const char* argv0)
{
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QString target = self.canonicalFilePath();
    if (!target.isEmpty())
        return QFileInfo(target).absolutePath();
    return QFileInfo(QString::fromLocal8Bit(argv0 ? argv0 : "")).absolutePath();
}

QString ResolveProgramDir(const QString& exeDir)
{
    const QString home = qEnvironmentVariable("TAMBLE_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return withSlash(QDir(home).absolutePath());
    }
    // An installed program never writes beside itself, even in a prefix the user owns.
    const bool installed = !exeDir.isEmpty() && QFileInfo(installedDataDir(exeDir)).isDir();
    if (!installed && !exeDir.isEmpty() && QFileInfo(exeDir).isDir() && QFileInfo(exeDir).isWritable())
        return withSlash(exeDir);
    QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (userDir.isEmpty())
        userDir = QDir::homePath() + QStringLiteral("/.local/share/tamble-logger");
    if (usableDir(userDir))
        return withSlash(userDir);
    return withSlash(QDir::currentPath());
}

QString FindShippedDataDir(const QString& exeDir)
{
    const QString installed = installedDataDir(exeDir);
    if (QFileInfo(installed).isDir())
        return QDir(installed).absolutePath();
#ifdef TAMBLE_DATA_DIR
    const QString source = QStringLiteral(TAMBLE_DATA_DIR);
    if (QFileInfo(source).isDir())
        return source;
#endif
    return {};
}

int InstallShippedData(const QString& dataDir, const QString& programDir)
{
    if (dataDir.isEmpty())
        return 0;
    const QDir source(dataDir);
    const QDir target(programDir);
    if (QDir::cleanPath(source.absolutePath()) == QDir::cleanPath(target.absolutePath()))
        return 0;
    int copied = copyMissingFiles(source, target, false);
    // The help pages belong to the program, not the user: a changed shipped page replaces the copy.
    const QString help = QStringLiteral("help");
    if (source.exists(help) && target.mkpath(help))
        copied += copyMissingFiles(QDir(source.filePath(help)), QDir(target.filePath(help)), true);
    return copied;
}

std::optional<QString> ProgramDirProblem(const QString& programDir)
{
    // Permission bits do not tell the whole story (read-only mounts, ACLs): try it.
    QTemporaryFile probe(QDir(programDir).filePath(QStringLiteral(".tamble-write-check-XXXXXX")));
    if (QFileInfo(programDir).isDir() && probe.open())
        return std::nullopt;
    return QStringLiteral("The program folder %1 cannot be written: settings, logs and data files will not be "
                          "saved. Make it writable, or set TAMBLE_HOME to a folder you can write.")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(programDir)));
}

} // namespace tamble
