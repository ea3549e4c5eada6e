#include "ui/graph/chart_adapter.h"
#include "format/day_number.h"
#include "util/file_write.h"

#include <QBuffer>
#include <QPainter>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <qcustomplot.h>
#include <cmath>

namespace tamble {
namespace {

// Days since 30 December 1899 <-> seconds since 1 January 1970 (the axis ticker's unit).
double toKey(double days) { return (days - kUnixEpochDayNumber) * 86400.0; }
double toDays(double key) { return key / 86400.0 + kUnixEpochDayNumber; }

const QCPScatterStyle::ScatterShape kSymbols[] = {QCPScatterStyle::ssCircle, QCPScatterStyle::ssSquare,
                                                  QCPScatterStyle::ssTriangle, QCPScatterStyle::ssDiamond};

} // namespace

struct ChartAdapter::Impl {
    QCustomPlot* plot = nullptr;
    QCPTextElement* title = nullptr;
    QCPLegend* legend = nullptr;
    QCPMarginGroup* margins = nullptr;
    std::vector<QCPAxisRect*> rects;
    std::vector<QCPGraph*> graphs;           // by subset
    std::vector<QColor> subsetColours;
    std::vector<ChartRange> yRanges;
    ChartRange xRange;
    ChartFrameColours colours;
    QString xLabel;
    int textSize = 2, grid = 3, viewingStyle = 1, decimals = 2;
    bool gridInFront = false, marks = false, thick = false;
    std::function<void(double, int, int)> mouseMove;
    std::function<void(double, double)> zoom;
    std::function<void()> zoomOut;
    std::function<void(bool)> mouseDown;
    std::function<void(double, Qt::KeyboardModifiers)> modifiedClick;
    QPointF pressedAt;
    QCPLayer* cursorLayer = nullptr;      // repainted alone when a cursor moves
    QCPLayer* shadeLayer = nullptr;       // under the curves
    std::vector<QCPAbstractItem*> cursorItems;
    QStringList cursorNames;                // of the items drawn, in order
    std::vector<QCPAbstractItem*> limitItems;

