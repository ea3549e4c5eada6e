// Tamble Logger: start-up. Unattended command lines run headless and end with
// a log line; otherwise the windows open.

#include "app/auto_answer_service.h"
#include "platform/program_dir.h"
#include "app/startup.h"
#include "platform/startup_log.h"
#include "settings/command_line_paths.h"
#include "app/unattended.h"
#include "ui/analysis/analysis_report.h"
#include "ui/app/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
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

const QString kProgramName = QStringLiteral("tamble-logger");

// --help and --version end here, and so does an unknown option, whatever follows it: a typing
// error never opens a window or runs a mode.
std::optional<int> answerInfoRequest(const QStringList& params)
{
    switch (ClassifyCommandLine(params)) {
    case CommandLineRequest::Help:
        std::fputs(UsageText(kProgramName).toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLineRequest::Version:
        std::printf("%s\n", VersionText(kProgramName, QStringLiteral(TAMBLE_VERSION)).toLocal8Bit().constData());
        return 0;
    case CommandLineRequest::UnknownOption:
        std::fprintf(stderr, "%s\n", UsageHint(kProgramName, params.first()).toLocal8Bit().constData());
        return kExitCommandLineError;
    case CommandLineRequest::Modes:
    case CommandLineRequest::Service:
    case CommandLineRequest::Open:
    case CommandLineRequest::Analysis:
    case CommandLineRequest::Archive:
        break;
    }
    return std::nullopt;
}

// Both start-up warnings in one box, the folder first: without it nothing else is kept.
std::optional<QString> joinWarnings(const std::optional<QString>& first, const std::optional<QString>& second)
{
    if (first && second)
        return *first + QStringLiteral("\n\n") + *second;
    return first ? first : second;
}

int runInteractive(AppRecords& records, const std::optional<QString>& setupWarning, const QString& shippedDataDir,
                   int& argc, char** argv)
{
    if (!hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // No application display name: the platform would append it to every window's own caption
    // ("Tamble Logger Help - Settings — Tamble Logger"). Each caption names the program already.

    MainWindow mainWindow(records, shippedDataDir);
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

void printLine(const QString& text, FILE* stream)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(kProgramName);
    QStringList params;
    for (int i = 1; i < argc; ++i)
        params << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> status = answerInfoRequest(params))
        return *status;
    // Start-up makes the program folder the current directory; names typed in a shell are
    // relative to the folder the command was started in.
    const QString startDir = QDir::currentPath();
    QString setupToOpen;
    if (ClassifyCommandLine(params) == CommandLineRequest::Open) {
        params = OpenParameters(params, startDir);
        if (IsSetupFileToOpen(params)) {
            setupToOpen = params.at(0);
            params.clear();  // an interactive start that shows this setup
        }
    }

    const QString exeDir = ExecutableDir(argc > 0 ? argv[0] : nullptr);
    const QString programDir = ResolveProgramDir(exeDir);
    if (ClassifyCommandLine(params) == CommandLineRequest::Modes)
        params = ResolveCommandLineFiles(params, startDir, programDir);
    InstallShippedData(FindShippedDataDir(exeDir), programDir);
    // A run that ends headless says it on stderr before anything else (its log may be lost too);
    // the window shows it once it is up.
    const std::optional<QString> dirProblem = ProgramDirProblem(programDir);

    if (ClassifyCommandLine(params) == CommandLineRequest::Analysis) {
        if (params.first() == QLatin1String("--summary")) {
            QCoreApplication app(argc, argv);
            return RunAnalysisCommand(params, startDir, programDir, {});
        }
        // No display is needed: the report's chart is drawn offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return RunAnalysisCommand(params, startDir, programDir, WriteAnalysisReport);
    }

    if (ClassifyCommandLine(params) == CommandLineRequest::Archive) {
        QCoreApplication app(argc, argv);
        return RunArchiveCommand(params, startDir, programDir);
    }

    AppRecords records;
    if (IsServiceCommandLine(params)) {
        // Options such as --auto-answer run headless; they take no positional parameters.
        if (dirProblem)
            printLine(*dirProblem, stderr);
        StartUp(records, programDir, {});
        LoadStartupSetup(records, true);
        QCoreApplication app(argc, argv);
        return RunServiceCommandLine(records, params);
    }
    const CommandLineResult parsed = StartUp(records, programDir, params);
    const bool headless = parsed.failed() || records.mode.unattended();
    if (dirProblem && headless)
        printLine(*dirProblem, stderr);
    if (parsed.failed())
        return EndWithLog(parsed.routine, records.programDir, parsed.message, kExitCommandLineError);
    if (!setupToOpen.isEmpty()) {
        records.settings.lastSetupFile = setupToOpen;
        records.mode.openSetup = true;
    }

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
    return runInteractive(records, joinWarnings(dirProblem, setupLoad.warning), FindShippedDataDir(exeDir), argc,
                          argv);
}
