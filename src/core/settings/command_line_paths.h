#pragma once
// Where the file named on the command line lies. A shell hands the program names relative to
// the folder the command was typed in, while the program works in its program folder (that
// becomes the current directory at start-up). Parameter 1 is therefore made absolute against
// the start folder, unless the start folder is the program folder itself: there the name
// already resolves to the same file and is kept as typed, as the log lines show it.

#include <QString>
#include <QStringList>

namespace tamble {

// `name` as the program opens it, for a command started in `startDir` whose program folder is
// `programDir`. An absolute or empty name is returned unchanged.
QString CommandLineFilePath(const QString& name, const QString& startDir, const QString& programDir);

// The positional parameters with parameter 1 passed through CommandLineFilePath; the hang-up
// mode's parameter 1 ("X h") names no file and stays as it is.
QStringList ResolveCommandLineFiles(const QStringList& params, const QString& startDir, const QString& programDir);

} // namespace tamble
