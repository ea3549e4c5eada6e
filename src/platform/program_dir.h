#pragma once
// The program directory: where the settings, the log files, the sensor tables,
// "default.set", "default.gcf" and the dial-up lists live. It becomes the
// current directory at start-up.

#include <QString>
#include <optional>

namespace tamble {

// The folder of the running executable (from /proc/self/exe, else argv[0]).
QString ExecutableDir(const char* argv0);

// $TAMBLE_HOME when set; else `exeDir` when writable and not an installed
// program's folder (one beside the installed shipped data, see
// FindShippedDataDir); else the per-user data folder
// (~/.local/share/tamble-logger). The folder is created when missing. The
// result ends in "/".
QString ResolveProgramDir(const QString& exeDir);

// The shipped data folder: <exeDir>/../share/tamble-logger/data when
// installed, else the source tree's data folder; empty when neither exists.
QString FindShippedDataDir(const QString& exeDir);

// Copies the files directly inside `dataDir` that `programDir` lacks; files
// already there are never overwritten. The "help" subfolder goes to
// <programDir>/help, where a copy that differs from the shipped page is replaced. Returns how
// many files were copied.
int InstallShippedData(const QString& dataDir, const QString& programDir);

// A message naming `programDir` when no file can be created in it (settings,
// logs and downloads would be lost); nothing when it is usable.
std::optional<QString> ProgramDirProblem(const QString& programDir);

} // namespace tamble