    void removeItems(std::vector<QCPAbstractItem*>& items)
    {
        for (QCPAbstractItem* item : items)
            plot->removeItem(item);
        items.clear();
    }
    // A point at a date-time (x) and a fraction of the axis rect's height (y).
    static void place(QCPItemPosition* p, QCPAxisRect* rect, double key, double ratioY)
    {
        p->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        p->setAxisRect(rect);
        p->setTypeX(QCPItemPosition::ptPlotCoords);
        p->setTypeY(QCPItemPosition::ptAxisRectRatio);
        p->setCoords(key, ratioY);
    }
};

ChartAdapter::ChartAdapter(QWidget* parent) : d(std::make_unique<Impl>())
{
    d->plot = new QCustomPlot(parent);
    d->plot->setObjectName(QStringLiteral("ChartControl"));
    d->plot->setAccessibleName(QStringLiteral("Graph"));
    d->plot->setContextMenuPolicy(Qt::CustomContextMenu);
    d->plot->setMouseTracking(true);

    // Rows: title, legend, then the viewports. The legend leaves its inset for a row of its own.
    d->legend = d->plot->legend;
    d->plot->axisRect()->insetLayout()->take(d->legend);
    d->plot->plotLayout()->insertRow(0);
    d->plot->plotLayout()->insertRow(0);
    d->title = new QCPTextElement(d->plot, QString());
    d->plot->plotLayout()->addElement(0, 0, d->title);
    d->plot->plotLayout()->addElement(1, 0, d->legend);
    d->legend->setVisible(true);
    d->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    d->legend->setBorderPen(Qt::NoPen);
    d->margins = new QCPMarginGroup(d->plot);
    d->rects.push_back(d->plot->axisRect());
    d->yRanges.resize(1);
    d->plot->plotLayout()->setRowSpacing(0);

    QObject::connect(d->plot, &QCustomPlot::mouseMove, d->plot, [this](QMouseEvent* event) {
        if (d->mouseMove)
            d->mouseMove(pixelToDateTime(static_cast<int>(event->position().x())),
                         static_cast<int>(event->position().x()), static_cast<int>(event->position().y()));
    });
    QObject::connect(d->plot->selectionRect(), &QCPSelectionRect::accepted, d->plot,
                     [this](const QRect& rect, QInputEvent* event) {
                         if (!d->zoom)
                             return;
                         // Shift or Ctrl with a click places a cursor instead.
                         if (event && (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) &&
                             rect.normalized().width() < 4)
                             return;
                         const QRect r = rect.normalized();
                         d->zoom(pixelToDateTime(r.left()), pixelToDateTime(r.right()));
                     });
    QObject::connect(d->plot, &QCustomPlot::mouseDoubleClick, d->plot, [this](QMouseEvent*) {
        if (d->zoomOut)
            d->zoomOut();
    });
    QObject::connect(d->plot, &QCustomPlot::mousePress, d->plot, [this](QMouseEvent* event) {
        d->pressedAt = event->position();
        if (d->mouseDown)
            d->mouseDown(true);
    });
    QObject::connect(d->plot, &QCustomPlot::mouseRelease, d->plot, [this](QMouseEvent* event) {
        if (d->mouseDown)
            d->mouseDown(false);
        const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        if (d->modifiedClick && mods && (event->position() - d->pressedAt).manhattanLength() < 4)
            d->modifiedClick(pixelToDateTime(static_cast<int>(event->position().x())), mods);
    });
    d->plot->addLayer(QStringLiteral("cursors"), d->plot->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    d->cursorLayer = d->plot->layer(QStringLiteral("cursors"));
    d->cursorLayer->setMode(QCPLayer::lmBuffered);
    d->plot->addLayer(QStringLiteral("shading"), d->plot->layer(QStringLiteral("main")), QCustomPlot::limBelow);
    d->shadeLayer = d->plot->layer(QStringLiteral("shading"));
    setViewports({{0}});
}

ChartAdapter::~ChartAdapter() = default;

QWidget* ChartAdapter::widget() const { return d->plot; }
int ChartAdapter::viewportCount() const { return static_cast<int>(d->rects.size()); }
int ChartAdapter::subsetCount() const { return static_cast<int>(d->graphs.size()); }

void ChartAdapter::setViewports(const std::vector<std::vector<int>>& subsetsPerViewport,
                                const std::vector<double>& heightShares)
{
    // Marks belong to the viewports they stand in.
    d->removeItems(d->cursorItems);
    d->cursorNames.clear();
    d->removeItems(d->limitItems);
    d->plot->clearGraphs();
    d->graphs.clear();
    const int wanted = std::max<int>(1, static_cast<int>(subsetsPerViewport.size()));
    QCPLayoutGrid* layout = d->plot->plotLayout();
    while (static_cast<int>(d->rects.size()) > wanted) {
        layout->remove(d->rects.back());
        d->rects.pop_back();
    }
    layout->simplify();
    while (static_cast<int>(d->rects.size()) < wanted) {
        auto* rect = new QCPAxisRect(d->plot);
        layout->addElement(layout->rowCount(), 0, rect);
        d->rects.push_back(rect);
    }
    d->yRanges.assign(d->rects.size(), ChartRange{});

    int subsets = 0;
    for (const auto& list : subsetsPerViewport)
        for (int s : list)
            subsets = std::max(subsets, s + 1);
    d->graphs.assign(static_cast<std::size_t>(subsets), nullptr);
    d->subsetColours.resize(static_cast<std::size_t>(subsets), Qt::black);

    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("dd MMM\nhh:mm"));
    ticker->setDateTimeSpec(Qt::UTC);
    for (std::size_t v = 0; v < d->rects.size(); ++v) {
        QCPAxisRect* rect = d->rects[v];
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, d->margins);
        rect->axis(QCPAxis::atBottom)->setTicker(ticker);
        rect->axis(QCPAxis::atBottom)->setTickLabels(v + 1 == d->rects.size());
        rect->axis(QCPAxis::atBottom)->setLabel(v + 1 == d->rects.size() ? d->xLabel : QString());
        layout->setRowStretchFactor(static_cast<int>(v) + 2,
                                    v < heightShares.size() && heightShares[v] > 0 ? heightShares[v] : 1.0);
        if (v < subsetsPerViewport.size())
            for (int s : subsetsPerViewport[v])
                d->graphs[static_cast<std::size_t>(s)] =
                    d->plot->addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
    }
    layout->setRowStretchFactor(0, 0.01);
    layout->setRowStretchFactor(1, 0.01);
    for (auto*& g : d->graphs)   // a subset not placed on any viewport goes on the first
        if (!g)
            g = d->plot->addGraph(d->rects.front()->axis(QCPAxis::atBottom), d->rects.front()->axis(QCPAxis::atLeft));
}

