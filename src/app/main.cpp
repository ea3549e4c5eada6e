// Tamble Logger: start-up. Unattended command lines run headless and end with
// a log line; otherwise the windows open.

#include "app/program_dir.h"
#include "app/startup.h"
#include "app/startup_log.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QTimer>

using namespace tamble;

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runInteractive(AppRecords& records, int& argc, char** argv)
{
    if (!hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QMainWindow mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("Tamble Logger"));
    mainWindow.showMaximized();
    // Test runs close the window as soon as the event loop runs.
    if (qEnvironmentVariableIntValue("TAMBLE_QUIT_AFTER_START") == 1)
        QTimer::singleShot(0, &mainWindow, &QWidget::close);

    const int status = app.exec();
    CloseProgram(records);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("tamble-logger"));
    QStringList params;
    for (int i = 1; i < argc; ++i)
        params << QString::fromLocal8Bit(argv[i]);

    const QString exeDir = ExecutableDir(argc > 0 ? argv[0] : nullptr);
    const QString programDir = ResolveProgramDir(exeDir);
    InstallShippedData(FindShippedDataDir(exeDir), programDir);

    AppRecords records;
    const CommandLineResult parsed = StartUp(records, programDir, params);
    if (parsed.failed())
        return EndWithLog(parsed.routine, records.programDir, parsed.message, kExitCommandLineError);

    if (records.mode.unattended()) {
        QCoreApplication app(argc, argv);
        return RunDeferredAction(records);
    }
    return runInteractive(records, argc, argv);
}
