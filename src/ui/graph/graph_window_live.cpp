// The real-time graph in the graph window: the readings of a live session
// plotted against the PC clock, with the chart-only zoom and the hold.
#include "ui/graph/graph_window.h"

#include "program/graph_document.h"

#include <QTimer>

namespace tamble {

void GraphWindow::startRealTime()
{
    m_records.dataFileName.clear();
    m_live.restart();
}

double GraphWindow::now() const
{
    return DateTimeDays(clock ? clock() : QDateTime::currentDateTime());
}

void GraphWindow::AppendRealTimeReading(const QByteArray& line)
{
    if (!m_records.session.realTimeGraph)
        return;
    LoggerInfo& info = m_records.loggerInfo;
    if (m_live.count() == 0)
        m_decoder.prepare(info, m_records.settings, m_records.programDir);
    const auto values = m_decoder.decode(line, info, m_records.settings.fahrenheit);
    if (!values)
        return;   // a reading with a checksum error is not plotted
    if (hideSessionWindow)
        hideSessionWindow();
    const RealTimeAppend added = m_live.append(now(), *values, info.channelFlags);
    if (added.started) {
        InitRealTimeChart();
        show();
        raise();
        return;
    }
    if (added.xRangeChanged)
        m_liveView = m_live.zoomed() ? ChartRange{true, m_live.windowStart(), m_live.windowEnd()}
                                     : ChartRange{true, m_live.xMin(), m_live.xMax()};
    if (added.redraw)
        repaintLive();
}

void GraphWindow::repaintLive()
{
    if (!m_liveRepaint) {
        m_liveRepaint = new QTimer(this);
        m_liveRepaint->setSingleShot(true);
        connect(m_liveRepaint, &QTimer::timeout, this, [this] {
            if (m_liveShown && !m_live.mouseDown() && !m_live.hold() && m_live.windowVisible())
                repaintLive();
        });
    }
    const qint64 since = m_sinceLiveRepaint.isValid() ? m_sinceLiveRepaint.elapsed() : liveRepaintMs;
    if (since < liveRepaintMs) {
        if (!m_liveRepaint->isActive())
            m_liveRepaint->start(static_cast<int>(liveRepaintMs - since));
        return;
    }
    m_liveRepaint->stop();
    m_sinceLiveRepaint.start();
    applyLiveView();
    m_chart->refresh();
}

// The chart of a new live session: a data set made from the last status,
// every channel of its mask visible, the viewports chosen afresh.
void GraphWindow::InitRealTimeChart()
{
    std::vector<int> channels;
    for (int p = 0; p < m_live.channelCount(); ++p)
        channels.push_back(m_live.channelList()[static_cast<std::size_t>(p)]);
    m_doc.startLive(channels);
    m_liveShown = true;
    m_liveView = ChartRange{true, m_live.xMin(), m_live.xMax()};
    prepareViewportsDialog();
    SetUpChart();
    setWindowTitle(GraphCaption(true));
    BuildGraph();
}

// Points, Y ranges and X range of the live chart as they are now.
void GraphWindow::applyLiveView()
{
    FillChartData();
    ApplyViewportAxes();
    m_chart->setXRange(m_liveView);
}

void GraphWindow::liveZoomIn(double zmin, double zmax)
{
    if (m_live.count() == 0 || !(zmax > zmin))
        return;
    const RealTimeZoom zoom = m_live.zoomIn(zmin, zmax, now());
    m_liveView = ChartRange{true, zoom.zoomMin, zoom.zoomMax};
    m_undoZoom->setEnabled(true);
    applyLiveView();
    m_chart->refresh();
}

void GraphWindow::liveUndoZoom()
{
    const RealTimeUndo undo = m_live.undoZoom(now());
    m_liveView = ChartRange{true, undo.xMin, undo.xMax};
    m_undoZoom->setEnabled(false);
    applyLiveView();
    m_chart->refresh();
}

} // namespace tamble