void ChartAdapter::setSubsetData(int subset, const std::vector<double>& x, const std::vector<float>& y)
{
    if (subset < 0 || subset >= subsetCount())
        return;
    QVector<double> keys, values;
    const std::size_t n = std::min(x.size(), y.size());
    keys.reserve(static_cast<qsizetype>(n));
    values.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i) {
        keys.push_back(toKey(x[i]));
        values.push_back(y[i] == static_cast<float>(kNullY) ? std::nan("") : static_cast<double>(y[i]));
    }
    d->graphs[static_cast<std::size_t>(subset)]->setData(keys, values, true);
}

std::vector<double> ChartAdapter::subsetY(int subset) const
{
    std::vector<double> out;
    if (subset >= 0 && subset < subsetCount())
        for (const auto& p : *d->graphs[static_cast<std::size_t>(subset)]->data())
            out.push_back(p.value);
    return out;
}

std::vector<double> ChartAdapter::subsetX(int subset) const
{
    std::vector<double> out;
    if (subset >= 0 && subset < subsetCount())
        for (const auto& p : *d->graphs[static_cast<std::size_t>(subset)]->data())
            out.push_back(toDays(p.key));
    return out;
}

void ChartAdapter::setSubsetLabel(int subset, const QString& label)
{
    if (subset >= 0 && subset < subsetCount())
        d->graphs[static_cast<std::size_t>(subset)]->setName(label);
}

QString ChartAdapter::subsetLabel(int subset) const
{
    return subset >= 0 && subset < subsetCount() ? d->graphs[static_cast<std::size_t>(subset)]->name() : QString();
}

QColor ChartAdapter::drawnColour(int subset) const
{
    return subset >= 0 && subset < subsetCount() ? d->graphs[static_cast<std::size_t>(subset)]->pen().color() : QColor();
}

void ChartAdapter::setSubsetColour(int subset, const QColor& colour)
{
    if (subset >= 0 && subset < subsetCount())
        d->subsetColours[static_cast<std::size_t>(subset)] = colour;
}

void ChartAdapter::setYAxis(int viewport, const QString& label, const ChartRange& range)
{
    if (viewport < 0 || viewport >= viewportCount())
        return;
    d->rects[static_cast<std::size_t>(viewport)]->axis(QCPAxis::atLeft)->setLabel(label);
    d->yRanges[static_cast<std::size_t>(viewport)] = range;
}

QString ChartAdapter::yAxisLabel(int viewport) const
{
    return viewport >= 0 && viewport < viewportCount()
               ? d->rects[static_cast<std::size_t>(viewport)]->axis(QCPAxis::atLeft)->label()
               : QString();
}

ChartRange ChartAdapter::yRange(int viewport) const
{
    if (viewport < 0 || viewport >= viewportCount())
        return {};
    const QCPRange r = d->rects[static_cast<std::size_t>(viewport)]->axis(QCPAxis::atLeft)->range();
    return {d->yRanges[static_cast<std::size_t>(viewport)].fixed, r.lower, r.upper};
}

void ChartAdapter::setXAxisLabel(const QString& label)
{
    d->xLabel = label;
    for (std::size_t v = 0; v < d->rects.size(); ++v)
        d->rects[v]->axis(QCPAxis::atBottom)->setLabel(v + 1 == d->rects.size() ? label : QString());
}

QString ChartAdapter::xAxisLabel() const { return d->xLabel; }
void ChartAdapter::setXRange(const ChartRange& range) { d->xRange = range; }

