#pragma once
// The current recording: header texts and numbers of a data file, its channel
// list and interval, and the raw readings in per-channel planes. One value,
// owned by AppRecords and replaced by every load; the graph, the export and
// the setup import read it.

#include "conversion/channel_scaling.h"
#include "format/memory_layout.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tamble {

// Raw readings of one memory image, each recorded channel in its own plane.
// Reading i of the n-th recorded channel (n from 0) is entry origin(n, C) + i.
// The origins leave room for a full memory of any resolution (the 8-bit
// capacity shared among the channels) plus the copies of the last reading
// that the graph and the export pad behind it.
class RawPlanes {
public:
    static constexpr int kEntries = 32751;   // 65,502 bytes

    RawPlanes() : m_entries(kEntries, 0) {}

    // Origin of the plane of the n-th recorded channel (n from 0) when C
    // channels are recorded; 0 for anything outside 1..4 channels.
    static int origin(int position, int channelCount)
    {
        if (position < 0 || position >= channelCount)
            return 0;
        switch (channelCount) {
        case 2: return position * 16384;
        case 3: return position == 0 ? 0 : position == 1 ? 10922 : 21844;
        case 4: return position * 8192;
        default: return 0;
        }
    }

    // Largest number of readings one plane holds when C channels are recorded.
    static int planeCapacity(int channelCount)
    {
        return channelCount >= 1 && channelCount <= 4 ? kEightBitLayout.capacity / channelCount : 0;
    }

    std::uint16_t* data() { return m_entries.data(); }
    const std::uint16_t* data() const { return m_entries.data(); }
    int size() const { return kEntries; }
    std::uint16_t& operator[](int i) { return m_entries[static_cast<std::size_t>(i)]; }
    std::uint16_t operator[](int i) const { return m_entries[static_cast<std::size_t>(i)]; }

    // Entries from the plane origin of position n to the end of the buffer
    // (the plane itself plus whatever follows it).
    std::span<std::uint16_t> from(int position, int channelCount)
    {
        const int o = origin(position, channelCount);
        return {m_entries.data() + o, static_cast<std::size_t>(kEntries - o)};
    }
    std::span<const std::uint16_t> from(int position, int channelCount) const
    {
        const int o = origin(position, channelCount);
        return {m_entries.data() + o, static_cast<std::size_t>(kEntries - o)};
    }

private:
    std::vector<std::uint16_t> m_entries;
};

// Zoom window over the recording; reset by every load, moved by the graph's
// zoom and time navigation.
struct ZoomState {
    int firstReading = 0;       // S: first reading shown
    int readingCount = 0;       // R when zoomed (0 = whole recording)
    bool zoomed = false;
    bool reachesEnd = true;     // the window ends with the last reading
    QByteArray startStamp;      // file time stamps of the window's ends
    QByteArray endStamp;
};

struct DataSet {
    QString dataFileName;       // full path; after a multi-bank load, the .TL2 path
    QString bankFileName;       // .TL2 file holding a multi-bank recording

    // Header texts, as read (cut to their field widths).
    QByteArray idLine;          // line 1, at most 24 characters
    QByteArray firstStamp;      // line 2, file time stamp of the first reading
    QByteArray lastStamp;       // line 3
    QByteArray description;     // line 4, blank-padded to 31
    QByteArray transferredStamp; // line 5, characters 1-26 (all of a short line)
    QByteArray pcClockText;     // line 5, characters 29-54
    std::array<QByteArray, 4> channelLabel;  // lines 6-9, blank-padded to 24
    std::array<QByteArray, 4> scalingText;   // lines 14-17 or built, 12 characters
    QByteArray batteryText;     // identification line positions 11-13

    // Header numbers (low byte of what the file holds).
    std::uint8_t modeFlags = 0;
    char rateCode = 0;
    std::uint8_t channelMask = 0;
    std::int32_t endPointer = 0;
    std::uint8_t phaseByte = 0;

    // Of the resolution's MemoryLayout.
    int resolutionBits = kEightBitLayout.resolutionBits;
    int fullScaleCount = kEightBitLayout.fullScaleCount;
    int memoryCapacity = kEightBitLayout.capacity;   // readings per memory image

    // From the identification line.
    std::int32_t referenceOhms = 10000;
    std::array<char, 4> typeCodes{'0', '0', '0', '0'}; // '0' = channel not fitted
    char modelCode = '0';
    int inputTypes = 0;         // 3 bits per channel, channel 1 in bits 0-2
    char lastBank = 'A';
    QByteArray modelText;       // e.g. "LX900-M 12 bit" (up to 16 characters)

    bool wrapped = false;
    bool multiBank = false;
    bool presetWaiting = false;
    bool valid = false;         // false after a failed load: do not show or export

    std::vector<int> channelList; // recorded channel numbers 1..4, ascending
    std::array<float, 4> labelOffset{0, 0, 0, 0};
    // Unit texts of channels 1-4 as the column headings of a .TL2 file name
    // them (a multi-bank recording read back by the CSV reader).
    std::array<QByteArray, 4> unitText;
    // Lines the CSV reader expects in a .TL2 file (its total for the zoom).
    int totalLines = 0;

    double intervalMinutes = 60;
    float spanMinutes = 0;      // from firstStamp to lastStamp

    int readingsPerChannel = 0; // in the bank last decoded
    int fullBankReadings = 0;
    int lastBankReadings = 0;

    RawPlanes rawPlanes;
    ZoomState zoom;
    // Conversion of this recording's channels, set up by the load; the
    // graph and the export convert through it (set fahrenheit and
    // humidityQuantity from the settings before converting).
    ChannelScaling scaling;

    // C, the interleave factor of the data.
    int channelCount() const { return static_cast<int>(channelList.size()); }
    // Origin in rawPlanes of the n-th recorded channel (n from 0).
    int channelOrigin(int position) const { return RawPlanes::origin(position, channelCount()); }
    // Reading i of the n-th recorded channel; 0 outside the buffer.
    std::uint16_t reading(int position, int i) const
    {
        const int at = channelOrigin(position) + i;
        return i >= 0 && at < RawPlanes::kEntries ? rawPlanes[at] : 0;
    }
    bool channelRecorded(int channel) const { return channel >= 1 && channel <= 4 && (channelMask >> (channel - 1)) & 1; }
    int inputType(int channel) const { return channel >= 1 && channel <= 4 ? (inputTypes >> (3 * (channel - 1))) & 7 : 0; }
};

// "LX500", "LX900     12 bit", "LX900-M 8 bit", "LX53" + code ...
QByteArray BuildModelText(char modelCode, int resolutionBits);

// "File: <path> not found": a data file (.TL1 or .TL2) that cannot be read.
inline QString FileNotFoundText(const QString& path)
{
    return QStringLiteral("File: ") + path + QStringLiteral(" not found");
}

} // namespace tamble
