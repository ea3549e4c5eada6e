// Tamble Logger: start-up. Unattended command lines run headless and end with
// a log line; otherwise the windows open.

#include "app/auto_answer_service.h"
#include "app/program_dir.h"
#include "app/startup.h"
#include "app/startup_log.h"
#include "ui/app/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <optional>

using namespace tamble;

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Test runs close the window as soon as the event loop runs.
bool quitAfterStart()
{
    return qEnvironmentVariableIntValue("TAMBLE_QUIT_AFTER_START") == 1;
}

int runInteractive(AppRecords& records, const std::optional<QString>& setupWarning, const QString& shippedDataDir,
                   int& argc, char** argv)
{
    if (!hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("Tamble Logger"));

    TMain mainWindow(records, shippedDataDir);
    // Without a screen to show it on, the warning never waits for an OK nobody can press.
    if (setupWarning && hasDisplay() && !quitAfterStart())
        mainWindow.setStartupWarning(*setupWarning);
    else if (setupWarning)
        std::fprintf(stderr, "%s\n", setupWarning->toLocal8Bit().constData());
    mainWindow.showMaximized();
    if (quitAfterStart())
        QTimer::singleShot(0, &mainWindow, &QWidget::close);
    return app.exec();
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
    if (IsServiceCommandLine(params)) {
        // Options such as --auto-answer run headless; they take no positional parameters.
        StartUp(records, programDir, {});
        LoadStartupSetup(records, true);
        QCoreApplication app(argc, argv);
        return RunServiceCommandLine(records, params);
    }
    const CommandLineResult parsed = StartUp(records, programDir, params);
    if (parsed.failed())
        return EndWithLog(parsed.routine, records.programDir, parsed.message, kExitCommandLineError);

    // The hang-up mode runs during start-up, before the setup window would load its setup.
    StartupSetupReport setupLoad;
    if (!records.mode.hangup)
        setupLoad = LoadStartupSetup(records, records.mode.unattended());
    if (setupLoad.endStatus)
        return *setupLoad.endStatus;

    if (records.mode.unattended()) {
        QCoreApplication app(argc, argv);
        return RunDeferredAction(records);
    }
    return runInteractive(records, setupLoad.warning, FindShippedDataDir(exeDir), argc, argv);
}