ChartRange ChartAdapter::xRange() const
{
    const QCPRange r = d->rects.front()->axis(QCPAxis::atBottom)->range();
    return {d->xRange.fixed, toDays(r.lower), toDays(r.upper)};
}

void ChartAdapter::setTitles(const QString& mainTitle, const QString& subTitle)
{
    d->title->setText(subTitle.isEmpty() ? mainTitle : mainTitle + QLatin1Char('\n') + subTitle);
}

QString ChartAdapter::mainTitle() const { return d->title->text().section(QLatin1Char('\n'), 0, 0); }
void ChartAdapter::setFontSize(int textSize) { d->textSize = textSize; }
void ChartAdapter::setGrid(int grid) { d->grid = grid; }
void ChartAdapter::setGridInFront(bool front) { d->gridInFront = front; }
void ChartAdapter::setMarkDataPoints(bool marks) { d->marks = marks; }
void ChartAdapter::setThickLines(bool thick) { d->thick = thick; }
void ChartAdapter::setViewingStyle(int colourMode) { d->viewingStyle = colourMode; }
void ChartAdapter::setPrecision(int decimals) { d->decimals = std::clamp(decimals, 0, 3); }
int ChartAdapter::precision() const { return d->decimals; }
void ChartAdapter::setColours(const ChartFrameColours& colours) { d->colours = colours; }

double ChartAdapter::pixelToDateTime(int x) const
{
    return toDays(d->rects.back()->axis(QCPAxis::atBottom)->pixelToCoord(x));
}

std::vector<double> ChartAdapter::valuesAt(double dateTime) const
{
    std::vector<double> out;
    const double key = toKey(dateTime);
    for (QCPGraph* g : d->graphs) {
        auto data = g->data();
        if (data->isEmpty()) {
            out.push_back(std::nan(""));
            continue;
        }
        auto it = data->findBegin(key, false);
        if (it != data->constBegin() && (it == data->constEnd() || std::abs((it - 1)->key - key) < std::abs(it->key - key)))
            --it;
        out.push_back(it->value);
    }
    return out;
}

void ChartAdapter::setMouseMoveHandler(std::function<void(double, int, int)> handler)
{
    d->mouseMove = std::move(handler);
}

void ChartAdapter::setZoomOutHandler(std::function<void()> handler)
{
    d->zoomOut = std::move(handler);
}

void ChartAdapter::setMouseDownHandler(std::function<void(bool)> handler)
{
    d->mouseDown = std::move(handler);
}

void ChartAdapter::setZoomHandler(std::function<void(double, double)> handler)
{
    d->zoom = std::move(handler);
    d->plot->setSelectionRectMode(d->zoom ? QCP::srmCustom : QCP::srmNone);
}

