#include "platform/startup_log.h"

#include "settings/log_routines.h"

#include <cstdio>

namespace tamble {

int EndWithLog(LogRoutine routine, const QString& programDir, const QString& message, int status)
{
    LogWrite write;
    switch (routine) {
    case LogRoutine::Fatal: write = FatalLogAndExit(programDir, message); break;
    case LogRoutine::Csv: write = CsvLogAndExit(programDir, message); break;
    case LogRoutine::Append:
    case LogRoutine::None: write = AppendLogLine(programDir, message); break;
    }
    std::fputs(write.line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (!write.written) {
        std::fprintf(stderr, "cannot write the log file in %s\n", programDir.toLocal8Bit().constData());
        if (status == kExitSuccess)
            status = kExitFailure;
    }
    return status;
}

} // namespace tamble
