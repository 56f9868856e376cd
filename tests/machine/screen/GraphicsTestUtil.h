#pragma once
// Small helpers of the graphics tests: pictures of page regions as text rows, so that
// expected pixels can be written down as they look.

#include <cstdint>
#include <string>
#include <vector>

#include "machine/screen/GraphicsPage.h"
#include "machine/screen/Raster.h"

namespace gfx_test {

// Rows of the region (left, top) of width × height: '#' for a pixel of the raster,
// '.' for one that is not.
inline std::vector<std::string> raster_picture(const TRaster& raster, int left, int top, int width, int height)
{
    std::vector<std::string> rows(height, std::string(width, '.'));
    for (const TSpan& s : raster.Spans())
        for (int x = s.left; x <= s.right; ++x)
            if (s.y >= top && s.y < top + height && x >= left && x < left + width) rows[s.y - top][x - left] = '#';
    return rows;
}

// Rows of the region of the page's colour-index plane, one hexadecimal digit a pixel
// (palette numbers above 15 show as '*').
inline std::vector<std::string> index_picture(const TGraphicsPage& page, int left, int top, int width, int height)
{
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x) {
            const uint8_t v = page.IndexAt(x, y);
            row += v < 16 ? "0123456789ABCDEF"[v] : '*';
        }
        rows.push_back(row);
    }
    return rows;
}

// The number of pixels of the raster (runs may overlap; each pixel counts once).
inline int raster_pixel_count(const TRaster& raster)
{
    std::vector<uint8_t> seen(GRPH_PIXELS, 0);
    int count = 0;
    for (const TSpan& s : raster.Spans())
        for (int x = s.left; x <= s.right; ++x)
            if (!seen[s.y * GRPH_WIDTH + x]++) ++count;
    return count;
}

}  // namespace gfx_test
