#pragma once
// The main window over a program folder of its own (the colour file and the sensor tables copied
// in), COM1 leading where the test says, scripted messages, and a graph window whose file chooser
// answers as if cancelled: no test ever waits on a real file dialog.

#include "ui/app/main_window.h"
#include "ui/graph/graph_window.h"

#include "e2e/support/sim_process.h"
#include "support/scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

namespace tamble::test {

struct MainWindowRig {
    explicit MainWindowRig(const QString& com = QString())
    {
        records.programDir = home.path() + QLatin1Char('/');
        qputenv("TAMBLE_COM1", com.toLocal8Bit());
        home.copyFromSource(QStringLiteral("data/default.gcf"));  // no warning about colours
        for (const QString& table : QDir(QStringLiteral(TAMBLE_SOURCE_DIR "/data")).entryList({QStringLiteral("*.?vt")}))
            home.copyFromSource(QStringLiteral("data/") + table);
        main = std::make_unique<MainWindow>(records, QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
        main->setMessageService(messages);
        main->graph().chooseFile = [] { return QString(); };
        main->show();
    }
    ~MainWindowRig() { qunsetenv("TAMBLE_COM1"); }

    bool waitForMessages(std::size_t count, int ms = 30000)
    {
        return QTest::qWaitFor([&] { return messages.shown.size() >= count; }, ms);
    }
    // A shipped sample copied into the program folder: its path there.
    QString sample(const QString& name)
    {
        const QString target = home.filePath(name);
        QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/") + name, target);
        return target;
    }

    e2e::ProgramHome home;
    AppRecords records;
    ScriptedMessages messages;
    std::unique_ptr<MainWindow> main;
};

} // namespace tamble::test
