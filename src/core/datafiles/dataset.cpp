#include "datafiles/dataset.h"

#include <charconv>

namespace tamble {

namespace {

// The decimal reader used for label corrections: leading blanks, an optional
// sign, digits with an optional point; whatever follows is ignored and text
// without a number gives 0.
float ReadDecimal(const QByteArray& text)
{
    const char* p = text.constData();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    float value = 0;
    const auto [ptr, ec] = std::from_chars(p, end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr == p)
        return 0;
    return negative ? -value : value;
}

} // namespace

float LabelOffsetFromLabel(const QByteArray& label)
{
    const qsizetype open = label.indexOf('[');
    if (open < 0)
        return 0;
    const qsizetype close = label.indexOf(']', open + 1);
    if (close < 0)
        return 0;
    return ReadDecimal(label.mid(open + 1, close - open - 1));
}

QByteArray BuildModelText(char modelCode, int resolutionBits)
{
    const int column = resolutionBits == 12 ? 2 : resolutionBits == 10 ? 1 : 0;
    static constexpr const char* kSingle[] = {"LX500", "LX600", "LX700"};
    static constexpr const char* kBits[] = {"8 bit", "10 bit", "12 bit"};
    static constexpr const char* kOlder[] = {"LX52", "LX53", "LX54"};
    switch (modelCode) {
    case '1': return kSingle[column];
    case '5': return QByteArray("LX900     ") + kBits[column];
    case '6': return QByteArray("LX900-M ") + kBits[column];
    default: return QByteArray(kOlder[column]) + modelCode;
    }
}

} // namespace tamble
