#include "conversion/channel_units.h"

#include <QLocale>

namespace tamble {

namespace {

QByteArray TrimmedRight(QByteArrayView text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return text.first(n).toByteArray();
}

// The program reads the range in its decimal notation; a point always works,
// and so does the system's decimal separator.
bool ReadRangeNumber(const QByteArray& text, double& value)
{
    bool ok = false;
    const QByteArray t = text.trimmed();
    value = t.toDouble(&ok);
    if (!ok)
        value = QLocale::system().toDouble(QString::fromLatin1(t), &ok);
    return ok;
}

} // namespace

QByteArray UnitForCode(char code, int inputType, bool fahrenheit, int humidityQuantity)
{
    const auto uc = static_cast<unsigned char>(code);
    if (code == 'A' || code == 'B' || code == 'C' || code == 'P' || uc > static_cast<unsigned char>('X'))
        return fahrenheit ? "Deg F" : "Deg C";
    if (code == 'L')
        return "FtCn";
    if (code == 'R')
        return "Ohms";
    if (inputType == 1) {
        switch (humidityQuantity) {
        case 1: return "Dew P";
        case 2: return "Wet B";
        default: return "% RH";
        }
    }
    return {};
}

void ApplyLabelUnitAndRange(ChannelUnit& unit, QByteArrayView label)
{
    const qsizetype n = label.size();
    for (qsizetype p = 0; p + 1 < n; ++p) {
        if (label[p] == ';')
            unit.unit = TrimmedRight(label.sliced(p + 1)).left(9);
    }
    QByteArray range;
    for (qsizetype p = 0; p + 1 < n; ++p) {
        if (label[p] != '~')
            continue;
        range = TrimmedRight(label.sliced(p + 1)).left(10);
        const qsizetype semi = range.indexOf(';');
        if (semi >= 0)
            range.remove(semi, 9);
    }
    const qsizetype comma = range.indexOf(',');
    if (range.size() < 3 || comma < 1 || comma >= range.size() - 1) {
        unit.rangeText.clear();
        return;
    }
    double lo = 0, hi = 0;
    if (!ReadRangeNumber(range.left(comma), lo) || !ReadRangeNumber(range.mid(comma + 1), hi)) {
        unit.rangeText.clear();
        return;
    }
    unit.rangeText = range;
    unit.rangeMin = lo;
    unit.rangeMax = hi;
}

std::array<ChannelUnit, 4> DeriveChannelUnits(const std::array<char, 4>& typeCodes, int inputTypes,
                                              const std::array<QByteArray, 4>& labels, bool fahrenheit,
                                              int humidityQuantity)
{
    std::array<ChannelUnit, 4> units;
    for (int i = 0; i < 4; ++i) {
        const int inputType = (inputTypes >> (3 * i)) & 7;
        units[i].unit = UnitForCode(typeCodes[i], inputType, fahrenheit, humidityQuantity);
        ApplyLabelUnitAndRange(units[i], labels[i]);
    }
    return units;
}

} // namespace tamble
