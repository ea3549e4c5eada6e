// The graph window's analysis: the two cursors, the Statistics and Excursions docks, the limits
// drawn in their bands with the excursions shaded, and the report.
#include "ui/graph/graph_window.h"

#include "ui/analysis/analysis_report.h"
#include "ui/graph/limits_dialog.h"
#include "ui/graph/statistics_panel.h"

#include <QAction>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPicture>
#include <cmath>
#include <limits>

namespace tamble {

void GraphWindow::buildAnalysisMenu()
{
    QMenu* analysis = menuBar()->addMenu(QStringLiteral("&Analysis"));
    analysis->setObjectName(QStringLiteral("Analysis"));
    m_actions.push_back(analysis->menuAction());

    m_statistics = new StatisticsPanel(this);
    m_excursions = new ExcursionsPanel(this);
    m_cursorPanel = new CursorReadoutPanel(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_cursorPanel);
    addDockWidget(Qt::BottomDockWidgetArea, m_statistics);
    addDockWidget(Qt::BottomDockWidgetArea, m_excursions);
    m_statistics->hide();
    m_excursions->hide();
    m_cursorPanel->hide();
    connect(m_excursions, &ExcursionsPanel::excursionChosen, this, &GraphWindow::zoomToExcursion);

    QAction* statistics = m_statistics->toggleViewAction();
    statistics->setText(QStringLiteral("&Statistics"));
    statistics->setObjectName(QStringLiteral("Statistics"));
    statistics->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    analysis->addAction(statistics);
    m_actions.push_back(statistics);
    connect(m_statistics, &QDockWidget::visibilityChanged, this, [this](bool on) {
        if (on)
            refreshAnalysis();
    });
    QAction* limits = addCommand(analysis, QStringLiteral("&Limits..."), {}, [this] { openLimits(); });
    QAction* excursions = m_excursions->toggleViewAction();
    excursions->setText(QStringLiteral("&Excursions"));
    excursions->setObjectName(QStringLiteral("Excursions"));
    analysis->addAction(excursions);
    m_actions.push_back(excursions);
    connect(m_excursions, &QDockWidget::visibilityChanged, this, [this](bool on) {
        if (on)
            refreshAnalysis();
    });
    analysis->addSeparator();
    QAction* cursorA = addCommand(analysis, QStringLiteral("Cursor &A Here"), {}, [this] {
        placeCursor(CursorName::A, m_popupTime);
    });
    QAction* cursorB = addCommand(analysis, QStringLiteral("Cursor &B Here"), {}, [this] {
        placeCursor(CursorName::B, m_popupTime);
    });
    QAction* clear = addCommand(analysis, QStringLiteral("&Clear Cursors"), {}, [this] {
        m_doc.cursors().clear();
        cursorsMoved();
    });
    m_alignSinceStart = addToggle(analysis, QStringLiteral("Align by &Time Since Start"), [this](bool on) {
        m_doc.setAlignment(on ? OverlayAlignment::SinceStart : OverlayAlignment::AbsoluteTime);
        m_overlayView.reset();
        if (!m_doc.overlays().empty())
            BuildGraph();
    });
    analysis->addSeparator();
    QAction* report = addCommand(analysis, QStringLiteral("&Report..."), {}, [this] { writeReport(); });
    m_analysisActions = {statistics, limits, excursions, cursorA, cursorB, clear, report};

    m_chart->widget()->setFocusPolicy(Qt::StrongFocus);
    m_chart->widget()->installEventFilter(this);
    m_chart->setModifiedClickHandler([this](double at, Qt::KeyboardModifiers modifiers) {
        placeCursor(modifiers & Qt::ShiftModifier ? CursorName::A : CursorName::B, at);
    });
}

// The window's view: the zoom window of a zoomed file graph, else the whole recording.
std::pair<double, double> GraphWindow::viewSpan() const
{
    if (m_overlayView)
        return *m_overlayView;
    if (m_records.dataSet.zoom.zoomed)
        return {m_doc.zoom().windowStart(), m_doc.zoom().windowEnd()};
    return {-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
}

void GraphWindow::placeCursor(CursorName name, double at)
{
    const RecordingSeries* series = m_liveShown ? nullptr : m_doc.series();
    if (!series || series->channels.empty() || !std::isfinite(at))
        return;
    m_doc.cursors().set(name, at, series->channels.front().time);
    cursorsMoved();
}

void GraphWindow::stepCursor(int readings)
{
    const RecordingSeries* series = m_liveShown ? nullptr : m_doc.series();
    if (!series || series->channels.empty())
        return;
    m_doc.cursors().step(m_doc.cursors().selected(), readings, series->channels.front().time);
    cursorsMoved();
}

// Only the cursor layer is drawn again; the statistics follow a span between two cursors.
void GraphWindow::cursorsMoved()
{
    drawCursors();
    m_chart->widget()->update();
    showCursorReadout();
    if (m_statistics->isVisible() || m_excursions->isVisible())
        refreshAnalysis();
}

// The read-out shows while a cursor stands on the chart.
void GraphWindow::showCursorReadout()
{
    const bool any = !m_liveShown && m_doc.cursors().any() && m_doc.series();
    m_cursorPanel->setReadout(any ? CursorReadoutText(m_doc.visibleSeries(), m_doc.cursors(), m_precision) : QString());
    if (any && isVisible() && !m_cursorPanel->isVisible()) {
        m_cursorPanel->show();
        resizeDocks({m_cursorPanel}, {m_cursorPanel->widget()->sizeHint().width() + 12}, Qt::Horizontal);
    }
    else if (!any)
        m_cursorPanel->hide();
}

void GraphWindow::drawCursors()
{
    std::vector<std::pair<QString, double>> lines;
    GraphCursors& cursors = m_doc.cursors();
    if (!m_liveShown) {
        if (const auto a = cursors.at(CursorName::A))
            lines.emplace_back(QStringLiteral("A"), *a);
        if (const auto b = cursors.at(CursorName::B))
            lines.emplace_back(QStringLiteral("B"), *b);
    }
    m_chart->setCursorLines(lines);
}

// Limits as dashed lines in the bands of their channels, and the view's excursions shaded.
void GraphWindow::drawLimitMarks()
{
    m_chart->clearLimitMarks();
    bool any = false;
    for (const ChannelLimits& l : m_doc.limits())
        any = any || l.any();
    if (m_liveShown || !any || !m_doc.series())
        return;
    const auto [from, to] = viewSpan();
    const Summary whole = m_doc.analysis(from, to, false);
    const DataSet& data = m_records.dataSet;
    for (std::size_t v = 0; v < m_plan.axes.size(); ++v) {
        for (int position : m_plan.axes[v].positions) {
            if (position < 0 || position >= data.channelCount())
                continue;
            const int channel = data.channelList[static_cast<std::size_t>(position)];
            const ChannelLimits& limits = m_doc.limits()[static_cast<std::size_t>(channel - 1)];
            const QColor colour = m_channelColours[static_cast<std::size_t>(channel - 1)];
            std::vector<double> values;
            if (limits.low)
                values.push_back(*limits.low);
            if (limits.high)
                values.push_back(*limits.high);
            m_chart->setLimitLines(static_cast<int>(v), values, colour);
            std::vector<std::pair<double, double>> spans;
            for (const SummaryRow& row : whole.rows)
                if (row.channel == channel)
                    for (const Excursion& e : row.stats.excursions)
                        spans.emplace_back(e.start, e.start + e.durationDays);
            QColor shade = colour;
            shade.setAlpha(40);
            m_chart->setShadedSpans(static_cast<int>(v), spans, shade);
        }
    }
}

void GraphWindow::refreshAnalysis()
{
    const bool file = !m_liveShown && m_doc.hasReadings();
    showCursorReadout();
    for (QAction* a : m_analysisActions)
        a->setEnabled(file || a == m_statistics->toggleViewAction() || a == m_excursions->toggleViewAction());
    if (!m_statistics->isVisible() && !m_excursions->isVisible())
        return;   // read when a dock shows
    if (!file || !m_doc.series()) {
        m_statistics->showTable({}, QString());
        m_excursions->showExcursions({}, {});
        return;
    }
    const auto [viewFrom, viewTo] = viewSpan();
    const Summary summary = m_doc.analysis(viewFrom, viewTo);
    bool limits = false;
    for (const ChannelLimits& l : m_doc.limits())
        limits = limits || l.any();
    const QString span = m_doc.cursors().span()
                             ? QStringLiteral("Between the cursors")
                             : (m_records.dataSet.zoom.zoomed ? QStringLiteral("The zoom window")
                                                              : QStringLiteral("The whole file"));
    m_statistics->showTable(MakeStatisticsTable(summary, m_precision, limits),
                            span + QStringLiteral(": ") + IsoTime(summary.rows.empty() ? summary.from
                                                                                         : summary.rows.front().stats.firstTime)
                                .replace(QLatin1Char('T'), QLatin1Char(' ')) +
                                QStringLiteral(" – ") +
                                IsoTime(summary.rows.empty() ? summary.to : summary.rows.front().stats.lastTime)
                                    .replace(QLatin1Char('T'), QLatin1Char(' ')));
    std::vector<std::pair<double, double>> spans;
    for (const SummaryRow& row : summary.rows)
        for (const Excursion& e : row.stats.excursions)
            spans.emplace_back(e.start, e.start + e.durationDays);
    m_excursions->showExcursions(MakeExcursionTable(summary, m_precision), spans);
}

void GraphWindow::openLimits()
{
    if (m_liveShown || m_records.dataSet.channelCount() == 0)
        return;
    if (!m_limitsDialog) {
        m_limitsDialog = new LimitsDialog(m_messages, this);
        m_limitsDialog->keep = [this](const LimitSet& limits) {
            const QString error = m_doc.setLimits(limits);
            if (error.isEmpty()) {
                drawLimitMarks();
                m_chart->redraw();
                refreshAnalysis();
            }
            return error;
        };
    }
    std::array<QString, 4> labels;
    for (int channel : m_records.dataSet.channelList) {
        const QString label = QString::fromLatin1(m_records.dataSet.channelLabel[static_cast<std::size_t>(channel - 1)]).trimmed();
        labels[static_cast<std::size_t>(channel - 1)] = label.isEmpty() ? QStringLiteral("Channel %1").arg(channel) : label;
    }
    m_limitsDialog->prepare(labels, m_doc.limits());
    m_limitsDialog->open();
}

// An excursion chosen in the list: the graph zoomed to it with a margin of a quarter of its length
// (at least two readings) on each side.
void GraphWindow::zoomToExcursion(double from, double to)
{
    const RecordingSeries* series = m_doc.series();
    const double interval = series ? series->intervalDays : 0;
    const double margin = std::max((to - from) / 4, 2 * interval);
    if (m_records.dataSet.zoom.zoomed)
        UndoZoom();
    ZoomIn(from - margin, to + margin);
}

void GraphWindow::writeReport()
{
    const RecordingSeries* series = m_doc.series();
    if (!series)
        return;
    QString path = chooseReportFile ? chooseReportFile()
                                    : QFileDialog::getSaveFileName(this, QStringLiteral("Report"), m_records.programDir,
                                                                   QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    const auto [from, to] = viewSpan();
    const Summary summary = m_doc.analysis(from, to);
    setBusy(true);
    const QString error = WriteReport(path, {*series}, summary, [this](const QSize& size) {
        QPicture picture;
        m_chart->render(picture, QRect(QPoint(0, 0), size));
        return picture;
    });
    setBusy(false);
    if (!error.isEmpty())
        m_messages.ask({DialogKind::Error, error});
}

bool GraphWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_chart->widget() && event->type() == QEvent::KeyPress && !m_liveShown) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int step = key->modifiers() & Qt::ShiftModifier ? 10 : 1;
        switch (key->key()) {
        case Qt::Key_A:
        case Qt::Key_B: {
            const CursorName name = key->key() == Qt::Key_A ? CursorName::A : CursorName::B;
            m_doc.cursors().select(name);
            if (!m_doc.cursors().at(name)) {   // first use: in the middle of the view
                const ChartRange x = m_chart->xRange();
                placeCursor(name, (x.min + x.max) / 2);
            }
            return true;
        }
        case Qt::Key_Left: stepCursor(-step); return true;
        case Qt::Key_Right: stepCursor(step); return true;
        default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tamble
