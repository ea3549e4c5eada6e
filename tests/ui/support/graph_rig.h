#pragma once
// A graph window over a program folder holding the sensor tables, with
// scripted messages: the shipped samples are copied in and opened by name.

#include "ui/graph/graph_window.h"

#include "e2e/support/sim_process.h"
#include "program/app_records.h"
#include "support/scripted_messages.h"

#include <QDir>
#include <QFile>
#include <memory>
#include <string>

namespace tamble::test {

struct Graph {
    Graph()
    {
        records.programDir = home.path() + QLatin1Char('/');
        for (const QString& table : QDir(QStringLiteral(TAMBLE_SOURCE_DIR "/data")).entryList({QStringLiteral("*.?vt")}))
            home.copyFromSource(QStringLiteral("data/") + table);
        records.settings.fahrenheit = false;
        records.settings.markDataPoints = false;
        window = std::make_unique<GraphWindow>(GraphRecordsOf(records), messages, &help);
        window->setLoadOnShow(false);
    }
    // A shipped sample copied into the program folder: its path there.
    QString sample(const QString& name)
    {
        const QString target = home.filePath(name);
        QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/") + name, target);
        return target;
    }
    bool open(const QString& path)
    {
        return window->openChosenFile(path) && (window->clearZoomState(), window->LoadGraph());
    }
    bool openSample(const QString& name) { return open(sample(name)); }
    std::string said() const
    {
        std::string out;
        for (const auto& m : messages.shown)
            out += m.text.toStdString() + " | ";
        return out;
    }

    e2e::ProgramHome home;
    AppRecords records;
    ScriptedMessages messages;
    RecordingHelp help;
    std::unique_ptr<GraphWindow> window;
};

} // namespace tamble::test
