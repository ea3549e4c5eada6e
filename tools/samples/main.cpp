// tamble-samples: writes the sample data files shipped in data/samples with
// the project's own .TL1 writer, as a download from a logger would leave them.
//
//   tamble-samples OUTPUT_FOLDER TABLE_FOLDER
//
// The readings follow a daily temperature cycle (warmest mid-afternoon), a
// day-light curve and a humidity that falls as the air warms; each value is
// turned into the raw count whose conversion through the channel's sensor
// table comes nearest, so the files graph as the weather they describe.

#include "conversion/channel_scaling.h"
#include "datafiles/timebase.h"
#include "writer/tl1_writer.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

using namespace tamble;

namespace {

struct Channel {
    char code;
    QByteArray scalingText;   // 12 characters
    QByteArray label;
    std::function<double(double hours, unsigned& noise)> value;
};

double Noise(unsigned& state)
{
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 8) % 1000) / 1000.0 - 0.5;
}

double AirTemperature(double hours, unsigned& noise)
{
    const double day = std::sin(2 * std::numbers::pi * (hours - 9.0) / 24.0);
    const double weather = 2.5 * std::sin(2 * std::numbers::pi * hours / (24.0 * 5.3));
    return 17.0 + 7.5 * day + weather + 0.4 * Noise(noise);
}

double SoilTemperature(double hours, unsigned& noise)
{
    return 14.0 + 2.0 * std::sin(2 * std::numbers::pi * (hours - 13.0) / 24.0) + 0.1 * Noise(noise);
}

double Daylight(double hours, unsigned& noise)
{
    const double h = std::fmod(hours, 24.0);
    if (h < 6.0 || h > 20.0)
        return 1.0 + std::abs(Noise(noise));
    const double sun = std::sin(std::numbers::pi * (h - 6.0) / 14.0);
    const double cloud = 0.6 + 0.4 * std::abs(std::sin(hours * 0.37));
    return 1.0 + 30000.0 * sun * sun * cloud;
}

double Humidity(double hours, unsigned& noise)
{
    unsigned quiet = noise;
    const double t = AirTemperature(hours, quiet);
    return std::clamp(95.0 - 3.2 * (t - 10.0) + 2.0 * Noise(noise), 5.0, 100.0);
}

double ShadeTemperature(double hours, unsigned& noise)
{
    return AirTemperature(hours - 1.5, noise) - 3.0;
}

double FloorTemperature(double hours, unsigned& noise)
{
    return 0.5 * AirTemperature(hours - 3.0, noise) + 6.0;
}

double StoreVolts(double hours, unsigned& noise)
{
    return 4.1 - 0.0004 * hours + 0.01 * Noise(noise);
}

// Raw count whose converted value is nearest to each wanted value.
class CountFinder {
public:
    CountFinder(const QString& tables, int fullScale, const std::vector<Channel>& channels)
    {
        ChannelScaling s;
        s.fullScaleCount = static_cast<std::uint16_t>(fullScale);
        s.tableDirectory = tables;
        for (std::size_t c = 0; c < channels.size(); ++c) {
            const int ch = static_cast<int>(c) + 1;
            const auto r = SetUpChannelScaling(s, ch, channels[c].code,
                                               std::string_view(channels[c].scalingText.constData(), 12));
            if (!r.ok)
                std::fprintf(stderr, "%s\n", qPrintable(r.message));
            std::vector<float> values;
            for (int count = 0; count <= fullScale; ++count) {
                std::uint16_t raw = static_cast<std::uint16_t>(count);
                values.push_back(ConvertReading(s, raw, ch));
            }
            m_values.push_back(values);
        }
    }

    std::uint16_t count(std::size_t channel, double wanted) const
    {
        const auto& v = m_values[channel];
        std::size_t best = 0;
        for (std::size_t i = 1; i < v.size(); ++i)
            if (std::abs(v[i] - wanted) < std::abs(v[best] - wanted))
                best = i;
        return static_cast<std::uint16_t>(best);
    }

private:
    std::vector<std::vector<float>> m_values;
};

struct Sample {
    const char* file;
    const char* description;
    char model;
    int bits;
    char rate;
    char referenceCode;
    QByteArray inputTypeChars;
    std::vector<Channel> channels;
    bool wrapped = false;
    int phase = 0;
    int endPointer = 512;
    int sections = 1;
    char lastBank = 'A';
    int steps = 0;             // time steps when not wrapped
    const char* firstStamp;    // not wrapped: first reading; wrapped: last reading
};

QByteArray Pad(QByteArray text, int width)
{
    return text.leftJustified(width, ' ', true);
}

