#include "graph/graph_rules.h"
#include "format/day_number.h"

#include <QDate>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace tamble {
namespace {

int digitsValue(QByteArrayView text, bool& ok)
{
    ok = !text.isEmpty();
    int value = 0;
    for (char c : text) {
        if (c == ' ' && value == 0)
            continue;
        if (c < '0' || c > '9') {
            ok = false;
            return 0;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

QByteArrayView part(QByteArrayView text, int position, int length)
{
    const qsizetype from = position - 1;
    if (from >= text.size())
        return {};
    return text.sliced(from, std::min<qsizetype>(length, text.size() - from));
}

// "hh:mm[:ss][am|pm]" as seconds of the day; unreadable fields count as zero.
int secondsOfDay(QByteArrayView text)
{
    int fields[3] = {0, 0, 0};
    int field = 0;
    bool pm = false, am = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            fields[field] = fields[field] * 10 + (c - '0');
        else if (c == ':' && field < 2)
            ++field;
        else if (c == 'p' || c == 'P')
            pm = true;
        else if (c == 'a' || c == 'A')
            am = true;
    }
    int hours = fields[0] % 24;
    if (pm && hours < 12)
        hours += 12;
    else if (am && hours == 12)
        hours = 0;
    return hours * 3600 + std::min(fields[1], 59) * 60 + std::min(fields[2], 59);
}

} // namespace

StampDateTime StampToDateTime(QByteArrayView stamp)
{
    StampDateTime result;
    const int length = static_cast<int>(stamp.size());
    const bool suffixed = length > 0 && (stamp.back() < '0' || stamp.back() > '9');

    bool ok = false;
    const int day = digitsValue(part(stamp, 5, 2), ok);
    if (!ok || day < 1 || day > 31)
        result.messages << QString::fromLatin1(kInvalidDateText);

    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int month = 0;
    const QByteArrayView monthText = part(stamp, 8, 3);
    for (int m = 0; m < 12; ++m)
        if (monthText == QByteArrayView(months[m]))
            month = m + 1;
    if (month == 0)
        result.messages << QString::fromLatin1(kInvalidMonthText);

    int year = 0;
    int d = 0;
    if (length == 26 || (length == 24 && !suffixed)) {
        year = digitsValue(part(stamp, 12, 4), ok);
        d = 2;
    } else {
        year = 1900 + digitsValue(part(stamp, 12, 2), ok);
    }

    QByteArrayView timeText;
    if (length == 21)
        timeText = part(stamp, 15, 7);
    else
        timeText = part(stamp, 15 + d, 10);

    const QDate date(year, month, day);
    const double days = date.isValid() ? DayNumber(date) : 0.0;
    result.value = days + secondsOfDay(timeText) / 86400.0;
    return result;
}

QByteArray LegendText(QByteArrayView label)
{
    qsizetype cut = label.size();
    for (qsizetype i = 1; i < label.size() - 1; ++i) {
        if (label[i] == ';' || label[i] == '~') {
            cut = i;
            break;
        }
    }
    QByteArray text = label.first(cut).toByteArray();
    while (!text.isEmpty() && text.back() == ' ')
        text.chop(1);
    return text;
}

QString GraphFileFilter()
{
    return QStringLiteral("All TL data (*.TL1 *.tl1);;TL2 data (*.TL2 *.tl2);;LX8 data (*.TL5 *.tl5)");
}

QString XAxisLabelText(const QString& dataFileName, FileNameDisplay display)
{
    switch (display) {
    case FileNameDisplay::NameOnly: return QFileInfo(dataFileName).fileName();
    case FileNameDisplay::PathAndName: return dataFileName;
    case FileNameDisplay::Hidden: return {};
    }
    return {};
}

namespace {
constexpr int kTextSizes[] = {3, 2, 1};
constexpr int kGrids[] = {3, 1, 2, 0};
constexpr int kColourModes[] = {1, 2, 3};
constexpr int kHumidities[] = {0, 2, 1};

template <std::size_t N>
int itemOf(const int (&values)[N], int value)
{
    for (std::size_t i = 0; i < N; ++i)
        if (values[i] == value)
            return static_cast<int>(i);
    return -1;
}
template <std::size_t N>
int valueOf(const int (&values)[N], int item)
{
    return item >= 0 && item < static_cast<int>(N) ? values[item] : -1;
}
} // namespace

int FontSizeItem(int textSize) { return itemOf(kTextSizes, textSize); }
int TextSizeForItem(int item) { return valueOf(kTextSizes, item); }
int GridItem(int grid) { return itemOf(kGrids, grid); }
int GridForItem(int item) { return valueOf(kGrids, item); }
int DisplayModeItem(int colourMode) { return itemOf(kColourModes, colourMode); }
int ColourModeForItem(int item) { return valueOf(kColourModes, item); }
int MoistureItem(int humidityQuantity) { return itemOf(kHumidities, humidityQuantity); }
int HumidityForItem(int item) { return valueOf(kHumidities, item); }

bool PointMarksShown(bool markDataPoints, int graphStep)
{
    return markDataPoints && graphStep == 1;
}

WindowSize GraphWindowSize(int screenHeight)
{
    const double h = screenHeight / 480.0;
    return {static_cast<int>(std::lround(639 * h)), static_cast<int>(std::lround(452 * h))};
}

QString GraphCaption(bool realTime)
{
    return realTime ? QStringLiteral("Tamble Logger / Real Time Graph") : QStringLiteral("Tamble Logger Graph");
}

} // namespace tamble
