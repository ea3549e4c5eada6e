#include "ui/graph/graph_window_owner.h"

#include "util/file_write.h"

#include "program/app_records.h"
#include "ui/graph/colour_dialog.h"
#include "ui/graph/export_dialog.h"
#include "ui/graph/graph_window.h"
#include "ui/graph/graphic_size_dialog.h"

#include <QFileDialog>

namespace tamble {

GraphWindowOwner::GraphWindowOwner(AppRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : m_records(records), m_messages(messages), m_help(help), m_parent(parent)
{
}

GraphWindow& GraphWindowOwner::window()
{
    if (!m_graph) {
        m_graph = new GraphWindow(GraphRecordsOf(m_records), m_messages, &m_help, m_parent);
        m_graph->setWindowFlag(Qt::Window);
        wire(*m_graph);
        if (created)
            created(*m_graph);
    }
    return *m_graph;
}

void GraphWindowOwner::loadColoursOnce()
{
    if (std::exchange(m_coloursLoaded, true))
        return;
    m_colours = LoadStartupColours(m_records.settings.colourFile, m_records.programDir, m_messages);
}

// The colours of the colour file, the colour dialog and the export of the graph window.
void GraphWindowOwner::wire(GraphWindow& graph)
{
    loadColoursOnce();
    auto apply = [this, &graph] {
        const ChartColours c = ChartColoursOf(m_colours);
        std::array<QColor, 4> channels;
        for (std::size_t i = 0; i < channels.size(); ++i)
            channels[i] = QColor::fromRgb(c.channel[i]);
        graph.setChannelColours(channels);
        graph.setChartColours({QColor::fromRgb(c.text), QColor::fromRgb(c.grid), QColor::fromRgb(c.background),
                               QColor::fromRgb(c.border)});
    };
    apply();
    auto* colours = new ColourDialog(m_colours, m_records.settings.colourFile, m_records.dataSet,
                                     m_records.programDir, m_messages, m_help, &graph);
    colours->applyColours = [apply, &graph] {
        apply();
        graph.RedrawGraph();
    };
    graph.onColors = [colours] { colours->open(); };

    auto* exportDialog = new ExportDialog({m_records.dataSet, m_records.settings, m_records.programDir}, m_messages, m_help, &graph);
    exportDialog->exportGraphic = [this, &graph] {
        const QString chosen = QFileDialog::getSaveFileName(&graph, QStringLiteral("Export Graphic"),
                                                            m_records.programDir,
                                                            QString::fromLatin1(kGraphicFileFilter));
        if (chosen.isEmpty())
            return;
        const QString path = GraphicFileName(chosen);
        auto* size = new GraphicSizeDialog(GraphicFormatOf(path), graph.chart().widget()->width(),
                                           graph.chart().widget()->height(), &graph);
        size->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(size, &QDialog::accepted, &graph, [this, &graph, size, path] {
            if (!graph.exportPicture(path, size->size()))
                m_messages.ask({DialogKind::Error, UnableToWriteText(path)});
        });
        size->open();
    };
    graph.onExport = [exportDialog] { exportDialog->open(); };
}

void GraphWindowOwner::showDownloaded()
{
    GraphWindow& graph = window();
    graph.clearZoomState();
    graph.setLoadOnShow(true);
    show();
}

void GraphWindowOwner::openFile(const QString& path)
{
    if (window().openDropped(path))
        show();
}

void GraphWindowOwner::openFromMenu()
{
    GraphWindow& graph = window();
    if (!graph.OpenGraphFile())
        return;
    graph.clearZoomState();
    graph.setLoadOnShow(true);
    show();
}

void GraphWindowOwner::show()
{
    GraphWindow& graph = window();
    // A window that would open empty reads its file first; when that fails it asks for another
    // file instead of showing an empty chart, and stays closed when none is chosen.
    if (!graph.isVisible() && !graph.hasRecording() && !m_records.session.realTimeGraph) {
        graph.setLoadOnShow(false);
        if (!graph.LoadGraph() && !graph.hasRecording()) {
            if (!graph.OpenGraphFile())
                return;
            graph.clearZoomState();
            if (!graph.LoadGraph())
                return;
        }
    }
    graph.show();
    graph.raise();
    graph.activateWindow();
    if (graph.isVisible() && graph.loadOnShow()) {   // already showing: load now
        graph.setLoadOnShow(false);
        graph.LoadGraph();
    }
}

} // namespace tamble
