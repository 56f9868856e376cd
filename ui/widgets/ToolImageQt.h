#pragma once
// Tool images to and from QImage (ARGB32 holds the bytes blue, green, red, alpha).

#include <QImage>

#include "ui/widgets/logic/ToolImages.h"

ToolImage tool_image_from_qimage(const QImage& image);
// A deep copy in Format_ARGB32.
QImage qimage_from_tool_image(const ToolImage& image);
