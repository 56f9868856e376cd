#include "ui/runwindow/ScreenCopy.h"

#include <QPainter>
#include <cstring>
#include <mutex>

#include "machine/devices/BasicRsrc.h"
#include "ui/runwindow/ScreenRenderer.h"

namespace {

constexpr TScreenRect kWholeScreen{0, 0, 640, 400};

}  // namespace

std::string screen_copy_text(const TScreenSnapshot& shot)
{
    std::string text;
    const int cols = shot.TxtCols;
    for (int row = 0; row < shot.TextRowCount; ++row) {
        const size_t start = static_cast<size_t>(row) * cols;
        int last = cols - 1;
        while (last >= 0 && shot.Cells[start + last][0] == 0x01) --last;
        for (int col = 0; col <= last; ++col) {
            const auto& cell = shot.Cells[start + col];
            if (cell[0] == 0x01)
                text += ' ';
            else if (cell[0] != 0x02)
                text.append(cell.data(), strnlen(cell.data(), 4));
        }
        text += '\n';
    }
    return text;
}

QImage graphics_page_image(const TBasicRsrc& rsrc, int page)
{
    QImage image(TBasicRsrc::SCREEN_WIDTH, TBasicRsrc::SCREEN_HEIGHT, QImage::Format_RGB32);
    if (page == -1) {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        page = rsrc.DisplayPage;
    }
    if (page < 0 || page >= GRPH_PAGE_COUNT) {
        image.fill(Qt::black);
        return image;
    }
    const TGraphicsPage& source = rsrc.Graphics.Page(static_cast<int8_t>(page));
    std::lock_guard<std::mutex> lock(source.ColourLock());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), source.ColourBits() + static_cast<size_t>(y) * TBasicRsrc::SCREEN_WIDTH,
                    TBasicRsrc::SCREEN_WIDTH * sizeof(uint32_t));
    return image;
}

QImage composition_image(const TBasicRsrc& rsrc, const QFont& font)
{
    QImage image(TBasicRsrc::SCREEN_WIDTH, TBasicRsrc::SCREEN_HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    render_screen(painter, rsrc.SnapshotScreen(kWholeScreen), kWholeScreen, font, false);
    return image;
}
