#pragma once
// A screen image as GET@ takes it and PUT@ puts it back: 32-bit pixels
// 0xAARRGGBB, row by row from the top left, Width x Height of them.

#include <cstdint>
#include <memory>
#include <vector>

struct TPixelImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;

    TPixelImage() = default;
    // Non-positive sizes give an empty image.
    TPixelImage(int32_t width, int32_t height)
        : Width(width > 0 && height > 0 ? width : 0), Height(width > 0 && height > 0 ? height : 0),
          Pixels(static_cast<size_t>(Width) * static_cast<size_t>(Height), 0u)
    {}
};

// Images are held by shared ownership: GET@ stores one image under two element
// keys, and replacing either key must leave the other valid.
using TPixelImageRef = std::shared_ptr<TPixelImage>;
