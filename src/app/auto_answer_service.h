#pragma once
// Headless runs started by an option instead of the positional parameters:
//
//   --auto-answer [--calls N] [--com N]
//                               wait for loggers that call in and serve them
//                               (status, download, setup sent back, hang-up),
//                               for ever or until N calls were answered
//   --program-station N         program station address N into the logger
//   --set-logger-baud [BAUD]    change the logger's line speed (default: the
//                               settings baud)
//   --com-test                  the cable loop-back test
//   --configure-remote-modem    send the remote modem init string
//
// The procedures end with their message as the one line of "TLLOG.TXT" (and
// on stdout): status 0 when it is the success message, 1 otherwise. The
// auto-answer service appends its log lines as calls come in, each call's
// after-call command (archive/call_hook.h) adding its own when it has ended.

#include "program/app_records.h"

#include <QStringList>

namespace tamble {

// True when the first parameter is one of the options above.
bool IsServiceCommandLine(const QStringList& params);

// Runs it (needs a QCoreApplication); returns the exit status.
int RunServiceCommandLine(AppRecords& records, const QStringList& params);

} // namespace tamble
