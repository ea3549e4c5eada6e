#pragma once
// The graphic export of a chart: the format follows the file name, the size
// is the user's choice within sane limits, and a PNG may be drawn at twice
// its size in pixels for high-density screens.

#include <QString>

namespace tamble {

enum class GraphicFormat { Png, Svg, Pdf };

inline constexpr int kMinGraphicSide = 100;
inline constexpr int kMaxGraphicSide = 10000;
inline constexpr const char* kGraphicFileFilter = "PNG (*.png);;SVG (*.svg);;PDF (*.pdf)";

// By the suffix (any case); a name without a known one becomes a PNG.
GraphicFormat GraphicFormatOf(const QString& path);
// The name with ".png" added when its suffix names no known format.
QString GraphicFileName(const QString& path);

struct GraphicSize {
    int width = 800;
    int height = 500;
    double scale = 1;      // pixels per unit of size: 2 for a PNG for high-density screens
};

// The size asked for, each side kept within the limits; twice the pixels
// only for a PNG.
GraphicSize ChooseGraphicSize(int width, int height, bool twice, GraphicFormat format);

} // namespace tamble