bool Write(const QString& folder, const QString& tables, const Sample& s)
{
    const int channels = static_cast<int>(s.channels.size());
    const int fullScale = s.bits == 8 ? 255 : s.bits == 10 ? 1023 : 4095;
    const double minutes = RateMinutes(s.rate);
    const int steps = s.wrapped ? MemoryCapacityFor(s.bits) * s.sections / channels : s.steps;

    QByteArray first;
    QByteArray last;
    if (s.wrapped) {
        last = s.firstStamp;
        first = AddMinutes(QByteArrayView(last), -(steps - 1) * minutes, ClockStyle::Hour24).toLatin1();
    } else {
        first = s.firstStamp;
        last = AddMinutes(QByteArrayView(first), (steps - 1) * minutes, ClockStyle::Hour24).toLatin1();
    }
    const QByteArray clock = AddMinutes(QByteArrayView(last), 7.5, ClockStyle::Hour24).toLatin1();
    const CalendarCursor pc = ParseStamp(QByteArrayView(clock));

    CountFinder finder(tables, fullScale, s.channels);
    RecordingPlan plan;
    Tl1Header& h = plan.header;
    h.referenceCode = s.referenceCode;
    h.revision = 'q';
    h.modelDigit = s.model;
    h.inputTypeChars = s.inputTypeChars;
    h.resolutionBits = s.bits;
    h.batteryVolts = 3.6f;
    h.lastBank = s.lastBank;
    h.firstStamp = first;
    h.lastStamp = last;
    h.description = Pad(s.description, 31);
    h.clockStamp = clock;
    h.pcClockText = QString::asprintf("%02d/%02d/%04d %02d:%02d:%02d", pc.day, pc.month, pc.year, pc.hour,
                                      pc.minute, pc.second).toLatin1();
    h.amPm = false;
    h.statusByte1 = 0x02;     // stopped, downloaded afterwards
    h.rateCode = s.rate;
    for (int c = 0; c < 4; ++c) {
        const bool on = c < channels;
        h.typeCodes[static_cast<std::size_t>(c)] = on ? s.channels[static_cast<std::size_t>(c)].code : '0';
        h.labels[static_cast<std::size_t>(c)] = Pad(on ? s.channels[static_cast<std::size_t>(c)].label : QByteArray(), 24);
        h.scalingTexts[static_cast<std::size_t>(c)] = on ? s.channels[static_cast<std::size_t>(c)].scalingText : Pad({}, 12);
        if (on)
            h.channelFlags |= 1 << c;
    }
    plan.wrapped = s.wrapped;
    plan.phase = s.phase;
    plan.endPointer = s.endPointer;
    plan.sections = s.sections;

    // Hours since midnight of the first reading's day.
    const CalendarCursor start = ParseStamp(QByteArrayView(first));
    const double startHours = start.hour + start.minute / 60.0 + start.second / 3600.0;
    unsigned noise = 2026;
    for (int t = 0; t < steps; ++t) {
        const double hours = startHours + t * minutes / 60.0;
        for (int c = 0; c < channels; ++c)
            plan.readings.push_back(finder.count(static_cast<std::size_t>(c),
                                                 s.channels[static_cast<std::size_t>(c)].value(hours, noise)));
    }
    const QString path = QDir(folder).filePath(QString::fromLatin1(s.file));
    if (!WriteTl1File(path, MakeRecording(plan))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tamble-samples OUTPUT_FOLDER TABLE_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString tables = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + QLatin1Char('/');
    QDir().mkpath(folder);

    const Channel air{'A', "A           ", "Air temp [0.0]", AirTemperature};
    const Channel soil{'B', "B           ", "Soil 10 cm", SoilTemperature};
    const Channel light{'L', "L           ", "Light", Daylight};
    const Channel humidity{'X', "0.0000100.00", "Humidity", Humidity};
    const Channel volts{'X', "0.0000005.00", "Store supply", StoreVolts};
    const Channel shade{'C', "C           ", "Shade", ShadeTemperature};
    const Channel floor{'A', "A           ", "Floor", FloorTemperature};
    const Channel room{'A', "A           ", "Room", AirTemperature};
    const Channel roomHumidity{'X', "0.0000100.00", "Room RH", Humidity};
    const Channel cellar{'B', "B           ", "Cellar", SoilTemperature};
    const Channel cellarHumidity{'X', "0.0000100.00", "Cellar RH", Humidity};

    const Sample samples[] = {
        {"sample8.TL1", "Greenhouse east bench", '1', 8, 'I', 'A', "@@", {air, light},
         false, 0, 512, 1, 'A', 2880, "Mon  6-Apr-1998  0:00:00"},
        {"sample10.TL1", "North wall, outside", '1', 10, 'U', 'A', "@@", {air},
         false, 0, 512, 1, 'A', 2977, "Wed  1-Jul-1998  0:00:00"},
        // Channel 1 and 3 form a temperature/humidity pair (input type 1 each).
        {"sample12.TL1", "Seed store", '5', 12, 'H', 'A', "AA", {air, soil, humidity},
         false, 0, 512, 1, 'A', 2100, "Tue 15-Sep-1998  6:00:00"},
        {"wrapped10.TL1", "Cold frame, continuous", '5', 10, 'G', 'A', "@@", {air, soil},
         true, 2, 512 + 5 * 3171 + 2, 1, 'A', 0, "Sun 18-Oct-1998 14:20:00"},
        {"banks4.TL1", "Field station 4 banks", '6', 12, 'J', 'A', "@@", {air, soil, light, volts},
         false, 0, 512, 1, 'A', 3 * 5376 + 1999, "Sun  1-Mar-1998  0:00:00"},
        {"thermistors4.TL1", "Propagation house", '6', 10, 'F', 'A', "@@", {air, soil, shade, floor},
         false, 0, 512, 1, 'A', 1500, "Mon  2-Mar-1998  8:00:00"},
        // Every channel has input type 1: two temperature/humidity pairs.
        {"temprh4.TL1", "House and cellar", '6', 12, 'H', 'A', "II", {room, cellar, roomHumidity, cellarHumidity},
         false, 0, 512, 1, 'A', 1800, "Tue  3-Mar-1998  0:00:00"},
    };
    bool ok = true;
    for (const Sample& s : samples)
        ok = Write(folder, tables, s) && ok;
    return ok ? 0 : 1;
}