void ChartAdapter::refresh()
{
    restyle();
    for (std::size_t v = 0; v < d->rects.size(); ++v) {
        QCPAxis* y = d->rects[v]->axis(QCPAxis::atLeft);
        const ChartRange& r = d->yRanges[v];
        if (r.fixed) {
            y->setRange(r.min, r.max);
        } else {
            bool any = false;
            for (QCPGraph* g : d->graphs)
                if (g->valueAxis() == y) {
                    g->rescaleValueAxis(any, false);
                    any = true;
                }
            if (any && y->range().size() <= 0)
                y->setRange(y->range().lower - 1, y->range().upper + 1);
        }
        QCPAxis* x = d->rects[v]->axis(QCPAxis::atBottom);
        if (d->xRange.fixed) {
            x->setRange(toKey(d->xRange.min), toKey(d->xRange.max));
        } else {
            bool any = false;
            for (QCPGraph* g : d->graphs) {
                g->rescaleKeyAxis(any);
                any = true;
            }
            if (any)  // every viewport shows the same time span
                for (QCPGraph* g : d->graphs)
                    g->keyAxis()->setRange(d->graphs.front()->keyAxis()->range());
        }
    }
    // Seconds matter on a view of less than an hour (a live chart, a deep zoom).
    const QCPRange shown = d->rects.front()->axis(QCPAxis::atBottom)->range();
    const QString format = shown.size() < 3600 ? QStringLiteral("hh:mm:ss") : QStringLiteral("dd MMM\nhh:mm");
    if (auto ticker = d->rects.front()->axis(QCPAxis::atBottom)->ticker().dynamicCast<QCPAxisTickerDateTime>())
        ticker->setDateTimeFormat(format);
    d->plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartAdapter::redraw()
{
    restyle();
    d->plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartAdapter::applyFonts()
{
    const double points[] = {7.0, 8.0, 10.0};
    const double size = points[std::clamp(d->textSize, 1, 3) - 1] * 1.1;
    QFont label(QStringLiteral("Arial"));
    label.setPointSizeF(size);
    QFont title(QStringLiteral("Times New Roman"));
    title.setPointSizeF(size * 1.4);
    title.setBold(true);
    d->title->setFont(title);
    d->title->setTextColor(d->colours.text);
    d->legend->setFont(label);
    d->legend->setTextColor(d->colours.text);
    d->legend->setBrush(d->colours.desk);
    for (QCPAxisRect* rect : d->rects)
        for (QCPAxis* axis : rect->axes()) {
            axis->setTickLabelFont(label);
            axis->setLabelFont(label);
            axis->setTickLabelColor(d->colours.text);
            axis->setLabelColor(d->colours.text);
            axis->setBasePen(QPen(d->colours.text));
            axis->setTickPen(QPen(d->colours.text));
            axis->setSubTickPen(QPen(d->colours.text));
        }
}

void ChartAdapter::restyle()
{
    applyFonts();
    d->plot->setBackground(d->colours.desk);
    const bool mono = d->viewingStyle == 2 || d->viewingStyle == 3;
    for (QCPAxisRect* rect : d->rects) {
        rect->setBackground(d->colours.back);
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QCPAxis* y = rect->axis(QCPAxis::atLeft);
        const QPen gridPen(d->colours.fore, 0, Qt::DotLine);
        x->grid()->setPen(gridPen);
        y->grid()->setPen(gridPen);
        x->grid()->setVisible(d->grid == 3 || d->grid == 2);
        y->grid()->setVisible(d->grid == 3 || d->grid == 1);
        x->setTickLength(0, 4);
        y->setTickLength(0, 4);
        y->setNumberFormat(QStringLiteral("f"));
        y->setNumberPrecision(d->decimals);
    }
    d->plot->moveLayer(d->plot->layer(QStringLiteral("grid")), d->plot->layer(QStringLiteral("main")),
                       d->gridInFront ? QCustomPlot::limAbove : QCustomPlot::limBelow);
    for (std::size_t s = 0; s < d->graphs.size(); ++s) {
        QCPGraph* g = d->graphs[s];
        QPen pen(mono ? QColor(Qt::black) : d->subsetColours[s]);
        pen.setWidthF(d->thick ? 2.5 : 1.0);
        g->setPen(pen);
        g->setLineStyle(QCPGraph::lsLine);
        if (d->viewingStyle == 3 || d->marks)
            g->setScatterStyle(QCPScatterStyle(kSymbols[s % 4], d->viewingStyle == 3 ? 6.0 : 4.0));
        else
            g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    }
}

namespace {

// A picture is drawn into memory first and written in one go: the named file is replaced only by
// a complete picture.
template <typename Draw>
bool WritePicture(const QString& path, Draw draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && draw(buffer) && WriteFileReplacing(path, bytes);
}

} // namespace

bool ChartAdapter::savePng(const QString& path, int width, int height, double scale)
{
    return WritePicture(path, [&](QBuffer& buffer) {
        const QImage image = d->plot->toPixmap(width, height, scale).toImage();
        return !image.isNull() && image.save(&buffer, "PNG");
    });
}

bool ChartAdapter::savePdf(const QString& path, int width, int height)
{
    return WritePicture(path, [&](QBuffer& buffer) {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        return render(writer, QRect(0, 0, width, height));
    });
}

bool ChartAdapter::saveSvg(const QString& path, int width, int height)
{
    return WritePicture(path, [&](QBuffer& buffer) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(width, height));
        generator.setViewBox(QRect(0, 0, width, height));
        return render(generator, QRect(0, 0, width, height));
    });
}

bool ChartAdapter::render(QPaintDevice& device, const QRect& target)
{
    QCPPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.translate(target.topLeft());
    d->plot->toPainter(&painter, target.width(), target.height());
    return painter.end();
}

