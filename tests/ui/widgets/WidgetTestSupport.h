#pragma once
// Helpers for the widget tests: the shared recording target, and images.

#include <QImage>

#include "tests/ui/RecordingTarget.h"
#include "ui/widgets/logic/ToolImages.h"

// A square icon, opaque blue, with a transparent border of one pixel.
inline ToolImage blue_icon(int size = 16)
{
    ToolImage image(size, size);
    for (int y = 1; y < size - 1; ++y) {
        for (int x = 1; x < size - 1; ++x) {
            uint8_t* p = &image.bytes[(static_cast<size_t>(y) * size + x) * 4];
            p[0] = 200;  // blue
            p[3] = 255;
        }
    }
    return image;
}
