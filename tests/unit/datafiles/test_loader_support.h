#pragma once
// Recordings for the loader tests: headers, readings and a bank sink that
// keeps what it is handed.

#include "datafiles/dataset.h"
#include "datafiles/tl1_loader.h"
#include "writer/tl1_writer.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace tamble::testing {

inline int ChannelsIn(int mask)
{
    return ((mask >> 0) & 1) + ((mask >> 1) & 1) + ((mask >> 2) & 1) + ((mask >> 3) & 1);
}

// A header as a download of a logger with linear channels writes it.
inline Tl1Header TestHeader(int bits, int channelMask, char model = '1')
{
    Tl1Header h;
    h.referenceCode = 'A';
    for (int c = 0; c < 4; ++c) {
        const bool on = (channelMask >> c) & 1;
        h.typeCodes[static_cast<std::size_t>(c)] = on ? '3' : '0';
        h.scalingTexts[static_cast<std::size_t>(c)] = on ? "0.0000100.00" : "            ";
        h.labels[static_cast<std::size_t>(c)] = QByteArray("Channel ") + char('1' + c);
    }
    h.revision = 'q';
    h.modelDigit = model;
    h.resolutionBits = bits;
    h.batteryVolts = 3.6f;
    h.firstStamp = "Thu  5-Mar-1998  9:07:03";
    h.lastStamp = "Thu  5-Mar-1998 19:07:03";
    h.description = "Greenhouse bench 3";
    h.clockStamp = "Fri  6-Mar-1998 08:00:00";
    h.pcClockText = "06/03/1998 08:00:05";
    h.amPm = false;
    h.statusByte1 = 0x02;
    h.rateCode = 'G';
    h.channelFlags = channelMask;
    return h;
}

// Deterministic readings over the whole count range, all low bits used.
inline std::vector<std::uint16_t> TestReadings(std::size_t count, int bits, unsigned seed = 1)
{
    const unsigned top = bits == 8 ? 255 : bits == 10 ? 1023 : 4095;
    std::vector<std::uint16_t> r(count);
    unsigned x = seed * 2654435761u + 12345u;
    for (std::size_t i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        r[i] = static_cast<std::uint16_t>((x >> 8) % (top + 1));
    }
    return r;
}

// The readings a load gives back for `written` readings laid down by the
// writer: what the memory image cannot carry is replaced by what the loader
// finds in its place. `sections` is the number of memory images of a wrapped
// recording.
inline std::vector<std::uint16_t> ReadingsAsLoaded(std::vector<std::uint16_t> expected, int bits, bool wrapped,
                                                   int phase, int sections)
{
    const std::size_t total = expected.size();
    const std::size_t capacity = static_cast<std::size_t>(MemoryCapacityFor(bits));
    // In a wrapped 10-bit memory the low bit pair of the reading P from the
    // end is also the phase P (both live in the phase byte).
    if (wrapped && bits == 10 && phase > 0 && total >= static_cast<std::size_t>(phase))
        expected[total - phase] = static_cast<std::uint16_t>((expected[total - phase] & ~3) | phase);
    // A cut 12-bit group at a bank boundary: the last reading of the bank
    // takes the high nibble of the low-nibbles byte that opens the next bank,
    // which holds the low nibble of that bank's first reading.
    if (wrapped && bits == 12 && phase == 1)
        for (int b = 1; b < sections; ++b) {
            const std::size_t first = static_cast<std::size_t>(b) * capacity;
            expected[first - 1] = static_cast<std::uint16_t>((expected[first - 1] & ~15) | (expected[first] & 15));
        }
    // In a recording that did not wrap, a last incomplete group has only its
    // high bytes in memory; its low bits read as the zero bytes behind it.
    if (!wrapped && bits != 8 && total > 0) {
        const std::size_t group = bits == 10 ? 4 : 2;
        const std::size_t inLastBank = total - (total - 1) / capacity * capacity;
        for (std::size_t i = total - inLastBank % group; i < total; ++i)
            expected[i] = static_cast<std::uint16_t>(expected[i] & (bits == 10 ? ~3 : ~15));
    }
    return expected;
}

// Keeps a copy of every bank handed over: readings per channel position.
class KeepingBankSink : public BankSink {
public:
    struct Bank {
        int readingsPerChannel = 0;
        std::vector<std::vector<std::uint16_t>> planes;
    };
    std::vector<Bank> banks;
    int finished = 0;

    bool writeBank(const DataSet& data, int bankIndex) override
    {
        Bank b;
        b.readingsPerChannel = data.readingsPerChannel;
        for (int p = 0; p < data.channelCount(); ++p) {
            std::vector<std::uint16_t> plane;
            for (int i = 0; i < data.readingsPerChannel; ++i)
                plane.push_back(data.reading(p, i));
            b.planes.push_back(plane);
        }
        if (bankIndex != static_cast<int>(banks.size()))
            return false;
        banks.push_back(b);
        return true;
    }
    void finish(const DataSet&) override { ++finished; }
};

inline LoadResult LoadBytes(DataSet& data, const QByteArray& bytes, BankSink* sink = nullptr,
                            QString name = QStringLiteral("/tmp/test.TL1"))
{
    LoadOptions options;
    options.amPm = false;
    options.bankSink = sink;
    data.dataFileName = name;
    return LoadTl1FromBytes(data, bytes, options);
}

// Plane p of the readings of one bank (interleaved by channel).
inline std::vector<std::uint16_t> Plane(const std::vector<std::uint16_t>& interleaved, int channels, int position,
                                        std::size_t first, std::size_t perChannel)
{
    std::vector<std::uint16_t> out;
    for (std::size_t t = 0; t < perChannel; ++t)
        out.push_back(interleaved[first + t * static_cast<std::size_t>(channels) + static_cast<std::size_t>(position)]);
    return out;
}

inline std::vector<std::uint16_t> LoadedPlane(const DataSet& data, int position)
{
    std::vector<std::uint16_t> out;
    for (int i = 0; i < data.readingsPerChannel; ++i)
        out.push_back(data.reading(position, i));
    return out;
}

} // namespace tamble::testing
