#pragma once
// The graph's colour scheme: eight colour codes (four channels, text and
// scales, grid lines, background, border), each one of sixteen fixed colours,
// and the ".gcf" colour files that hold it: one decimal code a line.

#include "util/user_dialog.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace tamble {

inline constexpr int kColourSchemeItems = 8;
inline constexpr int kColourCodes = 16;
inline constexpr int kUnknownColourCode = 255;
// A colour file longer than this is not a colour file.
inline constexpr qsizetype kMaxColourFileBytes = 64 * 1024;

// Entry k - 1 holds the code of item k: channels 1-4, text and scales, grid
// lines, background, border.
struct ColourScheme {
    std::array<std::uint8_t, kColourSchemeItems> codes{10, 6, 4, 7, 16, 10, 1, 1};
    friend bool operator==(const ColourScheme&, const ColourScheme&) = default;
};

// What the chart needs, as 0xRRGGBB values.
struct ChartColours {
    std::array<std::uint32_t, 4> channel{}; // channel 1..4 -> index 0..3
    std::uint32_t text = 0;
    std::uint32_t grid = 0;
    std::uint32_t background = 0;
    std::uint32_t border = 0;               // desk and shadow
};

ColourScheme FactoryColourScheme();

// 0xRRGGBB of a code 1..16; any other code is red.
std::uint32_t ColourCodeRgb(int code);
// The code of a table colour; 255 for a colour outside the table.
int RgbColourCode(std::uint32_t rgb);
// The colour's usual name ("teal"); empty outside the table.
QString ColourCodeName(int code);

ChartColours ChartColoursOf(const ColourScheme& scheme);

// The caption of item k (0-based) in the colour dialog.
QString ColourItemCaption(int item);

enum class GcfError { None, Unreadable, TooLong, TooFewLines, NotInteger };

struct GcfReadResult {
    ColourScheme scheme;       // the codes read; the factory scheme on error
    GcfError error = GcfError::None;
    int badLine = 0;           // 1-based line of a NotInteger error, or the line count
    QByteArray badText;        // that line's text
    bool ok() const { return error == GcfError::None; }
};

// Reads colour-file bytes: lines ended by CR LF, LF or CR; lines 1-8 decimal
// integers (leading blanks allowed), each kept modulo 256; later lines are
// ignored. Any fault gives the factory scheme and names the fault.
GcfReadResult ParseColourFile(QByteArrayView bytes);
GcfReadResult ReadColourFile(const QString& path);

// "10\r\n6\r\n..." for the eight codes.
QByteArray FormatColourFile(const ColourScheme& scheme);
// Writes through a temporary file and a rename; false when that failed.
bool WriteColourFile(const QString& path, const ColourScheme& scheme);

// The name a scheme is saved under: the chosen name with its extension
// replaced by (or, without one, extended with) ".GCF".
QString ColourFileSavePath(const QString& chosen);

// The message for a failed read of `shownName`.
QString ColourFileErrorText(const GcfReadResult& result, const QString& shownName);

// Start-up: reads the colour file named by the file-name part of
// `colourFile` in `programDir`. On any fault: the warning, the factory
// scheme, "default.gcf" written anew in `programDir`, and `colourFile`
// becomes "default.gcf".
ColourScheme LoadStartupColours(QString& colourFile, const QString& programDir, MessageService& messages);

} // namespace tamble
