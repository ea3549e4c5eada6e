#include "conversion/channel_scaling.h"

#include "conversion/decimal_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstddef>
#include <optional>

namespace tamble {

namespace {

// A table of 255 points is a few kilobytes; anything far larger is not a table.
constexpr qint64 kMaxTableFileBytes = 1 << 20;

// Above this many ohms the input is open (no sensor attached).
constexpr float kOpenInputOhms = 7000000.0f;

bool ValidChannel(int channel)
{
    return channel >= 1 && channel <= 4;
}

// Millivolt range of each thermocouple input module, by code group:
// mV = (v - offset) × gain for an input voltage v of 0–5 V.
void SetThermocoupleRange(ChannelConversion& c, char code)
{
    switch (code) {
    case 'Y': case 'Z': case '^': case '_': case '`': case 'a': case 'd': case 'g': case 'h':
        c.millivoltOffset = 2.5f;
        c.millivoltGain = 19.6f;
        break;
    case 'q': case 'v': case 'w': case 'x': case 'y': case 'z': case '{': case '}': case '~':
        c.millivoltOffset = 2.5f;
        c.millivoltGain = 9.9f;
        break;
    default:
        c.millivoltOffset = 0.0f;
        c.millivoltGain = 10.0f;
        break;
    }
}

// Table names come from data files and logger statuses; a name that could
// leave the table folder, or that no file can carry, is treated as missing.
bool UsableFileName(const QString& name)
{
    for (QChar ch : name) {
        if (ch.unicode() < 0x20 || ch == QLatin1Char('/') || ch == QLatin1Char('\\'))
            return false;
    }
    return !name.isEmpty();
}

// Only regular files: a pipe or device under a table's name would block or
// never end.
bool OpenRegularFile(const QString& path, QFile& file)
{
    if (!QFileInfo(path).isFile())
        return false;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
}

// Opens `name` in `dir`; the tables were written on a system whose file
// names ignore letter case, so a name differing only in case also serves.
bool OpenTable(const QString& dir, const QString& name, QFile& file)
{
    if (!UsableFileName(name))
        return false;
    const QDir folder(dir.isEmpty() ? QStringLiteral(".") : dir);
    if (OpenRegularFile(folder.filePath(name), file))
        return true;
    const QStringList entries = folder.entryList(QDir::Files | QDir::Readable | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && OpenRegularFile(folder.filePath(entry), file))
            return true;
    }
    return false;
}

// The text of table `name` (at most one byte beyond the size limit), from the
// given source or else from the table folder.
std::optional<QByteArray> ReadTable(const ChannelScaling& scaling, const QString& name)
{
    if (scaling.tableSource) {
        if (!UsableFileName(name))
            return std::nullopt;
        std::optional<QByteArray> text = scaling.tableSource->read(name);
        if (text && text->size() > kMaxTableFileBytes)
            text->truncate(kMaxTableFileBytes + 1);
        return text;
    }
    QFile file;
    if (!OpenTable(scaling.tableDirectory, name, file))
        return std::nullopt;
    return file.read(kMaxTableFileBytes + 1);
}

ScalingSetUpResult ImproperFormat(ChannelScaling& scaling, const QString& name)
{
    scaling.tableError = true;
    ScalingSetUpResult r;
    r.ok = false;
    r.message = QStringLiteral("Sensor Table '") + name + QStringLiteral("' has improper format");
    r.tableFile = name;
    return r;
}

// Start of the upward scan for the lookup index. For tables in descending
// order every start gives the same index as a scan from 1; the starts only
// skip rows that cannot match.
int SearchStart(const ChannelConversion& c, int n, float a)
{
    const auto& in = c.table.inputColumn;
    if (!c.thermocouple) {
        if (n < 55 || a >= in[54])
            return 1;
        for (int m = 0; m <= 7; ++m) {
            if (a >= in[static_cast<std::size_t>(66 + 12 * m)])
                return 55 + 12 * m;
        }
        return 151;
    }
    for (int s = 200; s >= 50; s -= 50) {
        if (n >= s && a < in[static_cast<std::size_t>(s - 1)])
            return s;
    }
    return 1;
}

// Linear interpolation on segment k-1..k, extrapolating beyond the ends.
// A segment of zero width (a flat or broken table) gives its first value.
float Interpolate(const SensorTable& t, int k, float a)
{
    const auto i = static_cast<std::size_t>(k);
    const float x0 = t.inputColumn[i - 1];
    const float width = t.inputColumn[i] - x0;
    const float y0 = t.outputColumn[i - 1];
    if (width == 0.0f)
        return y0;
    return y0 + (t.outputColumn[i] - y0) * (a - x0) / width;
}

int InputType(std::uint16_t inputTypes, int channel)
{
    return (inputTypes >> (3 * (channel - 1))) & 7;
}

} // namespace

