// Overlays in the graph window: more data files drawn on the loaded file's time axis, each file's
// channels in their own colours and named "file: label". With overlays every curve is drawn from
// the full-resolution readings of the view, and zooming narrows the view of all files alike.
#include "ui/graph/graph_window.h"

#include "util/file_write.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <limits>

namespace tamble {

QColor OverlayColour(const QColor& channel, int file)
{
    if (file == 0)
        return channel;
    const int hue = channel.hsvHue() < 0 ? 0 : channel.hsvHue();
    return QColor::fromHsv((hue + 70 * file) % 360, std::max(channel.hsvSaturation(), 160),
                           std::clamp(channel.value() - 30 * file, 90, 255));
}

// Each overlay channel goes into the band of a loaded channel with its unit, else into the band of
// the same channel number, else into the last band.
void GraphWindow::placeOverlaySubsets(std::vector<std::vector<int>>& subsets, int firstSubset)
{
    m_overlaySubsets.clear();
    if (m_liveShown || subsets.empty())
        return;
    const DataSet& data = m_records.dataSet;
    const std::array<ChannelUnit, 4> units = m_doc.channelUnits();
    int k = firstSubset;
    for (int f = 0; f < static_cast<int>(m_doc.overlays().size()); ++f) {
        const RecordingSeries& overlay = m_doc.overlays()[static_cast<std::size_t>(f)];
        for (int s = 0; s < static_cast<int>(overlay.channels.size()); ++s) {
            const ChannelSeries& c = overlay.channels[static_cast<std::size_t>(s)];
            std::size_t band = subsets.size() - 1;
            bool byUnit = false;
            for (std::size_t v = 0; v < m_plan.axes.size() && !byUnit; ++v)
                for (int position : m_plan.axes[v].positions) {
                    if (position < 0 || position >= data.channelCount())
                        continue;
                    const int channel = data.channelList[static_cast<std::size_t>(position)];
                    if (QString::fromLatin1(units[static_cast<std::size_t>(channel - 1)].unit).trimmed() == c.unit) {
                        band = v;
                        byUnit = true;
                        break;
                    }
                    if (channel == c.channel)
                        band = v;
                }
            subsets[std::min(band, subsets.size() - 1)].push_back(k);
            m_overlaySubsets.push_back({f, c.channel, s, k++});
        }
    }
}

void GraphWindow::fillOverlayData()
{
    const RecordingSeries* first = m_doc.series();
    if (!first)
        return;
    const double from = m_overlayView ? m_overlayView->first : -std::numeric_limits<double>::infinity();
    const double to = m_overlayView ? m_overlayView->second : std::numeric_limits<double>::infinity();
    const QString firstName = QFileInfo(first->file).fileName();
    std::vector<double> x, y;
    const auto put = [&](int subset) {
        std::vector<float> values(y.size());
        for (std::size_t i = 0; i < y.size(); ++i)
            values[i] = std::isnan(y[i]) ? static_cast<float>(ChartAdapter::kNullY) : static_cast<float>(y[i]);
        m_chart->setSubsetData(subset, x, values);
    };
    // The loaded file's curves from its readings too, so that every file shows the same detail.
    for (int k = 0; k < static_cast<int>(m_plan.subsets.size()) && k < m_chart->subsetCount(); ++k) {
        const int position = m_plan.subsets[static_cast<std::size_t>(k)];
        if (position < 0 || position >= static_cast<int>(first->channels.size()))
            continue;
        const ChannelSeries& c = first->channels[static_cast<std::size_t>(position)];
        DecimatedPoints(c, 0, from, to, kGraphPoints, x, y);
        put(k);
        m_chart->setSubsetLabel(k, firstName + QStringLiteral(": ") + m_chart->subsetLabel(k));
    }
    for (const OverlaySubset& o : m_overlaySubsets) {
        const RecordingSeries& overlay = m_doc.overlays()[static_cast<std::size_t>(o.file)];
        const ChannelSeries& c = overlay.channels[static_cast<std::size_t>(o.series)];
        DecimatedPoints(c, m_doc.overlayShift(o.file), from, to, kGraphPoints, x, y);
        put(o.subset);
        m_chart->setSubsetLabel(o.subset, QFileInfo(overlay.file).fileName() + QStringLiteral(": ") + c.label);
    }
}

void GraphWindow::addOverlayFile()
{
    if (m_liveShown || !m_doc.hasReadings())
        return;
    const QString path = chooseOverlayFile ? chooseOverlayFile()
                                           : QFileDialog::getOpenFileName(this, QStringLiteral("Add File"),
                                                                          m_records.programDir, GraphFileFilter());
    if (path.isEmpty())
        return;
    setBusy(true);
    const bool added = m_doc.addOverlay(path);
    setBusy(false);
    if (!added)
        return;   // the message is shown; the graph stays as it was
    // With overlays the view is one range over every file.
    if (m_records.dataSet.zoom.zoomed) {
        m_doc.undoZoom();
    }
    overlaysChanged();
}

void GraphWindow::removeOverlayFile(int index)
{
    m_doc.removeOverlay(index);
    if (m_doc.overlays().empty()) {
        m_overlayView.reset();
        m_doc.refill();
    }
    overlaysChanged();
}

void GraphWindow::overlaysChanged()
{
    m_removeFileMenu->clear();
    for (int i = 0; i < static_cast<int>(m_doc.overlays().size()); ++i) {
        QAction* a = m_removeFileMenu->addAction(QFileInfo(m_doc.overlays()[static_cast<std::size_t>(i)].file).fileName());
        connect(a, &QAction::triggered, this, [this, i] { removeOverlayFile(i); });
    }
    m_removeFileMenu->menuAction()->setEnabled(!m_doc.overlays().empty());
    BuildGraph();
}

// The export of an overlay: one time column and one column per file and channel.
void GraphWindow::exportOverlay()
{
    const QString path = chooseOverlayExport ? chooseOverlayExport()
                                             : QFileDialog::getSaveFileName(this, QStringLiteral("Export"),
                                                                            m_records.programDir,
                                                                            QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (!WriteFileReplacing(path, OverlayCsv(m_doc.allSeries(), m_doc.allShifts())))
        m_messages.ask({DialogKind::Error, UnableToWriteText(path)});
}

} // namespace tamble