void ChartAdapter::setCursorLines(const std::vector<std::pair<QString, double>>& cursors)
{
    // The same cursors moved: their items take the new place, and only their layer is drawn.
    QStringList names;
    for (const auto& c : cursors)
        names << c.first;
    if (names == d->cursorNames && !d->cursorItems.empty()) {
        std::size_t item = 0;
        for (const auto& [name, at] : cursors) {
            const double key = toKey(at);
            for (std::size_t v = 0; v < d->rects.size() && item < d->cursorItems.size(); ++v) {
                if (auto* line = dynamic_cast<QCPItemLine*>(d->cursorItems[item++])) {
                    line->start->setCoords(key, 0);
                    line->end->setCoords(key, 1);
                }
                if (v == 0 && item < d->cursorItems.size())
                    if (auto* label = dynamic_cast<QCPItemText*>(d->cursorItems[item++]))
                        label->position->setCoords(key, 0);
            }
        }
        d->cursorLayer->replot();
        return;
    }
    d->removeItems(d->cursorItems);
    d->cursorNames = names;
    const QPen pen(d->colours.text, 1, Qt::SolidLine);
    for (const auto& [name, at] : cursors) {
        const double key = toKey(at);
        for (std::size_t v = 0; v < d->rects.size(); ++v) {
            QCPAxisRect* rect = d->rects[v];
            auto* line = new QCPItemLine(d->plot);
            line->setLayer(d->cursorLayer);
            line->setClipAxisRect(rect);
            line->setPen(pen);
            Impl::place(line->start, rect, key, 0);
            Impl::place(line->end, rect, key, 1);
            d->cursorItems.push_back(line);
            if (v == 0) {
                auto* label = new QCPItemText(d->plot);
                label->setLayer(d->cursorLayer);
                label->setClipAxisRect(rect);
                label->setText(name);
                label->setColor(d->colours.text);
                label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setPadding(QMargins(3, 1, 3, 1));
                Impl::place(label->position, rect, key, 0);
                d->cursorItems.push_back(label);
            }
        }
    }
    d->cursorLayer->replot();
}

void ChartAdapter::setLimitLines(int viewport, const std::vector<double>& values, const QColor& colour)
{
    if (viewport < 0 || viewport >= viewportCount())
        return;
    QCPAxisRect* rect = d->rects[static_cast<std::size_t>(viewport)];
    for (double value : values) {
        auto* line = new QCPItemStraightLine(d->plot);
        line->setLayer(d->cursorLayer);
        line->setClipAxisRect(rect);
        line->setPen(QPen(colour, 1, Qt::DashLine));
        for (QCPItemPosition* p : {line->point1, line->point2}) {
            p->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            p->setAxisRect(rect);
            p->setTypeX(QCPItemPosition::ptAxisRectRatio);
            p->setTypeY(QCPItemPosition::ptPlotCoords);
        }
        line->point1->setCoords(0, value);
        line->point2->setCoords(1, value);
        d->limitItems.push_back(line);
    }
}

void ChartAdapter::setShadedSpans(int viewport, const std::vector<std::pair<double, double>>& spans,
                                  const QColor& colour)
{
    if (viewport < 0 || viewport >= viewportCount())
        return;
    QCPAxisRect* rect = d->rects[static_cast<std::size_t>(viewport)];
    for (const auto& [from, to] : spans) {
        auto* shade = new QCPItemRect(d->plot);
        shade->setLayer(d->shadeLayer);
        shade->setClipAxisRect(rect);
        shade->setPen(Qt::NoPen);
        shade->setBrush(colour);
        Impl::place(shade->topLeft, rect, toKey(from), 0);
        Impl::place(shade->bottomRight, rect, toKey(to), 1);
        d->limitItems.push_back(shade);
    }
}

void ChartAdapter::clearLimitMarks()
{
    d->removeItems(d->limitItems);
}

void ChartAdapter::setModifiedClickHandler(std::function<void(double, Qt::KeyboardModifiers)> handler)
{
    d->modifiedClick = std::move(handler);
}

} // namespace tamble
