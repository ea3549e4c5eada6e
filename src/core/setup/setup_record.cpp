#include "setup/setup_record.h"

#include "util/bytes.h"

namespace tamble {

namespace {

using namespace tamble::bytes;

constexpr int kLabelStride = 1 + kChannelLabelWidth;
constexpr int kTableStride = 1 + kTableNameWidth;
constexpr int kLinearStride = 1 + kLinearValuesWidth;

QByteArray toBytes(QByteArrayView text) { return QByteArray(text.data(), text.size()); }

// 1 January 1600 as a Julian day, so that QDate arithmetic gives day numbers.
qint64 epochJulianDay() { return QDate(1600, 1, 1).toJulianDay(); }

} // namespace

SetupRecord::SetupRecord() : m_bytes(kSetupRecordSize, '\0') {}

std::optional<SetupRecord> SetupRecord::fromBytes(QByteArrayView bytes)
{
    if (bytes.size() < kSetupRecordSize)
        return std::nullopt;
    SetupRecord r;
    r.m_bytes = QByteArray(bytes.data(), kSetupRecordSize);
    return r;
}

char SetupRecord::rateCode() const { return static_cast<char>(get_u8(m_bytes, setup_offset::RateCode)); }
void SetupRecord::setRateCode(char code) { put_u8(m_bytes, setup_offset::RateCode, static_cast<std::uint8_t>(code)); }

std::uint8_t SetupRecord::startRunMode() const { return get_u8(m_bytes, setup_offset::StartRunMode); }
void SetupRecord::setStartRunMode(std::uint8_t value) { put_u8(m_bytes, setup_offset::StartRunMode, value); }
void SetupRecord::setStartRun(int startChoice, int runChoice)
{
    setStartRunMode(static_cast<std::uint8_t>(startChoice * 8 + runChoice));
}

bool SetupRecord::channelOn(int channel) const
{
    return IsSetupChannel(channel) && get_u8(m_bytes, setup_offset::ChannelOn + channel - 1) != 0;
}
void SetupRecord::setChannelOn(int channel, bool on)
{
    if (IsSetupChannel(channel))
        put_u8(m_bytes, setup_offset::ChannelOn + channel - 1, on ? 1 : 0);
}
int SetupRecord::channelsOn() const
{
    int n = 0;
    for (int ch = 1; ch <= 4; ++ch)
        n += channelOn(ch) ? 1 : 0;
    return n;
}

QByteArray SetupRecord::description() const
{
    return get_pstring(m_bytes, setup_offset::Description, kDescriptionWidth);
}
void SetupRecord::setDescription(QByteArrayView text)
{
    put_pstring(m_bytes, setup_offset::Description, kDescriptionWidth, toBytes(text));
}

QByteArray SetupRecord::channelLabel(int channel) const
{
    if (!IsSetupChannel(channel))
        return {};
    return get_pstring(m_bytes, setup_offset::ChannelLabel + (channel - 1) * kLabelStride, kChannelLabelWidth);
}
void SetupRecord::setChannelLabel(int channel, QByteArrayView text)
{
    if (IsSetupChannel(channel))
        put_pstring(m_bytes, setup_offset::ChannelLabel + (channel - 1) * kLabelStride, kChannelLabelWidth,
                    toBytes(text));
}

std::int32_t SetupRecord::startDate() const { return get_i32le(m_bytes, setup_offset::StartDate); }
void SetupRecord::setStartDate(std::int32_t dayNumber) { put_i32le(m_bytes, setup_offset::StartDate, dayNumber); }
std::int32_t SetupRecord::startTime() const { return get_i32le(m_bytes, setup_offset::StartTime); }
void SetupRecord::setStartTime(std::int32_t seconds) { put_i32le(m_bytes, setup_offset::StartTime, seconds); }

char SetupRecord::scalingCode(int channel) const
{
    return IsSetupChannel(channel) ? static_cast<char>(get_u8(m_bytes, setup_offset::ScalingCode + channel - 1)) : '\0';
}
void SetupRecord::setScalingCode(int channel, char code)
{
    if (IsSetupChannel(channel))
        put_u8(m_bytes, setup_offset::ScalingCode + channel - 1, static_cast<std::uint8_t>(code));
}

std::uint16_t SetupRecord::inputTypes() const { return get_u16le(m_bytes, setup_offset::InputTypes); }
void SetupRecord::setInputTypes(std::uint16_t value) { put_u16le(m_bytes, setup_offset::InputTypes, value); }
int SetupRecord::inputType(int channel) const
{
    return IsSetupChannel(channel) ? (inputTypes() >> (3 * (channel - 1))) & 7 : 0;
}
void SetupRecord::setInputType(int channel, int type)
{
    if (!IsSetupChannel(channel))
        return;
    const int shift = 3 * (channel - 1);
    std::uint16_t v = inputTypes();
    v = static_cast<std::uint16_t>((v & ~(7u << shift)) | ((static_cast<unsigned>(type) & 7u) << shift));
    setInputTypes(v);
}

QByteArray SetupRecord::tableName(int channel) const
{
    if (!IsSetupChannel(channel))
        return {};
    return get_pstring(m_bytes, setup_offset::TableName + (channel - 1) * kTableStride, kTableNameWidth);
}
void SetupRecord::setTableName(int channel, QByteArrayView name)
{
    if (IsSetupChannel(channel))
        put_pstring(m_bytes, setup_offset::TableName + (channel - 1) * kTableStride, kTableNameWidth, toBytes(name));
}

QByteArray SetupRecord::linearValues(int channel) const
{
    if (!IsSetupChannel(channel))
        return {};
    return get_pstring(m_bytes, setup_offset::LinearValues + (channel - 1) * kLinearStride, kLinearValuesWidth);
}
void SetupRecord::setLinearValues(int channel, QByteArrayView text)
{
    if (IsSetupChannel(channel))
        put_pstring(m_bytes, setup_offset::LinearValues + (channel - 1) * kLinearStride, kLinearValuesWidth,
                    toBytes(text));
}

std::uint8_t SetupRecord::dialOutWeekday() const { return get_u8(m_bytes, setup_offset::DialOutWeekday); }
void SetupRecord::setDialOutWeekday(std::uint8_t day) { put_u8(m_bytes, setup_offset::DialOutWeekday, day); }
std::uint8_t SetupRecord::dialOutMonthDay() const { return get_u8(m_bytes, setup_offset::DialOutMonthDay); }
void SetupRecord::setDialOutMonthDay(std::uint8_t day) { put_u8(m_bytes, setup_offset::DialOutMonthDay, day); }
std::uint8_t SetupRecord::dialOutKind() const { return get_u8(m_bytes, setup_offset::DialOutKind); }
void SetupRecord::setDialOutKind(std::uint8_t kind) { put_u8(m_bytes, setup_offset::DialOutKind, kind); }
std::uint8_t SetupRecord::startDateIsToday() const { return get_u8(m_bytes, setup_offset::StartDateIsToday); }
void SetupRecord::setStartDateIsToday(std::uint8_t flag) { put_u8(m_bytes, setup_offset::StartDateIsToday, flag); }
std::uint8_t SetupRecord::resolution() const { return get_u8(m_bytes, setup_offset::Resolution); }
void SetupRecord::setResolution(std::uint8_t value) { put_u8(m_bytes, setup_offset::Resolution, value); }

std::int32_t SetupDayNumber(const QDate& date)
{
    if (!date.isValid())
        return -1;
    return static_cast<std::int32_t>(date.toJulianDay() - epochJulianDay());
}

QDate SetupDate(std::int32_t dayNumber)
{
    if (dayNumber < 0)
        return {};
    return QDate::fromJulianDay(epochJulianDay() + dayNumber);
}

std::int32_t SetupSecondsOfDay(const QTime& time)
{
    if (!time.isValid())
        return -1;
    return time.msecsSinceStartOfDay() / 1000;
}

QByteArray PadWithSpaces(QByteArrayView text, int width)
{
    QByteArray out(text.data(), text.size() > width ? width : text.size());
    while (out.size() < width)
        out.append(' ');
    return out;
}

QByteArray TrimTrailingSpaces(QByteArrayView text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return QByteArray(text.data(), n);
}

SetupRecord DefaultSetupRecord(const QDateTime& now)
{
    SetupRecord r;
    r.setRateCode('D');
    r.setStartRunMode(0);
    for (int ch = 1; ch <= 4; ++ch) {
        r.setChannelOn(ch, true);
        r.setChannelLabel(ch, PadWithSpaces(QByteArray("Channel ") + QByteArray::number(ch), kChannelLabelWidth));
        r.setScalingCode(ch, 'C');
        r.setTableName(ch, "1.RVT");
        r.setLinearValues(ch, "100.000.0000");
    }
    r.setDescription(PadWithSpaces("Orvane Scientific Inc.", kDescriptionWidth));
    r.setStartDate(SetupDayNumber(now.date()));
    r.setStartTime(SetupSecondsOfDay(now.time()));
    r.setInputTypes(0);
    return r;
}

StartSchedule ScheduleOf(const SetupRecord& setup)
{
    StartSchedule s;
    s.startDate = setup.startDate();
    s.startTime = setup.startTime();
    s.startDateIsToday = setup.startDateIsToday();
    s.dialOutKind = setup.dialOutKind();
    s.dialOutWeekday = setup.dialOutWeekday();
    s.dialOutMonthDay = setup.dialOutMonthDay();
    return s;
}

} // namespace tamble