ScalingSetUpResult SetUpChannelScaling(ChannelScaling& scaling, int channel, char code,
                                       std::string_view scalingText)
{
    ScalingSetUpResult result;
    if (!ValidChannel(channel))
        return result;
    ChannelConversion& c = scaling.channels[static_cast<std::size_t>(channel - 1)];
    c = ChannelConversion{};
    c.code = code;
    c.thermocouple = IsThermocoupleCode(code);
    SetThermocoupleRange(c, code);

    if (code == '0' || code == 'R')
        return result;

    if (code == '3' || code == 'X') {
        const std::string_view low = scalingText.substr(0, 6);
        const std::string_view high = scalingText.size() > 6 ? scalingText.substr(6, 6) : std::string_view{};
        c.table.outputColumn[0] = decimal::LeadingNumber(low);
        c.table.outputColumn[1] = decimal::LeadingNumber(high);
        c.table.inputColumn[0] = 0.0f;
        c.table.inputColumn[1] = static_cast<float>(scaling.fullScaleCount);
        c.table.pointCount = 2.0f;
        c.countInput = code == '3';
        return result;
    }

    QString name = SensorTableFileName(code, scalingText);
    std::optional<QByteArray> text = ReadTable(scaling, name);
    if (!text) {
        name = QString::fromLatin1(kFallbackTableName);
        text = ReadTable(scaling, name);
        if (!text) {
            scaling.tableError = true;
            result.ok = false;
            result.message = QStringLiteral("Sensor Table '") + name + QStringLiteral("' not found");
            result.tableFile = name;
            return result;
        }
    }
    result.tableFile = name;
    if (text->size() > kMaxTableFileBytes)
        return ImproperFormat(scaling, name);

    const ParsedSensorTable parsed = ParseSensorTable(
        std::string_view(text->constData(), static_cast<std::size_t>(text->size())), scaling.fullScaleCount);
    c.table = parsed.table;

    if (parsed.kind == 'L') {
        c.nonTemperature = true;
    } else if (parsed.kind == 'N') {
        c.countInput = true;
    } else if (c.table.inputColumn[0] == 0.0f) {
        // Rows beyond the points are already zero.
        c.countInput = true;
    }

    if (parsed.status != TableParseStatus::Ok)
        return ImproperFormat(scaling, name);
    return result;
}

void FixCountTables(ChannelScaling& scaling)
{
    for (ChannelConversion& c : scaling.channels) {
        if (c.countInput && c.table.inputColumn[0] == 0.0f && c.table.inputColumn[1] == 0.0f)
            c.table.inputColumn[1] = static_cast<float>(scaling.fullScaleCount);
    }
}

