#pragma once
// Images of GET@ and PUT@: rectangles of palette numbers, in the form of a page's
// colour-index plane, copied from and drawn onto graphics pages.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "language/PixelImage.h"
#include "machine/screen/GraphicsPage.h"
#include "machine/screen/GraphicsPalette.h"

// An image is a TPixelImage whose words hold a palette number in their low byte and
// zeros above, the form of a page's colour-index pixels; only the low byte is read.
inline uint8_t image_index(const TPixelImage& image, int32_t x, int32_t y)
{
    return static_cast<uint8_t>(image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(image.Width) + x]);
}

inline void set_image_index(TPixelImage& image, int32_t x, int32_t y, uint8_t index)
{
    image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(image.Width) + x] = index;
}

// How PUT@ combines an image pixel v with the page's palette number under it.
enum class TPutMode : uint8_t {
    PSet = 0,    // v
    PReset = 1,  // 15 − v (also in the eight-colour modes: 7 gives 8)
    Or = 2,      // v OR page
    And = 3,     // v AND page
    Xor = 4,     // v XOR page, the default
};

// The mode of its number 0 to 4; nothing for any other number.
std::optional<TPutMode> put_mode_of(int64_t number);

// The palette number PUT@ writes for image pixel v over page pixel `under`.
uint8_t combine_put_pixel(TPutMode mode, uint8_t v, uint8_t under);

// GET@: the rectangle from (x1, y1) to (x2, y2), corners included, copied from the
// page's colour-index plane. Nothing (the caller raises "@Runtime_Err_Ill_Func_Call@")
// when x1 ≥ x2 or y1 ≥ y2, so an image is at least 2 by 2 pixels, or when a corner lies
// off the page. The corners are 64-bit so that sums of STEP cannot wrap.
std::optional<TPixelImage> get_page_image(const TGraphicsPage& page, int64_t x1, int64_t y1, int64_t x2, int64_t y2);

// PUT@: draws the image with its top left pixel at (x, y), combining each pixel with the
// page by `mode`, into both planes (both locks held, colour-index first). Image pixels
// that fall off the page are left out; nothing off the page is read or written. An image
// whose pixels do not fill its size draws nothing.
void put_page_image(TGraphicsPage& page, const TGraphicsPalette& palette, const TPixelImage& image, int64_t x,
                    int64_t y, TPutMode mode);

// The array picture of PUT@: the number of picture bytes of a width × height image of
// `planes` bit planes, (width + 7) / 8 bytes per plane row; 0 for a size below 1.
int64_t bit_plane_byte_count(int64_t width, int64_t height, int planes);

// Unpacks an array picture: for each pixel row from the top, the row of plane 0, then
// plane 1, and so on; bit 7 of a byte is the leftmost of its eight pixels; plane q adds
// 2 to the power q to the palette number. Nothing when `bytes` holds fewer bytes than
// bit_plane_byte_count gives; an empty image for a size below 1.
std::optional<TPixelImage> decode_bit_plane_image(int32_t width, int32_t height, int planes,
                                                  std::span<const uint8_t> bytes);

// Unpacks one pixel row of an array picture into `row` (its size is the width): the
// row's plane rows one after the other, (width + 7) / 8 bytes each, `planeRows` holding
// `planes` of them.
void decode_bit_plane_row(std::span<const uint8_t> planeRows, int planes, std::span<uint32_t> row);

// The 16 by 16 image of a glyph (16 rows, the leftmost pixel in the highest bit):
// `foreground` where the glyph has ink, `background` elsewhere.
TPixelImage glyph_image(const uint16_t rows[16], uint8_t foreground, uint8_t background);
