#pragma once
// The data files the benchmarks read: `steps` readings per channel of thermistor channels from
// `first` at `rateCode`, a slow wave with a little noise.

#include "datafiles/timebase.h"
#include "writer/tl1_writer.h"

#include <QByteArray>
#include <QString>
#include <cmath>

namespace tamble {

inline QString WriteBenchRecording(const QString& path, char model, int channels, int steps, char rateCode = 'G',
                                   const QByteArray& description = "Benchmark",
                                   const QByteArray& first = "Sun  1-Mar-1998  0:00:00")
{
    RecordingPlan plan;
    Tl1Header& h = plan.header;
    h.modelDigit = model;
    h.resolutionBits = 8;
    h.rateCode = rateCode;
    h.firstStamp = first;
    h.lastStamp = AddMinutes(QByteArrayView(h.firstStamp), (steps - 1) * RateMinutes(h.rateCode),
                             ClockStyle::Hour24).toLatin1();
    h.clockStamp = h.lastStamp;
    h.pcClockText = "01/01/1999 00:00:00";
    h.amPm = false;
    h.description = description.leftJustified(31, ' ');
    h.statusByte1 = 0x02;
    for (int c = 0; c < channels; ++c) {
        h.typeCodes[static_cast<std::size_t>(c)] = 'A';
        h.labels[static_cast<std::size_t>(c)] = QByteArray("Channel ").append(QByteArray::number(c + 1)).leftJustified(24, ' ');
        h.scalingTexts[static_cast<std::size_t>(c)] = QByteArray("A").leftJustified(12, ' ');
        h.channelFlags |= 1 << c;
    }
    for (int c = channels; c < 4; ++c)
        h.scalingTexts[static_cast<std::size_t>(c)] = QByteArray(12, ' ');
    for (int t = 0; t < steps; ++t)
        for (int c = 0; c < channels; ++c)
            plan.readings.push_back(static_cast<std::uint16_t>(128 + 90 * std::sin(t * 0.002 + c) + t % 7));
    return WriteTl1File(path, MakeRecording(plan)) ? path : QString();
}

} // namespace tamble
