#include "graph/viewports.h"

#include "datafiles/dataset.h"

#include <algorithm>

namespace tamble {

namespace {

bool IsThermistorOrRtd(char code)
{
    return code == 'A' || code == 'B' || code == 'C' || code == 'P';
}

// Every channel in four inputs of type 1 (temperature/RH): 1 | 1<<3 | 1<<6 | 1<<9.
constexpr int kAllTemperatureRh = 585;

const ChannelUnit& UnitOfChannel(const ViewportSource& source, int channel)
{
    static const ChannelUnit kNone;
    return channel >= 1 && channel <= 4 ? source.units[static_cast<std::size_t>(channel - 1)] : kNone;
}

// The split fits when the first V entries are all at least 1 and add up to N.
bool AssignmentFits(int viewports, int visibleCount, const std::array<std::uint8_t, 4>& a)
{
    int sum = 0;
    for (int v = 0; v < viewports; ++v) {
        if (a[static_cast<std::size_t>(v)] < 1)
            return false;
        sum += a[static_cast<std::size_t>(v)];
    }
    return sum == visibleCount;
}

// Label and scale of one band: the unit of its first channel unless another
// differs; a fixed range when every channel names the same range.
void DescribeAxis(ViewportAxis& axis, const ViewportSource& source)
{
    if (axis.positions.empty())
        return;
    const auto unitAt = [&](int position) -> const ChannelUnit& {
        return UnitOfChannel(source, source.channelList[static_cast<std::size_t>(position)]);
    };
    const ChannelUnit& first = unitAt(axis.positions.front());
    bool sameUnit = true;
    bool sameRange = !first.rangeText.isEmpty();
    for (int position : axis.positions) {
        const ChannelUnit& u = unitAt(position);
        sameUnit = sameUnit && u.unit == first.unit;
        sameRange = sameRange && u.rangeText == first.rangeText;
    }
    axis.label = sameUnit ? first.unit : QByteArray();
    if (sameRange && first.rangeMax > first.rangeMin) {
        axis.scale = AxisScale::Fixed;
        axis.min = first.rangeMin;
        axis.max = first.rangeMax;
    } else {
        axis.scale = source.realTime ? AxisScale::Manual : AxisScale::Automatic;
    }
}

} // namespace

int ChannelVisibility::visibleCount() const
{
    int n = 0;
    for (int p = 0; p < std::clamp(channelCount, 0, 4); ++p)
        n += visible[static_cast<std::size_t>(p)] ? 1 : 0;
    return n;
}

void ChannelVisibility::showAll(int channels)
{
    channelCount = std::clamp(channels, 0, 4);
    visible.fill(true);
}

ViewportSource ViewportSourceOf(const DataSet& data, const std::array<ChannelUnit, 4>& units)
{
    ViewportSource source;
    source.channelCount = std::min(data.channelCount(), 4);
    for (int p = 0; p < source.channelCount; ++p)
        source.channelList[static_cast<std::size_t>(p)] = data.channelList[static_cast<std::size_t>(p)];
    source.multiBank = data.multiBank;
    source.typeCodes = data.typeCodes;
    source.inputTypes = data.inputTypes;
    source.units = units;
    return source;
}

std::array<ChannelUnit, 4> DataSetChannelUnits(const DataSet& data, bool fahrenheit, int humidityQuantity)
{
    if (!data.multiBank)
        return DeriveChannelUnits(data.typeCodes, data.inputTypes, data.channelLabel, fahrenheit, humidityQuantity);
    std::array<ChannelUnit, 4> units;
    for (std::size_t i = 0; i < 4; ++i) {
        units[i].unit = data.unitText[i].left(9);
        ApplyLabelUnitAndRange(units[i], data.channelLabel[i]);
    }
    return units;
}

int ChooseViewports(const ViewportSource& source, int visibleCount)
{
    int v = 1;
    const int n = std::clamp(visibleCount, 0, 4);
    for (int p = 0; p < n; ++p) {
        const int c = source.channelList[static_cast<std::size_t>(p)];
        if (source.multiBank) {
            if (!UnitOfChannel(source, c).unit.contains("Deg"))
                v = n;
        } else if (c >= 1 && c <= 4 && !IsThermistorOrRtd(source.typeCodes[static_cast<std::size_t>(c - 1)])) {
            v = n;
        }
    }
    const QByteArray& unit3 = source.units[2].unit;
    const QByteArray& unit4 = source.units[3].unit;
    if (source.multiBank) {
        if (source.channelCount == 4 && unit3 == "% RH" && unit4 == "% RH")
            v = 2;
        if ((unit3 == "Wet B" && unit4 == "Wet B") || (unit3 == "Dew P" && unit4 == "Dew P"))
            v = 2;
    } else if (source.channelCount == 4 && source.inputTypes == kAllTemperatureRh) {
        v = 2;
    }
    return std::max(v, 1);
}

bool DefaultAssignment(int viewports, int visibleCount, std::array<std::uint8_t, 4>& a)
{
    const auto set = [&a](std::initializer_list<int> values) {
        std::size_t i = 0;
        for (int value : values)
            a[i++] = static_cast<std::uint8_t>(value);
        return true;
    };
    switch (viewports) {
    case 1: a[0] = static_cast<std::uint8_t>(std::clamp(visibleCount, 0, 4)); return true;
    case 2:
        if (visibleCount == 2) return set({1, 1});
        if (visibleCount == 3) return set({2, 1});
        if (visibleCount == 4) return set({2, 2});
        return false;
    case 3:
        if (visibleCount == 3) return set({1, 1, 1});
        if (visibleCount == 4) return set({2, 1, 1});
        return false;
    case 4: return set({1, 1, 1, 1});
    default: return false;
    }
}

ViewportPlan PlanViewports(SettingsRecord& settings, const ViewportSource& source,
                           const ChannelVisibility& visibility, bool choose)
{
    ViewportPlan plan;
    const int n = visibility.visibleCount();
    std::array<std::uint8_t, 4> a = settings.viewportAssignment;
    int v = choose ? ChooseViewports(source, n) : settings.viewportMode;
    if (choose)
        DefaultAssignment(v, n, a);
    // Never more bands than channels to put in them, never fewer than one.
    v = std::clamp(v, 1, std::max(n, 1));
    if (v == 1)
        a = {static_cast<std::uint8_t>(n), 0, 0, 0};
    else if (v == 4)
        a = {1, 1, 1, 1};
    if (!AssignmentFits(v, n, a))
        DefaultAssignment(v, n, a);
    settings.viewportMode = static_cast<std::uint8_t>(v);
    settings.viewportAssignment = a;

    plan.viewports = v;
    plan.assignment = a;
    plan.heightShare = 1.0 / v;
    for (int p = 0; p < std::clamp(visibility.channelCount, 0, 4); ++p)
        if (visibility.visible[static_cast<std::size_t>(p)])
            plan.subsets.push_back(p);
    plan.axes.resize(static_cast<std::size_t>(v));
    std::size_t next = 0;
    for (int band = 0; band < v; ++band) {
        ViewportAxis& axis = plan.axes[static_cast<std::size_t>(band)];
        for (int k = 0; k < a[static_cast<std::size_t>(band)] && next < plan.subsets.size(); ++k)
            axis.positions.push_back(plan.subsets[next++]);
        DescribeAxis(axis, source);
    }
    return plan;
}

} // namespace tamble
