#pragma once
// End-to-end test support: start the virtual logger `tamble-sim` on a pseudo-terminal,
// and run the real `tamble-logger` program against it in a throw-away program directory.
//
// Typical use:
//
//     tamble::e2e::SimProcess sim;
//     ASSERT_TRUE(sim.start({"--bits", "10", "--pointer", "1262"})) << sim.errorText();
//     tamble::e2e::ProgramHome home;                 // temporary TAMBLE_HOME
//     home.writeFile("tblog.ini", settingsBytes);    // whatever the test needs
//     auto run = tamble::e2e::RunProgram(home, sim.ptyPath(), {"OUT.TL1", "r"}, 60000);
//     EXPECT_EQ(run.exitCode, 0);
//     EXPECT_THAT(home.readText("TLLOG.TXT"), HasSubstr("Transfer complete: "));
//     EXPECT_EQ(sim.logLines("BLOCK").size(), 20);
//
// Both helpers use only Qt Core (QProcess, QTemporaryDir); no event loop is needed.
//
// The sim's log (logLines), one line per event; "@aa" is the station address that came
// with a framed command ("--" when the revision carries none). Received text is escaped:
// bytes below 0x20, above 0x7E and the backslash as \xHH.
//     START revision=q model=1 bits=12 channels=03 lastbank=A pointer=2432 wrap=0 phase=0 station=0 baud=9600
//     WAKEUP count=500 char=55 speed=1200 protocol=normal      (the burst; fast: no echo)
//     CONFIRM byte=80 speed=9600                               (ConfirmBaud byte / baud letter)
//     ACK 0q                                                   (handshake acknowledgement sent)
//     STATUS @00 C            BLOCK @00 A 0200 [corrupt]       REALTIME @00 Y
//     SETUP @00 1 <body as received, without station and checksum>   (parts 1-4; "K" = part 1)
//     STATION @00 07          BAUD @00 P 19200                 UNKNOWN @00 <body>
//     BADSUM >...  BADFRAME >...  IGNORED @05 C  OVERFLOW n     (no reply)
//     ... " silent" is appended to a command the sim did not answer (--silent-first/-blocks)
//     MODEM ATZ   DIAL ATDT 5551234   ESCAPE   HANGUP [dtr]   CALL 1   (--modem / --call)
//     CALL 7 silent   CALL 8 drop after 3   NOCARRIER   NOISE 41   (--silent-calls, --drop-calls,
//     --corrupt-replies: the position of the flipped byte in the reply)
// Run `tamble-sim --help` for every option (identity, memory, faults, modem).

#include "support/data_lines.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace tamble::e2e {

// Full path of a program built next to the tests (TAMBLE_BIN_DIR).
QString BuiltProgram(const QString& name);

// One running `tamble-sim`. The sim always gets `--log <temp file>` so its record of
// received commands can be read back; the path of its pseudo-terminal is the first line
// it prints. The destructor stops it.
class SimProcess {
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts tamble-sim with the given options and waits (at most timeoutMs) for the
    // pty path. False with errorText() when it could not be started or printed nothing.
    bool start(const QStringList& options = {}, int timeoutMs = 10000);

    // Kills the sim (SIGTERM, then SIGKILL) and waits for it.
    void stop();

    bool running() const;
    QString ptyPath() const { return m_ptyPath; }
    QString logPath() const;
    QString errorText() const { return m_error; }

    // Everything printed on stdout/stderr so far (after the path line).
    QString output();

    // The sim's log, one entry per line. With a prefix, only the lines whose first word
    // is that prefix ("BLOCK", "SETUP", "STATION", "BAUD", "COMMAND", ...).
    QStringList logLines() const;
    QStringList logLines(const QString& firstWord) const;

    // Waits until a log line starting with `firstWord` has appeared `count` times, at most
    // timeoutMs. Used to synchronise with the sim, never to measure time.
    bool waitForLogLine(const QString& firstWord, int count = 1, int timeoutMs = 10000) const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_ptyPath;
    QString m_error;
    QByteArray m_output;
};

// A temporary program directory for one test (TAMBLE_HOME). Removed when destroyed unless
// the environment variable TAMBLE_KEEP_E2E is set (then its path is printed).
class ProgramHome {
public:
    ProgramHome();
    ~ProgramHome();
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;

    bool valid() const;
    QString path() const;
    QString filePath(const QString& name) const;
    bool exists(const QString& name) const;
    bool writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;   // empty when missing
    QString readText(const QString& name) const;      // Latin-1, empty when missing
    // Copies a file of the source tree (relative to TAMBLE_SOURCE_DIR, e.g.
    // "data/default.gcf") into the home under the same file name.
    bool copyFromSource(const QString& relativePath) const;
    QStringList files() const;                       // names of the files in the home

private:
    QTemporaryDir m_dir;
};

struct ProgramRun {
    int exitCode = -1;
    bool crashed = false;       // ended by a signal
    bool timedOut = false;      // killed at the time limit
    bool started = false;
    QString stdoutText;
    QString stderrText;
};

// Runs tamble-logger with TAMBLE_HOME = home, TAMBLE_COM1 = comPath (when not empty),
// QT_QPA_PLATFORM = offscreen, the given arguments and extra environment entries
// ("NAME=value"); waits at most timeLimitMs, then kills it.
ProgramRun RunProgram(const ProgramHome& home, const QString& comPath, const QStringList& arguments,
                      int timeLimitMs = 60000, const QStringList& extraEnvironment = {});

// The lines of a data file after its 17 header lines: what a download took from the
// logger's memory, to compare with another download or the sim's image.
using test::DataLines;

// The same with a program directory given as a path.
ProgramRun RunProgramIn(const QString& homePath, const QString& comPath, const QStringList& arguments,
                        int timeLimitMs = 60000, const QStringList& extraEnvironment = {});

// A program folder for the auto-answer service: a modem on a network, wireless (the setup goes
// back after 2 seconds instead of 36), auto answer on, the file counter at `counter`, and each of
// `setupFiles` a default setup with the description `setupDescription`.
bool PrepareAutoAnswerHome(const ProgramHome& home, const QByteArray& setupDescription,
                           const QStringList& setupFiles = {QStringLiteral("default.set")}, int counter = 0);

// A data file of two linear channels (0-255 counts to 0-255), a reading a minute from 08:00 on
// 2 November 2026: channel 1 climbs a count a minute (wrapping at 256), channel 2 stays at 100.
bool WriteTwoProbeRecording(const QString& path, int readings, const QByteArray& description,
                            const QByteArray& firstLabel = "Probe 1");

} // namespace tamble::e2e
