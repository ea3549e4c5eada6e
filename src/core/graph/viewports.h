#pragma once
// Viewports: the chart stacks the visible channels in one to four bands of
// equal height, each with its own Y axis. Channels of one kind share a band;
// the user may change the count and the split (the viewports dialog) and hide
// channels. The count and the split live in the settings record (viewport
// mode and viewport assignment); the visible flags are the graph window's.

#include "conversion/channel_units.h"
#include "settings/settings_record.h"

#include <QByteArray>
#include <array>
#include <vector>

namespace tamble {

struct DataSet;

// Which display positions (0 = first recorded channel) are shown.
struct ChannelVisibility {
    int channelCount = 0;                  // C, 0..4
    std::array<bool, 4> visible{true, true, true, true};

    int visibleCount() const;              // N
    void showAll(int channels);            // every position of C visible
};

// What the viewport choice looks at in the recording.
struct ViewportSource {
    std::array<int, 4> channelList{};      // channel number 1..4 by display position
    int channelCount = 0;                  // C
    bool multiBank = false;
    bool realTime = false;
    std::array<char, 4> typeCodes{'0', '0', '0', '0'};   // by channel 1..4
    int inputTypes = 0;
    std::array<ChannelUnit, 4> units;      // by channel 1..4
};

// The source of a loaded recording; units from DataSetChannelUnits.
ViewportSource ViewportSourceOf(const DataSet& data, const std::array<ChannelUnit, 4>& units);

// Units and fixed ranges of channels 1-4: a single-bank recording by scaling
// code, a multi-bank one by the unit texts of its .TL2 columns; then the
// label's "~min,max" and ";unit" parts.
std::array<ChannelUnit, 4> DataSetChannelUnits(const DataSet& data, bool fahrenheit, int humidityQuantity);

// Default count for a newly built graph with N visible channels: one band
// for thermistor and RTD temperatures, one per channel for anything else,
// two for the temperature/humidity recordings.
int ChooseViewports(const ViewportSource& source, int visibleCount);

// Default split of N visible channels over V bands. Returns false (and
// leaves `a` as it is) for a combination without a default.
bool DefaultAssignment(int viewports, int visibleCount, std::array<std::uint8_t, 4>& a);

enum class AxisScale { Automatic, Fixed, Manual };

struct ViewportAxis {
    std::vector<int> positions;            // display positions shown in this band, in order
    QByteArray label;                      // empty when its channels' units differ
    AxisScale scale = AxisScale::Automatic;
    double min = 0;                        // for Fixed
    double max = 0;
};

struct ViewportPlan {
    int viewports = 1;                     // V
    std::array<std::uint8_t, 4> assignment{};
    std::vector<int> subsets;              // display positions of the subsets, in order
    std::vector<ViewportAxis> axes;        // V entries, top to bottom
    double heightShare = 1;                // each band's share of the height
};

// The layout of the chart. With `choose` (an unzoomed build) the default
// count and split are chosen first and stored in the settings; otherwise the
// settings' count and split are used. A count or split that does not fit the
// visible channels falls back to the default for them (stored as well).
ViewportPlan PlanViewports(SettingsRecord& settings, const ViewportSource& source,
                           const ChannelVisibility& visibility, bool choose);

} // namespace tamble
