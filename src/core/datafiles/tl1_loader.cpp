#include "datafiles/tl1_loader.h"

#include "conversion/channel_scaling.h"
#include "datafiles/timebase.h"
#include "datafiles/tl1_loader_lines.h"
#include "format/hex.h"
#include "format/memory_layout.h"
#include "format/status_flags.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace tamble {

namespace {

using tl1::LineCursor;
using tl1::LineView;

// Files are read whole; nothing a logger can hold comes near this, and a
// larger file is read up to it (the rest is not data of this format).
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;


QByteArray PadTo(QByteArray text, qsizetype width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// How one bank's lines ended.
enum class BankEnd { BankLine, DataEnd, FileEnd };

// Decodes the banks of the data area into the planes of the DataSet.
class BankDecoder {
public:
    BankDecoder(DataSet& data, LineCursor& lines, const MemoryLayout& geometry)
        : m_data(data), m_lines(lines), m_geo(geometry), m_channels(data.channelCount())
    {
        // Only what was written is ever read back: the buffers need no clearing.
        if (m_geo.resolutionBits != 8)
            m_work = std::make_unique_for_overwrite<std::uint16_t[]>(static_cast<std::size_t>(m_geo.capacity));
    }

    // Decodes the next bank; `readings` is the bank's reading count per
    // channel by the header, `lowBitsByte` the byte that completes the cut
    // group of a wrapped 10/12-bit bank (null: take it from the next bank's
    // first line, or the phase byte when there is none). Returns the readings
    // per channel actually held.
    int decode(int readings, bool dropLast, bool lowBitsFromNextBank, BankEnd& end)
    {
        if (m_geo.resolutionBits == 8)
            return decodeEightBit(readings, dropLast, end);
        int unpacked = m_data.wrapped ? unpackWrapped(lowBitsFromNextBank, end) : unpackLines(end);
        if (dropLast && readings > 1)
            --readings;
        readings = std::min(readings, unpacked / m_channels);
        copyToPlanes(readings);
        return readings;
    }

private:
    // Reads the next line of the bank into `line`; false when the bank ends.
    bool nextDataLine(LineView& line, BankEnd& end)
    {
        for (;;) {
            if (!m_lines.next(line)) {
                end = BankEnd::FileEnd;
                return false;
            }
            if (line.size > 0 && line.data[0] == 'Z') {
                end = m_lines.atEnd() ? BankEnd::FileEnd : BankEnd::BankLine;
                return false;
            }
            if (line.size == 0) {
                if (m_geo.resolutionBits == 8)
                    continue;   // an 8-bit recording skips an empty line
                end = BankEnd::DataEnd;
                return false;
            }
            return true;
        }
    }

    // Bytes of one line, at most one block; an odd last digit is dropped.
    int lineBytes(const LineView& line, std::uint8_t* out, int room) const
    {
        const int n = static_cast<int>(std::min<qsizetype>({line.size / 2, m_geo.blockBytes, room}));
        for (int i = 0; i < n; ++i)
            out[i] = LooseHexByte(line.data + 2 * i);
        return n;
    }

    int decodeEightBit(int readings, bool dropLast, BankEnd& end)
    {
        if (dropLast && readings > 1)
            --readings;
        const int wanted = readings * m_channels;
        std::array<std::uint16_t*, 4> plane{};
        for (int c = 0; c < m_channels; ++c)
            plane[static_cast<std::size_t>(c)] = m_data.rawPlanes.data() + m_data.channelOrigin(c);
        int stored = 0;
        int bankBytes = 0;
        int channel = 0;
        int step = 0;
        LineView line;
        std::array<std::uint8_t, kLargestBlockBytes> block{};
        while (nextDataLine(line, end)) {
            const int n = lineBytes(line, block.data(), m_geo.imageBytes - bankBytes);
            bankBytes += n;
            for (int i = 0; i < n && stored < wanted; ++i, ++stored) {
                plane[static_cast<std::size_t>(channel)][step] = block[static_cast<std::size_t>(i)];
                if (++channel == m_channels) {
                    channel = 0;
                    ++step;
                }
            }
        }
        return std::min(readings, stored / m_channels);
    }

    // A recording that did not wrap: every line holds whole groups.
    int unpackLines(BankEnd& end)
    {
        int count = 0;
        int bankBytes = 0;
        LineView line;
        std::array<std::uint8_t, kLargestBlockBytes> block{};
        while (nextDataLine(line, end)) {
            const int n = lineBytes(line, block.data(), m_geo.imageBytes - bankBytes);
            bankBytes += n;
            const std::uint8_t* b = block.data();
            if (m_geo.resolutionBits == 10) {
                for (int g = 0; g + 5 <= n && count + 4 <= m_geo.capacity; g += 5) {
                    const int low = b[g + 4];
                    for (int k = 0; k < 4; ++k)
                        m_work[static_cast<std::size_t>(count++)] =
                            static_cast<std::uint16_t>(b[g + k] * 4 + ((low >> (2 * k)) & 3));
                }
            } else {
                for (int g = 0; g + 3 <= n && count + 2 <= m_geo.capacity; g += 3) {
                    const int low = b[g + 2];
                    m_work[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(b[g] * 16 + (low & 15));
                    m_work[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(b[g + 1] * 16 + (low >> 4));
                }
            }
        }
        return count;
    }

    // A wrapped recording: the bytes of all lines of the bank are one stream
    // that starts inside a group (phase P) and ends with the P high bytes of
    // the group being filled.
    int unpackWrapped(bool lowBitsFromNextBank, BankEnd& end)
    {
        if (!m_stream)
            m_stream = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(m_geo.imageBytes));
        int n = 0;
        LineView line;
        while (nextDataLine(line, end))
            n += lineBytes(line, m_stream.get() + n, m_geo.imageBytes - n);

        const std::uint8_t* s = m_stream.get();
        const int capacity = m_geo.capacity;
        int count = 0;
        int i = 0;
        if (m_geo.resolutionBits == 10) {
            const int p = m_data.phaseByte & 3;
            if (p > 0 && n >= 5 - p) {
                const int low = s[4 - p];
                for (int q = 0; q < 4 - p; ++q)
                    m_work[static_cast<std::size_t>(count++)] =
                        static_cast<std::uint16_t>(s[q] * 4 + ((low >> (2 * (p + q))) & 3));
                i = 5 - p;
            }
            while (count + 4 <= capacity - p && i + 5 <= n) {
                const int low = s[i + 4];
                for (int k = 0; k < 4; ++k)
                    m_work[static_cast<std::size_t>(count++)] =
                        static_cast<std::uint16_t>(s[i + k] * 4 + ((low >> (2 * k)) & 3));
                i += 5;
            }
            if (p > 0 && count + p == capacity && i + p <= n) {
                const int h = cutGroupLowBits(lowBitsFromNextBank, end, 4 - p);
                for (int q = 0; q < p; ++q)
                    m_work[static_cast<std::size_t>(count++)] =
                        static_cast<std::uint16_t>(s[i + q] * 4 + ((h >> (2 * q)) & 3));
            }
        } else {
            const int p = m_data.phaseByte & 1;
            if (p > 0 && n >= 2) {
                m_work[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(s[0] * 16 + (s[1] >> 4));
                i = 2;
            }
            while (count + 2 <= capacity - p && i + 3 <= n) {
                const int low = s[i + 2];
                m_work[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(s[i] * 16 + (low & 15));
                m_work[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(s[i + 1] * 16 + (low >> 4));
                i += 3;
            }
            if (p > 0 && count + 1 == capacity && i + 1 <= n) {
                const int h = cutGroupLowBits(lowBitsFromNextBank, end, 1);
                m_work[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(s[i] * 16 + (h >> 4));
            }
        }
        return count;
    }

    // The byte that holds the low bits of the cut group: in a multi-bank file
    // the low-bits byte at the start of the next bank's first line (which
    // stays that bank's first line); otherwise the phase byte.
    int cutGroupLowBits(bool fromNextBank, BankEnd end, int byteIndex) const
    {
        LineView next;
        if (fromNextBank && end == BankEnd::BankLine && m_lines.peek(next) && next.size >= 2 * byteIndex + 2)
            return LooseHexByte(next.data + 2 * byteIndex);
        return m_data.phaseByte;
    }

    void copyToPlanes(int readings)
    {
        for (int c = 0; c < m_channels; ++c) {
            std::uint16_t* plane = m_data.rawPlanes.data() + m_data.channelOrigin(c);
            const std::uint16_t* from = m_work.get() + c;
            for (int t = 0; t < readings; ++t, from += m_channels)
                plane[t] = *from;
        }
    }

    DataSet& m_data;
    LineCursor& m_lines;
    MemoryLayout m_geo;
    int m_channels;
    std::unique_ptr<std::uint8_t[]> m_stream;   // one bank's bytes (wrapped 10/12 bit)
    std::unique_ptr<std::uint16_t[]> m_work;    // unpacked readings of one bank (10/12 bit)
};

LoadResult Fail(QString message = {})
{
    return {false, std::move(message)};
}

const LoadResult kGoOn{true, {}};

// The next line cut to `width`; a missing line reads as empty.
QByteArray ReadCut(LineCursor& lines, qsizetype width)
{
    LineView line;
    lines.next(line);
    return line.cut(width);
}

// Identification line by its length: one character (all type codes), four
// (type codes of the older models) or the full line of the download.
// Returns whether the scaling lines 14-17 follow.
bool DecodeIdLine(DataSet& data)
{
    const QByteArray& id = data.idLine;
    data.modelCode = '0';
    data.referenceOhms = 10000;
    data.lastBank = 'A';
    if (id.size() == 1) {
        data.typeCodes.fill(id[0]);
        for (auto& text : data.scalingText)
            text = PadTo(QByteArray(1, id[0]), 12);
        return false;
    }
    if (id.size() <= 4) {
        // Shorter than four: the missing channels are not fitted.
        for (int c = 0; c < 4; ++c) {
            const char code = c < id.size() ? id[c] : '0';
            data.scalingText[static_cast<std::size_t>(c)] = PadTo(QByteArray(1, code), 12);
            data.typeCodes[static_cast<std::size_t>(c)] = (code < 'A' && code != '0') ? '1' : code;
        }
        return false;
    }
    for (int c = 0; c < 4; ++c)
        data.typeCodes[static_cast<std::size_t>(c)] = c + 1 < id.size() ? id[c + 1] : '0';
    switch (id[0]) {
    case 'A': data.referenceOhms = 10000; break;
    case 'B': data.referenceOhms = 30015; break;
    case 'C': data.referenceOhms = 30100; break;
    default: data.referenceOhms = 2000; break;
    }
    if (id.size() >= 7)
        data.modelCode = id[6];
    if (data.modelCode == '6' && id.size() >= 15) {
        // A battery of 10.0 V or more pushes the letter one place right.
        if (id[14] != ' ')
            data.lastBank = id[14];
        else if (id.size() >= 16)
            data.lastBank = id[15];
    }
    return true;
}

// Line 1 to line 9: identification, stamps, description, transfer line,
// labels. A last-reading stamp that is neither a stamp nor a logger clock
// text ends the load.
LoadResult ReadTextLines(DataSet& data, LineCursor& lines, const LoadOptions& options)
{
    data.idLine = ReadCut(lines, 24);
    data.firstStamp = ReadCut(lines, 28);
    data.lastStamp = ReadCut(lines, 28);
    data.description = ReadCut(lines, 31);

    if (data.lastStamp.size() < 15) {
        // An unconverted logger clock text.
        if (!LoggerClockValid(data.lastStamp)) {
            if (options.autoAnswer)
                return Fail();
            return Fail(QStringLiteral("Bad date format ") + data.dataFileName + QLatin1Char(' ')
                        + QString::fromLatin1(data.lastStamp) + QLatin1Char(' ')
                        + QString::number(data.lastStamp.size()));
        }
        data.lastStamp = LoggerClockToStamp(data.lastStamp, ClockStyleFromSetting(options.amPm)).toLatin1();
    }

    const QByteArray line5 = ReadCut(lines, 255);
    if (line5.size() >= 40) {
        data.transferredStamp = line5.left(26);
        data.pcClockText = line5.mid(28, 26);
    } else {
        data.transferredStamp = line5;
        data.pcClockText.clear();
    }
    for (auto& label : data.channelLabel)
        label = ReadCut(lines, 24);
    return kGoOn;
}

// Lines 10 to 13: mode flags, rate code, channel mask, end pointer and (10
// and 12 bit) phase byte. The mode flags give the memory layout.
const MemoryLayout& ReadNumberLines(DataSet& data, LineCursor& lines)
{
    LineView line;
    lines.next(line);
    data.modeFlags = static_cast<std::uint8_t>(tl1::ReadInteger(line) & 0xFF);
    lines.next(line);
    data.rateCode = static_cast<char>(tl1::ReadInteger(line) & 0xFF);
    lines.next(line);
    data.channelMask = static_cast<std::uint8_t>(tl1::ReadInteger(line) & 0xFF);

    for (int c = 0; c < 4; ++c)
        data.labelOffset[static_cast<std::size_t>(c)] = LabelOffsetFromLabel(View(data.channelLabel[static_cast<std::size_t>(c)]));

    const MemoryLayout& layout = LayoutForBits(ResolutionBitsFromModeFlags(data.modeFlags));
    data.resolutionBits = layout.resolutionBits;
    data.fullScaleCount = layout.fullScaleCount;
    data.memoryCapacity = layout.capacity;
    data.wrapped = (data.modeFlags & kStatusWrapped) != 0;

    lines.next(line);
    LineView rest;
    const std::int64_t endPointer = tl1::ReadInteger(line, &rest);
    data.endPointer = static_cast<std::int32_t>(std::clamp<std::int64_t>(endPointer, INT32_MIN, INT32_MAX));
    data.phaseByte = layout.resolutionBits == 8 ? 0 : static_cast<std::uint8_t>(tl1::ReadInteger(rest) & 0xFF);
    return layout;
}

// Lines 14 to 17 of a file with the full identification line.
void ReadScalingLines(DataSet& data, LineCursor& lines)
{
    for (auto& text : data.scalingText)
        text = PadTo(ReadCut(lines, 12), 12);
}

// Channel scaling of every fitted channel; an unusable table ends the load.
LoadResult SetUpScaling(DataSet& data, const LoadOptions& options)
{
    data.scaling = ChannelScaling{};
    data.scaling.fullScaleCount = static_cast<std::uint16_t>(data.fullScaleCount);
    data.scaling.referenceOhms = static_cast<float>(data.referenceOhms);
    data.scaling.labelOffset = data.labelOffset;
    data.scaling.fahrenheit = options.fahrenheit;
    data.scaling.humidityQuantity = options.humidityQuantity;
    data.scaling.tableDirectory = options.programDir;
    data.scaling.tableSource = options.tableSource;

    const QByteArray& id = data.idLine;
    data.inputTypes = id.size() >= 9 ? (id[7] & 63) + 64 * (id[8] & 63) : 0;
    data.scaling.inputTypes = static_cast<std::uint16_t>(data.inputTypes);
    for (int ch = 1; ch <= 4; ++ch) {
        const char code = data.typeCodes[static_cast<std::size_t>(ch - 1)];
        if (code == '0')
            continue;
        data.scaling.tableError = false;
        const ScalingSetUpResult r = SetUpChannelScaling(data.scaling, ch, code, View(data.scalingText[static_cast<std::size_t>(ch - 1)]));
        if (data.scaling.tableError || !r.ok)
            return Fail(r.message);
    }
    FixCountTables(data.scaling);
    return kGoOn;
}

// Header texts to their widths, the channel list and the nominal interval;
// a file without a recorded channel ends the load.
LoadResult SetUpChannels(DataSet& data, const LoadOptions& options)
{
    data.zoom = ZoomState{};
    data.batteryText = data.idLine.size() > 10 ? data.idLine.mid(10, 3) : QByteArray();

    data.description = PadTo(data.description, 31);
    for (auto& label : data.channelLabel) {
        label.replace('\0', ' ');
        label = PadTo(label, 24);
    }

    data.channelList.clear();
    for (int ch = 1; ch <= 4; ++ch)
        if (data.channelMask & (1 << (ch - 1)))
            data.channelList.push_back(ch);
    data.intervalMinutes = RateMinutes(static_cast<unsigned char>(data.rateCode));

    if (data.channelCount() == 0) {
        if (options.autoAnswer)
            return Fail();
        return Fail(QStringLiteral("Bad file format(0): ") + data.dataFileName);
    }

    data.zoom.reachesEnd = true;
    data.spanMinutes = StampSpanMinutes(data.firstStamp, data.lastStamp);
    data.multiBank = data.lastBank > 'A' || (data.wrapped && data.modelCode == kFourBankModelDigit);
    data.presetWaiting = (data.modeFlags & kStatusWaitingPreset) != 0;
    return kGoOn;
}

// Readings per channel of a full bank and of the last bank: a wrapped
// memory is full, one that did not wrap ends at the end pointer.
void CountReadings(DataSet& data, const MemoryLayout& layout)
{
    const int channels = data.channelCount();
    data.fullBankReadings = layout.capacity / channels;
    if (data.wrapped) {
        data.readingsPerChannel = data.fullBankReadings;
        data.lastBankReadings = data.fullBankReadings;
        return;
    }
    std::int64_t bytes = std::int64_t{data.endPointer} - kFirstDataAddress;
    if (bytes < 0 || bytes > kMemoryImageBytes)
        bytes = kMemoryImageBytes;
    const int bits = layout.resolutionBits;
    std::int64_t total = bits == 8 ? bytes : bits == 10 ? (bytes * 4 + 4) / 5 : (bytes * 2 + 2) / 3;
    // A 10-bit end pointer that counts as a full memory would give 25805
    // readings; no more than one memory image exists.
    total = std::min<std::int64_t>(total, layout.capacity);
    data.lastBankReadings = static_cast<int>(total / channels);
    data.readingsPerChannel = data.lastBankReadings;
}

// The approximate rates: the real interval follows from the stamps.
void CorrectApproxInterval(DataSet& data, const MemoryLayout& layout)
{
    if (!(data.intervalMinutes > 0.025 && data.intervalMinutes < 0.125))
        return;
    if (data.wrapped) {
        if (data.modelCode > '4')
            data.intervalMinutes = ApproxRateCorrection(data.intervalMinutes);
        return;
    }
    if (!(data.spanMinutes > 1.0f))
        return;
    if (data.multiBank && data.lastBank >= 'B' && data.lastBank <= 'D') {
        const int k = data.lastBank - 'A';
        data.intervalMinutes = data.spanMinutes
            / (k * static_cast<double>(layout.capacity) / data.channelCount() + data.lastBankReadings);
    } else if (!data.multiBank || data.lastBank == 'A') {
        if (data.lastBankReadings > 0)
            data.intervalMinutes = static_cast<double>(data.spanMinutes) / data.lastBankReadings;
    }
}

// The banks. A wrapped multi-bank recording holds four memory images; one
// that did not wrap ends with its last bank. Further "Z" sections are not
// part of the recording.
LoadResult DecodeBanks(DataSet& data, LineCursor& lines, const MemoryLayout& layout, const LoadOptions& options)
{
    int bankLimit = 1;
    if (data.multiBank) {
        bankLimit = (!data.wrapped && data.lastBank >= 'A' && data.lastBank <= 'D') ? data.lastBank - 'A' + 1
                                                                                     : kFourBankCount;
        data.bankFileName = BankFileNameFor(data.dataFileName);
    }
    // The drop rule: a recording stopped by a detached probe or a power
    // failure, not run until detached, loses its last time step.
    const bool dropLast = (data.channelMask & kChannelStopOnDetach) && !(data.modeFlags & kStatusRunUntilDetached);

    BankDecoder decoder(data, lines, layout);
    char bank = 'A';
    for (int bankIndex = 0; bankIndex < bankLimit; ++bankIndex) {
        int readings = data.fullBankReadings;
        if (!data.wrapped && (!data.multiBank || bank == data.lastBank))
            readings = data.lastBankReadings;
        BankEnd end = BankEnd::FileEnd;
        const bool nextBankFollows = data.multiBank && bankIndex + 1 < bankLimit;
        data.readingsPerChannel = decoder.decode(readings, dropLast, nextBankFollows, end);
        if (data.multiBank && options.bankSink && !options.bankSink->writeBank(data, bankIndex))
            return Fail();
        bank = bank == 'D' ? 'A' : static_cast<char>(bank + 1);
        if (!data.multiBank || end != BankEnd::BankLine)
            break;
    }
    if (data.multiBank) {
        if (options.bankSink)
            options.bankSink->finish(data);
        data.dataFileName = data.bankFileName;
    }
    data.valid = true;
    return kGoOn;
}

} // namespace

LoadResult LoadTl1FromBytes(DataSet& data, const QByteArray& fileBytes, const LoadOptions& options)
{
    data.valid = false;
    data.multiBank = false;
    data.bankFileName.clear();

    LineCursor lines(fileBytes);
    if (LoadResult r = ReadTextLines(data, lines, options); !r.ok)
        return r;
    const MemoryLayout& layout = ReadNumberLines(data, lines);
    if (DecodeIdLine(data))
        ReadScalingLines(data, lines);
    if (LoadResult r = SetUpScaling(data, options); !r.ok)
        return r;
    if (LoadResult r = SetUpChannels(data, options); !r.ok)
        return r;
    CountReadings(data, layout);
    CorrectApproxInterval(data, layout);
    data.modelText = BuildModelText(data.modelCode, data.resolutionBits);
    return DecodeBanks(data, lines, layout, options);
}

LoadResult LoadDataFile(DataSet& data, const LoadOptions& options)
{
    data.valid = false;
    QFile file(data.dataFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        data.dataFileName = options.programDir + QFileInfo(data.dataFileName).fileName();
        file.setFileName(data.dataFileName);
        if (!file.open(QIODevice::ReadOnly))
            return Fail(FileNotFoundText(data.dataFileName));
    }
    if (IsBankFileName(data.dataFileName)) {
        data.multiBank = true;
        data.bankFileName = data.dataFileName;
        data.valid = true;
        return {true, {}};
    }
    // Asking for the whole limit would make the read reserve it first.
    const qint64 size = file.size();
    const QByteArray bytes = file.read(size > 0 ? std::min(size, kMaxFileBytes) : kMaxFileBytes);
    return LoadTl1FromBytes(data, bytes, options);
}

} // namespace tamble
