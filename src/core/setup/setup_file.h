#pragma once
// Setup files: reading and writing ".SET" files, importing a setup from the
// header of a ".TL1" data file, the setup loaded at start-up and the name of
// the setup sent back to a logger that dialled in.
//
// Nothing here shows a dialog or writes a log: whatever the user must be told
// comes back as a SetupMessage (text and kind) for the window to show or for an
// unattended run to log.

#include "datafiles/bank_file.h"
#include "setup/setup_record.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

namespace tamble {

inline constexpr const char* kDefaultSetupFileName = "default.set";
inline constexpr const char* kCorruptSetupText = "File corrupt or invalid";

// A message for the user, shown with an OK button.
struct SetupMessage {
    enum class Kind { Error, Warning, Information };
    QString text;
    Kind kind = Kind::Error;

    bool operator==(const SetupMessage&) const = default;
};

// Outcome of a file operation: ok, or the message to show.
struct SetupFileOutcome {
    bool ok = true;
    std::optional<SetupMessage> message;
};

// Reads the first 781 bytes of `path` into `record`. A file that cannot be
// opened or is shorter fails with "File I/O error: " + path (error) and leaves
// `record` as it was.
SetupFileOutcome LoadSetupFile(const QString& path, SetupRecord& record);

// Writes exactly the 781 bytes of `record` to `path`. The file is replaced only
// once the new content is complete, so a failed save keeps the old file; the
// failure is reported as "File I/O error: " + path (error).
SetupFileOutcome SaveSetupFile(const QString& path, const SetupRecord& record);

// Fills part of `record` from the header lines of a data file (see
// ImportSetupFromHeader). A file that cannot be opened gives
// "File I/O error: " + path.
SetupFileOutcome ImportSetupFromDataFile(const QString& path, SetupRecord& record);

// The same on the file's bytes. A header whose line 2 is not 21, 24 or 26
// characters long, or that ends before the lines the code line asks for, or
// whose numeric lines are not numbers, gives "File corrupt or invalid" (error)
// and leaves `record` unchanged.
SetupFileOutcome ImportSetupFromHeader(QByteArrayView fileBytes, SetupRecord& record);

// Fills `record` with the defaults (date and time from `now`) and writes it to
// "default.set" in `directory`. Returns whether the file was written.
bool MakeDefaultSetup(SetupRecord& record, const QDateTime& now, const QString& directory);

// Load or import through the setup window's Load button: a ".TL1" file
// (IsDataFileName) is imported, any other file read as a setup file.
// Afterwards `savedCopy` is a copy of `record`, failed or not. A setup file
// read successfully becomes `lastSetupFile`; an import leaves it alone.
SetupFileOutcome OpenSetupForWindow(const QString& path, SetupRecord& record, SetupRecord& savedCopy,
                                    QString& lastSetupFile);

// Save through the setup window: on success `savedCopy` takes the record and
// `lastSetupFile` the path.
SetupFileOutcome SaveSetupForWindow(const QString& path, const SetupRecord& record, SetupRecord& savedCopy,
                                    QString& lastSetupFile);

// ------------------------------------------------------------ start-up load

// Why the program is running, which decides how a failed start-up load ends.
enum class SetupStartupContext {
    Interactive,         // warning shown, default setup loaded
    AutoAnswerCall,      // an answered incoming logger call is in progress
    CommandLineSendSetup // started to send a setup from the command line
};

struct StartupSetupOutcome {
    enum class Result {
        Loaded,          // the named file was read
        DefaultLoaded,   // warning `message`; the default setup was made
        AutoAnswerFailed,  // log `message` to "TLLOG.TXT" and hang up the modem
        CommandLineFailed  // `message` is the final log entry; hang up and end the run
    };
    Result result = Result::Loaded;
    std::optional<SetupMessage> message;
    QString readName;      // the file name that was read (after name folding)
    QString fileFieldName; // file-name part to show in the window's file field
};

// The file to read at start-up for the remembered setup file name: a name whose
// file-name part is "alloff.set" or "default.set" (any case, any directory,
// "\" or "/" separators) becomes that bare lower-case name. A relative name is
// taken relative to `programDir`.
QString StartupSetupPath(const QString& lastSetupFile, const QString& programDir, QString* readName = nullptr);

// File-name part of a path written with "\" or "/" separators (or a drive).
QString FileNamePart(const QString& path);

// "Setup File: " + name + " not found; command not executed": the start-up load failed while a
// command must not go on without the setup.
QString SetupFileNotFoundText(const QString& name);

// Runs the start-up load. On success `savedCopy` is a copy of the record. On
// failure the outcome carries the exact message; in the interactive case the
// default setup is made (and written to "default.set"), `lastSetupFile`
// becomes "default.set" and the caller clears SetupModified. In the two
// unattended cases the record is set to the defaults in memory only, so that
// the window never holds an unset record.
StartupSetupOutcome StartupLoadSetup(const QString& programDir, QString& lastSetupFile,
                                     SetupStartupContext context, const QDateTime& now,
                                     SetupRecord& record, SetupRecord& savedCopy);

// ------------------------------------------------------------ resend to a caller

// Name of the setup file sent back to a logger that dialled in: the logger's
// description after its first ";", without trailing spaces, plus ".set"
// ("A.set" when the description has no ";").
QString ResendSetupFileName(QByteArrayView loggerDescription);

// Loads that file from `programDir`. A name that is not a plain file name (it
// holds "/", "\" or ":") is never read: the description comes from the remote
// logger and must not reach files outside the program directory. On failure
// the outcome's message is the log line UnableToSendSetupText(name). On success `savedCopy` takes
// the record.
SetupFileOutcome LoadResendSetup(const QString& programDir, QByteArrayView loggerDescription,
                                 SetupRecord& record, SetupRecord& savedCopy);

// "Unable to send setup; " + name + " not found".
QString UnableToSendSetupText(const QString& name);

} // namespace tamble
