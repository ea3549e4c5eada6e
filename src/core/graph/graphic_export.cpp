#include "graph/graphic_export.h"

#include <QFileInfo>

#include <algorithm>

namespace tamble {

GraphicFormat GraphicFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return GraphicFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return GraphicFormat::Pdf;
    return GraphicFormat::Png;
}

QString GraphicFileName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg") || suffix == QLatin1String("pdf"))
        return path;
    return path + QStringLiteral(".png");
}

GraphicSize ChooseGraphicSize(int width, int height, bool twice, GraphicFormat format)
{
    GraphicSize size;
    size.width = std::clamp(width, kMinGraphicSide, kMaxGraphicSide);
    size.height = std::clamp(height, kMinGraphicSide, kMaxGraphicSide);
    size.scale = twice && format == GraphicFormat::Png ? 2.0 : 1.0;
    return size;
}

} // namespace tamble
