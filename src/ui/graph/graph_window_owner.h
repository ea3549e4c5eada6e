#pragma once
// The graph window of the main window: made once, on first use, with its colours, colour dialog
// and export, and afterwards only shown and hidden. Showing it reads its file first, or asks for
// one, so that it never opens empty.

#include "graph/colour_scheme.h"

#include <QString>
#include <functional>

class QWidget;

namespace tamble {

struct AppRecords;
class GraphWindow;
class HelpService;
class MessageService;

class GraphWindowOwner {
public:
    GraphWindowOwner(AppRecords& records, MessageService& messages, HelpService& help, QWidget* parent);

    // Called once the window is made, before it is used.
    std::function<void(GraphWindow&)> created;

    GraphWindow& window();
    GraphWindow* existing() const { return m_graph; }
    // The colours of the settings' colour file, read at start-up or when the window is made first.
    void loadColoursOnce();

    void show();
    // File/Graph: choose a file, then show it from its first reading.
    void openFromMenu();
    // A download answered "Graph Data?" with Yes.
    void showDownloaded();
    // A dropped or recent file opened and shown.
    void openFile(const QString& path);

private:
    void wire(GraphWindow& graph);

    AppRecords& m_records;
    MessageService& m_messages;
    HelpService& m_help;
    QWidget* m_parent;
    GraphWindow* m_graph = nullptr;
    ColourScheme m_colours;
    bool m_coloursLoaded = false;
};

} // namespace tamble
