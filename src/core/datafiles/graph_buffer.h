#pragma once
// Display values of a recording held in RawPlanes: at most 2048 engineering
// values per recorded channel for the current window, reduced by
// minimum/maximum decimation so that short peaks stay visible however long
// the recording.

#include "datafiles/dataset.h"

#include <array>

namespace tamble {

inline constexpr int kGraphPoints = 2048;

struct GraphBuffer {
    // One array per position of the channel list (0 = first recorded
    // channel); positions beyond the recorded channels are left unchanged.
    std::array<std::array<float, kGraphPoints>, 4> values{};
    int graphPointCount = 0;   // values filled in each array
    int graphStep = 1;         // readings one point stands for
};

// Fills `buffer` from the window of `data` (readings S .. S+R-1: the zoom
// window, or the whole bank when not zoomed), converting through
// data.scaling, temperatures in degrees Fahrenheit when `fahrenheit` is set.
// As the graph needs it, a window of one reading becomes two equal readings
// (R and the entry after each plane origin change), and when not zoomed the
// entries after each plane's last reading are overwritten with copies of it.
void BuildGraphBuffer(DataSet& data, GraphBuffer& buffer, bool fahrenheit);

} // namespace tamble
