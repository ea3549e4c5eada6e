#include "settings/command_line_paths.h"

#include <QDir>
#include <QFileInfo>

namespace tamble {

namespace {

// A folder as the file system names it (links resolved, no trailing slash), so that two
// spellings of one folder compare equal; the cleaned path when it does not exist.
QString FolderKey(const QString& dir)
{
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(dir) : canonical;
}

} // namespace

QString CommandLineFilePath(const QString& name, const QString& startDir, const QString& programDir)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name) || FolderKey(startDir) == FolderKey(programDir))
        return name;
    return QDir::cleanPath(QDir(startDir).absoluteFilePath(name));
}

QStringList ResolveCommandLineFiles(const QStringList& params, const QString& startDir, const QString& programDir)
{
    if (params.isEmpty() || params.value(1) == QLatin1String("h"))
        return params;
    QStringList resolved = params;
    resolved[0] = CommandLineFilePath(params.at(0), startDir, programDir);
    return resolved;
}

} // namespace tamble
