#include "machine/screen/PageImage.h"

#include <algorithm>

std::optional<TPutMode> put_mode_of(int64_t number)
{
    if (number < 0 || number > 4) return std::nullopt;
    return static_cast<TPutMode>(number);
}

uint8_t combine_put_pixel(TPutMode mode, uint8_t v, uint8_t under)
{
    switch (mode) {
    case TPutMode::PSet: return v;
    case TPutMode::PReset: return static_cast<uint8_t>(15 - v);
    case TPutMode::Or: return v | under;
    case TPutMode::And: return v & under;
    case TPutMode::Xor: break;
    }
    return v ^ under;
}

std::optional<TPixelImage> get_page_image(const TGraphicsPage& page, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    if (x1 >= x2 || y1 >= y2 || !on_page(x1, y1) || !on_page(x2, y2)) return std::nullopt;
    const auto width = static_cast<int32_t>(x2 - x1 + 1);
    const auto height = static_cast<int32_t>(y2 - y1 + 1);
    TPixelImage image(width, height);
    std::lock_guard<std::mutex> lock(page.IndexLock());
    const uint8_t* bits = page.IndexBits();
    for (int32_t r = 0; r < height; ++r)
        for (int32_t c = 0; c < width; ++c) set_image_index(image, c, r, bits[(y1 + r) * GRPH_WIDTH + x1 + c]);
    return image;
}

void put_page_image(TGraphicsPage& page, const TGraphicsPalette& palette, const TPixelImage& image, int64_t x,
                    int64_t y, TPutMode mode)
{
    if (image.Width < 1 || image.Height < 1 ||
        image.Pixels.size() < static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height))
        return;
    if (x >= GRPH_WIDTH || y >= GRPH_HEIGHT || x <= -int64_t{image.Width} || y <= -int64_t{image.Height}) return;
    // The image rows and columns that land on the page.
    const int64_t firstRow = std::max<int64_t>(0, -y);
    const int64_t lastRow = std::min<int64_t>(image.Height, GRPH_HEIGHT - y) - 1;
    const int64_t firstCol = std::max<int64_t>(0, -x);
    const int64_t lastCol = std::min<int64_t>(image.Width, GRPH_WIDTH - x) - 1;
    if (firstRow > lastRow || firstCol > lastCol) return;

    std::lock_guard<std::mutex> indexLock(page.IndexLock());
    std::lock_guard<std::mutex> colourLock(page.ColourLock());
    uint8_t* index = page.IndexBits();
    uint32_t* colour = page.ColourBits();
    for (int64_t r = firstRow; r <= lastRow; ++r) {
        for (int64_t c = firstCol; c <= lastCol; ++c) {
            const int64_t pos = (y + r) * GRPH_WIDTH + x + c;
            const uint8_t u = combine_put_pixel(
                mode, image_index(image, static_cast<int32_t>(c), static_cast<int32_t>(r)), index[pos]);
            index[pos] = u;
            colour[pos] = palette.Word(static_cast<int8_t>(u));
        }
    }
}

int64_t bit_plane_byte_count(int64_t width, int64_t height, int planes)
{
    if (width < 1 || height < 1 || planes < 1) return 0;
    return (width + 7) / 8 * height * planes;
}

std::optional<TPixelImage> decode_bit_plane_image(int32_t width, int32_t height, int planes,
                                                  std::span<const uint8_t> bytes)
{
    const int64_t needed = bit_plane_byte_count(width, height, planes);
    if (static_cast<int64_t>(bytes.size()) < needed) return std::nullopt;
    TPixelImage image(width, height);
    if (image.Pixels.empty()) return image;
    const auto rowBytes = static_cast<size_t>((int64_t{width} + 7) / 8 * planes);
    const auto w = static_cast<size_t>(width);
    for (size_t y = 0; y < static_cast<size_t>(height); ++y)
        decode_bit_plane_row(bytes.subspan(y * rowBytes, rowBytes), planes, std::span(image.Pixels).subspan(y * w, w));
    return image;
}

void decode_bit_plane_row(std::span<const uint8_t> planeRows, int planes, std::span<uint32_t> row)
{
    const size_t planeBytes = (row.size() + 7) / 8;
    for (size_t x = 0; x < row.size(); ++x) {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
        uint32_t index = 0;
        for (int q = 0; q < planes; ++q) {
            if (planeRows[static_cast<size_t>(q) * planeBytes + x / 8] & bit) index |= 1u << q;
        }
        row[x] = index;
    }
}

TPixelImage glyph_image(const uint16_t rows[16], uint8_t foreground, uint8_t background)
{
    TPixelImage image(16, 16);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            set_image_index(image, x, y, (rows[y] & (0x8000 >> x)) ? foreground : background);
    return image;
}
