#include "ui/widgets/ToolImageQt.h"

#include <bit>
#include <cstring>

// ARGB32 words lie in memory as blue, green, red, alpha only on little-endian machines.
static_assert(std::endian::native == std::endian::little);

ToolImage tool_image_from_qimage(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    ToolImage result(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(result.bytes.data() + static_cast<size_t>(y) * argb.width() * 4, argb.constScanLine(y),
                    static_cast<size_t>(argb.width()) * 4);
    return result;
}

QImage qimage_from_tool_image(const ToolImage& image)
{
    QImage result(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(result.scanLine(y), image.bytes.data() + static_cast<size_t>(y) * image.width * 4,
                    static_cast<size_t>(image.width) * 4);
    return result;
}