float ConvertReading(ChannelScaling& scaling, std::uint16_t& reading, int channel)
{
    if (!ValidChannel(channel))
        return 0.0f;
    const std::size_t index = static_cast<std::size_t>(channel - 1);
    const ChannelConversion& c = scaling.channels[index];
    if (c.code == '0')
        return 0.0f;

    float a;
    if (c.countInput || c.code == 'X') {
        a = static_cast<float>(reading);
    } else {
        const std::uint16_t fullScale = scaling.fullScaleCount;
        if (reading == fullScale && reading > 0)
            --reading;
        const float v = fullScale > 0 ? static_cast<float>(reading) * 5.0f / static_cast<float>(fullScale) : 0.0f;
        if (c.thermocouple) {
            const float millivolts = (v - c.millivoltOffset) * c.millivoltGain;
            a = ColdJunctionMillivolts(c.table, scaling.lastChannel1Value) + millivolts;
        } else {
            a = scaling.referenceOhms * v / (5.0f - v);
        }
        if (a > kOpenInputOhms)
            return c.code == 'L' ? 0.0f : -100.0f;
        if (c.code == 'R')
            return a;
    }

    const SensorTable& t = c.table;
    const int n = t.points();
    int k;
    if (t.inputColumn[0] == 0.0f) {
        k = 1;
    } else {
        k = n - 1;
        for (int i = SearchStart(c, n, a); i <= n - 2; ++i) {
            if (t.inputColumn[static_cast<std::size_t>(i)] <= a) {
                k = i;
                break;
            }
        }
        // Tables that failed their set-up may hold fewer than two points.
        if (k < 1)
            k = 1;
        else if (k > kSensorTableCapacity - 1)
            k = kSensorTableCapacity - 1;
    }
    const float y = Interpolate(t, k, a) + scaling.labelOffset[index];

    if (channel >= 3)
        scaling.humidityDerived[index] = false;
    if (channel == 1) {
        scaling.lastChannel1Value = y;
        return y;
    }
    if (channel == 2) {
        scaling.lastChannel2Value = y;
        return y;
    }
    if (InputType(scaling.inputTypes, channel) == 1 && InputType(scaling.inputTypes, channel - 2) == 1) {
        const float temperature = channel == 3 ? scaling.lastChannel1Value : scaling.lastChannel2Value;
        float rh = y + y * (1.0f / (1.093f - 0.0012f * (temperature * 9.0f / 5.0f + 32.0f)) - 1.0f);
        if (rh > 100.0f)
            rh = 100.0f;
        if (rh < 0.0f)
            rh = 0.0f;
        scaling.humidityDerived[index] = true;
        if (scaling.humidityQuantity == kWetBulb)
            return WetBulb(temperature, rh, scaling.fahrenheit);
        if (scaling.humidityQuantity == kDewPoint)
            return DewPoint(temperature, rh, scaling.fahrenheit);
        return rh;
    }
    return y;
}

float ColdJunctionMillivolts(const SensorTable& table, float t)
{
    const int n = table.points() > kSensorTableCapacity ? kSensorTableCapacity : table.points();
    int k = 0;
    for (int i = n - 2; i >= 0; --i) {
        if (t < table.outputColumn[static_cast<std::size_t>(i)]) {
            k = i;
            break;
        }
    }
    const auto i = static_cast<std::size_t>(k);
    const float t0 = table.outputColumn[i];
    const float width = table.outputColumn[i + 1] - t0;
    const float m0 = table.inputColumn[i];
    if (width == 0.0f)
        return m0;
    return m0 + (table.inputColumn[i + 1] - m0) * (t - t0) / width;
}

namespace {

struct VapourTerms {
    float t;   // limited temperature
    float e;   // vapour pressure, kPa
    float td;  // dew point, °C
};

VapourTerms Vapour(float t, float rh)
{
    if (t > 85.0f)
        t = 85.0f;
    if (t < -40.0f)
        t = -40.0f;
    if (rh < 0.01f)
        rh = 0.01f;
    const float es = 0.61078f * std::exp(17.294f * t / (t + 238.3f));
    const float e = es * rh / 100.0f;
    const float l = std::log(e / 0.61078f);
    const float td = l * 238.3f / (17.294f - l);
    return {t, e, td};
}

} // namespace

float DewPoint(float t, float rh, bool fahrenheit)
{
    const VapourTerms v = Vapour(t, rh);
    return fahrenheit ? CelsiusToFahrenheit(v.td) : v.td;
}

float WetBulb(float t, float rh, bool fahrenheit)
{
    const VapourTerms v = Vapour(t, rh);
    const float d = v.td + 237.3f;
    const float delta = v.e * 4098.0f / (d * d);
    const float tw = (v.t * 0.066858f + v.td * delta) / (delta + 0.066858f);
    return fahrenheit ? CelsiusToFahrenheit(tw) : tw;
}

bool CountsAsTemperature(const ChannelScaling& scaling, int channel)
{
    if (!ValidChannel(channel))
        return false;
    const ChannelConversion& c = scaling.channels[static_cast<std::size_t>(channel - 1)];
    return c.code != 'R' && c.code != 'X' && !c.countInput && !c.nonTemperature;
}

float LabelOffsetFromLabel(std::string_view label)
{
    const std::size_t open = label.find('[');
    if (open == std::string_view::npos)
        return 0.0f;
    const std::size_t close = label.find(']', open + 1);
    if (close == std::string_view::npos)
        return 0.0f;
    return decimal::LeadingNumber(label.substr(open + 1, close - open - 1));
}

float LabelOffsetFromLabel(const QString& label)
{
    const QByteArray bytes = label.toLatin1();
    return LabelOffsetFromLabel(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace tamble
