#include "graph/colour_scheme.h"

#include "util/file_write.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace tamble {

namespace {

struct ColourEntry {
    std::uint32_t rgb;
    const char* name;
};

constexpr std::array<ColourEntry, kColourCodes> kColourTable{{
    {0xFFFFFF, "white"},  {0x00FFFF, "aqua"},   {0xFF00FF, "fuchsia"}, {0x0000FF, "blue"},
    {0xFFFF00, "yellow"}, {0x00FF00, "lime"},   {0xFF0000, "red"},     {0x808080, "gray"},
    {0xC0C0C0, "silver"}, {0x008080, "teal"},   {0x800080, "purple"},  {0x000080, "navy"},
    {0x808000, "olive"},  {0x008000, "green"},  {0x800000, "maroon"},  {0x000000, "black"},
}};

constexpr std::array<const char*, kColourSchemeItems> kItemCaptions{
    "Channel 1", "Channel 2", "Channel 3", "Channel 4", "Text and Scales", "Grid Lines", "Background", "Border"};

// Splits into lines the way a text list does: CR LF, LF or CR ends a line; a
// last line without an end still counts.
std::vector<QByteArrayView> splitLines(QByteArrayView bytes, int wanted)
{
    std::vector<QByteArrayView> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size() && static_cast<int>(lines.size()) < wanted) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(bytes.sliced(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (static_cast<int>(lines.size()) < wanted && start < bytes.size())
        lines.push_back(bytes.sliced(start));
    return lines;
}

// Leading blanks, an optional sign, decimal digits, nothing after; within
// the range of a 32-bit integer.
bool parseCode(QByteArrayView text, std::uint8_t& code)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i >= text.size())
        return false;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return false;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return false;
    code = static_cast<std::uint8_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(value)) & 0xFFu);
    return true;
}

} // namespace

ColourScheme FactoryColourScheme()
{
    return ColourScheme{};
}

std::uint32_t ColourCodeRgb(int code)
{
    if (code < 1 || code > kColourCodes)
        return 0xFF0000;
    return kColourTable[static_cast<std::size_t>(code - 1)].rgb;
}

int RgbColourCode(std::uint32_t rgb)
{
    rgb &= 0xFFFFFFu;
    for (int k = 0; k < kColourCodes; ++k)
        if (kColourTable[static_cast<std::size_t>(k)].rgb == rgb)
            return k + 1;
    return kUnknownColourCode;
}

QString ColourCodeName(int code)
{
    if (code < 1 || code > kColourCodes)
        return {};
    return QString::fromLatin1(kColourTable[static_cast<std::size_t>(code - 1)].name);
}

ChartColours ChartColoursOf(const ColourScheme& scheme)
{
    ChartColours c;
    for (std::size_t k = 0; k < 4; ++k)
        c.channel[k] = ColourCodeRgb(scheme.codes[k]);
    c.text = ColourCodeRgb(scheme.codes[4]);
    c.grid = ColourCodeRgb(scheme.codes[5]);
    c.background = ColourCodeRgb(scheme.codes[6]);
    c.border = ColourCodeRgb(scheme.codes[7]);
    return c;
}

QString ColourItemCaption(int item)
{
    if (item < 0 || item >= kColourSchemeItems)
        return {};
    return QString::fromLatin1(kItemCaptions[static_cast<std::size_t>(item)]);
}

GcfReadResult ParseColourFile(QByteArrayView bytes)
{
    GcfReadResult result;
    if (bytes.size() > kMaxColourFileBytes) {
        result.error = GcfError::TooLong;
        return result;
    }
    const std::vector<QByteArrayView> lines = splitLines(bytes, kColourSchemeItems);
    ColourScheme read;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (!parseCode(lines[k], read.codes[k])) {
            result.error = GcfError::NotInteger;
            result.badLine = static_cast<int>(k) + 1;
            result.badText = lines[k].toByteArray().left(40);
            return result;
        }
    }
    if (static_cast<int>(lines.size()) < kColourSchemeItems) {
        result.error = GcfError::TooFewLines;
        result.badLine = static_cast<int>(lines.size());
        return result;
    }
    result.scheme = read;
    return result;
}

GcfReadResult ReadColourFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GcfReadResult result;
        result.error = GcfError::Unreadable;
        return result;
    }
    const QByteArray bytes = file.read(kMaxColourFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        GcfReadResult result;
        result.error = GcfError::Unreadable;
        return result;
    }
    return ParseColourFile(bytes);
}

QByteArray FormatColourFile(const ColourScheme& scheme)
{
    QByteArray out;
    for (std::uint8_t code : scheme.codes)
        out += QByteArray::number(code) + "\r\n";
    return out;
}

bool WriteColourFile(const QString& path, const ColourScheme& scheme)
{
    return WriteFileReplacing(path, FormatColourFile(scheme));
}

QString ColourFileSavePath(const QString& chosen)
{
    const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
    QString base = chosen;
    if (dot > slash + 1)   // a leading dot names a hidden file, not an extension
        base.truncate(dot);
    return base + QStringLiteral(".GCF");
}

namespace {

// "Graph color file: <name><what>; loading factory defaults".
QString FactoryDefaultsText(const QString& name, const QString& what)
{
    return QStringLiteral("Graph color file: ") + name + what + QStringLiteral("; loading factory defaults");
}

} // namespace

QString ColourFileErrorText(const GcfReadResult& result, const QString& shownName)
{
    switch (result.error) {
    case GcfError::None: return {};
    case GcfError::Unreadable: return FactoryDefaultsText(shownName, QStringLiteral(" not found"));
    case GcfError::TooLong: return FactoryDefaultsText(shownName, QStringLiteral(" is not a color file"));
    case GcfError::TooFewLines:
        return FactoryDefaultsText(shownName, QStringLiteral(" holds %1 of 8 colors").arg(result.badLine));
    case GcfError::NotInteger:
        return FactoryDefaultsText(shownName, QStringLiteral(" line %1: '%2' is not a valid integer value")
                                                  .arg(result.badLine)
                                                  .arg(QString::fromLatin1(result.badText)));
    }
    return {};
}

ColourScheme LoadStartupColours(QString& colourFile, const QString& programDir, MessageService& messages)
{
    const QString namePart = QFileInfo(colourFile).fileName();
    QString dir = programDir;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    const GcfReadResult read = namePart.isEmpty() ? GcfReadResult{{}, GcfError::Unreadable, 0, {}}
                                                  : ReadColourFile(dir + namePart);
    if (read.ok())
        return read.scheme;
    UserMessage m;
    m.kind = DialogKind::Warning;
    m.text = FactoryDefaultsText(colourFile, QStringLiteral(" not found"));
    messages.ask(m);
    const ColourScheme factory = FactoryColourScheme();
    WriteColourFile(dir + QStringLiteral("default.gcf"), factory);
    colourFile = QStringLiteral("default.gcf");
    return factory;
}

} // namespace tamble
