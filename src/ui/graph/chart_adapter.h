#pragma once
// The chart of a graph window. This is the only class that touches the plotting
// library: the window speaks subsets, viewports (stacked Y axes), ranges,
// titles and styles in plain values. X values are date-times in days since
// 30 December 1899; a Y value of kNullY (or NaN) is not drawn.

#include <QColor>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPaintDevice;
class QRect;
class QWidget;

namespace tamble {

struct ChartFrameColours {
    QColor text = Qt::black;      // text and scales
    QColor fore = Qt::black;      // grid
    QColor back = Qt::white;      // plot background
    QColor desk = Qt::white;      // border area
};

struct ChartRange {
    bool fixed = false;
    double min = 0;
    double max = 0;
};

class ChartAdapter {
public:
    static constexpr double kNullY = -99999.0;

    explicit ChartAdapter(QWidget* parent);
    ~ChartAdapter();
    ChartAdapter(const ChartAdapter&) = delete;
    ChartAdapter& operator=(const ChartAdapter&) = delete;

    QWidget* widget() const;

    // Layout: one list of subsets per viewport, top to bottom, with optional
    // height shares (equal when empty). Creates the subsets anew, empty.
    void setViewports(const std::vector<std::vector<int>>& subsetsPerViewport,
                      const std::vector<double>& heightShares = {});
    int viewportCount() const;
    int subsetCount() const;

    void setSubsetData(int subset, const std::vector<double>& x, const std::vector<float>& y);
    std::vector<double> subsetY(int subset) const;
    std::vector<double> subsetX(int subset) const;
    void setSubsetLabel(int subset, const QString& label);
    QString subsetLabel(int subset) const;
    void setSubsetColour(int subset, const QColor& colour);
    QColor drawnColour(int subset) const;     // the pen the subset is drawn with now

    void setYAxis(int viewport, const QString& label, const ChartRange& range);
    QString yAxisLabel(int viewport) const;
    ChartRange yRange(int viewport) const;   // the range shown
    void setXAxisLabel(const QString& label);
    QString xAxisLabel() const;
    void setXRange(const ChartRange& range);  // automatic: the data's extent
    ChartRange xRange() const;

    void setTitles(const QString& mainTitle, const QString& subTitle);
    QString mainTitle() const;
    void setFontSize(int textSize);           // 1 small, 2 medium, 3 large
    void setGrid(int grid);                   // 0 none, 1 Y, 2 X, 3 both
    void setGridInFront(bool front);
    void setMarkDataPoints(bool marks);
    void setThickLines(bool thick);
    void setViewingStyle(int colourMode);     // 1 colour, 2 mono, 3 mono + symbols
    void setPrecision(int decimals);
    int precision() const;
    void setColours(const ChartFrameColours& colours);

    // Date-time under an x pixel, and the subsets' values nearest to a date-time.
    double pixelToDateTime(int x) const;
    std::vector<double> valuesAt(double dateTime) const;
    void setMouseMoveHandler(std::function<void(double dateTime, int x, int y)> handler);
    // Horizontal rectangle drawn with the mouse: the handler gets its two ends as
    // date-times (earlier first). No handler: no rectangle.
    void setZoomHandler(std::function<void(double fromDateTime, double toDateTime)> handler);
    // The zoom-out gesture: a double click on the chart.
    void setZoomOutHandler(std::function<void()> handler);
    // A mouse button pressed (true) or released (false) on the chart.
    void setMouseDownHandler(std::function<void(bool down)> handler);

    // Marks over the curves. Cursors are vertical lines across every viewport, named at the top,
    // on a layer of their own that repaints without the curves. Limits are dashed horizontal lines
    // in their viewport; shaded spans (excursions) lie under the curves.
    void setCursorLines(const std::vector<std::pair<QString, double>>& cursors);
    void setLimitLines(int viewport, const std::vector<double>& values, const QColor& colour);
    void setShadedSpans(int viewport, const std::vector<std::pair<double, double>>& spans, const QColor& colour);
    // Removes every limit line and shaded span (cursors stay until set again).
    void clearLimitMarks();
    // A click with Shift or Ctrl held that draws no rectangle: its date-time and the modifiers.
    void setModifiedClickHandler(std::function<void(double dateTime, Qt::KeyboardModifiers modifiers)> handler);

    // Full refresh (restyle from every setting, then draw) and a queued redraw.
    void refresh();
    void redraw();

    bool savePng(const QString& path, int width, int height, double scale = 1.0);
    bool savePdf(const QString& path, int width, int height);
    bool saveSvg(const QString& path, int width, int height);
    bool render(QPaintDevice& device, const QRect& target);   // printing


private:
    void restyle();
    void applyFonts();
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tamble
