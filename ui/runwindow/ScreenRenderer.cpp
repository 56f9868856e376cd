#include "ui/runwindow/ScreenRenderer.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 400;
// Text is laid out at 8 pixels a column in both widths; 40 columns are stretched.
constexpr int kLayoutColumnWidth = 8;

QColor colour_of(const rgb_color& c)
{
    return QColor(c.red, c.green, c.blue);
}

QColor palette_colour(const TScreenSnapshot& shot, int code)
{
    return colour_of(shot.TxtColPal[std::clamp(code, 0, 7)]);
}

void draw_graphics(QPainter& painter, const TScreenSnapshot& shot, const QRect& pixels)
{
    if (shot.PixelRowCount == 0) return;
    const QImage rows(reinterpret_cast<const uchar*>(shot.Graphics.data()), kScreenWidth, shot.PixelRowCount,
                      kScreenWidth * 4, QImage::Format_RGB32);
    const QRect source(pixels.left(), pixels.top() - shot.FirstPixelRow, pixels.width(), pixels.height());
    painter.drawImage(pixels.topLeft(), rows, source);
}

// The cells the pixels touch, widened to the left half of a two-column character
// whose right half lies at the left edge.
void draw_text(QPainter& painter, const TScreenSnapshot& shot, const QRect& pixels)
{
    const int cols = shot.TxtCols;
    if (shot.TextRowCount == 0 || cols <= 0 || shot.CellWidth <= 0 || shot.CellHeight <= 0) return;
    const int firstRow = std::max(pixels.top() / shot.CellHeight, shot.FirstTextRow);
    const int lastRow = std::min(pixels.bottom() / shot.CellHeight, shot.FirstTextRow + shot.TextRowCount - 1);
    const int firstCol = std::clamp(pixels.left() / shot.CellWidth, 0, cols - 1);
    const int lastCol = std::clamp(pixels.right() / shot.CellWidth, 0, cols - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        const size_t rowStart = static_cast<size_t>(row - shot.FirstTextRow) * cols;
        int col = firstCol;
        if (col > 0 && shot.Cells[rowStart + col][0] == 0x02) --col;
        for (; col <= lastCol; ++col) {
            const auto& cell = shot.Cells[rowStart + col];
            if (cell[0] == 0x01 || cell[0] == 0x02) continue;
            painter.setPen(palette_colour(shot, shot.Attrs[rowStart + col]));
            const QString text = QString::fromUtf8(cell.data(), static_cast<qsizetype>(strnlen(cell.data(), 4)));
            painter.drawText(QPointF(col * kLayoutColumnWidth, shot.TxtBaseline + row * shot.CellHeight), text);
        }
    }
}

void draw_cursor(QPainter& painter, const TScreenSnapshot& shot)
{
    const int cols = shot.TxtCols;
    if (!shot.CsrShown || !shot.CsrBlink || cols <= 0) return;
    const int row = shot.CsrIdx / cols;
    const int col = shot.CsrIdx % cols;
    if (row < shot.FirstTextRow || row >= shot.FirstTextRow + shot.TextRowCount) return;
    const size_t cell = static_cast<size_t>(row - shot.FirstTextRow) * cols + col;
    const char first = shot.Cells[cell][0];
    const int code = (first == 0x01 || first == 0x02) ? shot.TxtCol : shot.Attrs[cell];
    painter.fillRect(QRect(col * shot.CellWidth, row * shot.CellHeight, shot.CellWidth, shot.CellHeight),
                     palette_colour(shot, code));
}

}  // namespace

QRect screen_pixels_of(const TScreenRect& area)
{
    if (area.IsEmpty()) return {};
    const int left = static_cast<int>(std::floor(std::max(area.left, 0.0f)));
    const int top = static_cast<int>(std::floor(std::max(area.top, 0.0f)));
    const int right = static_cast<int>(std::ceil(std::min(area.right, kScreenWidth - 1.0f)));
    const int bottom = static_cast<int>(std::ceil(std::min(area.bottom, kScreenHeight - 1.0f)));
    if (right < left || bottom < top) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void render_screen(QPainter& painter, const TScreenSnapshot& shot, const TScreenRect& area, const QFont& font,
                   bool withCursor)
{
    const QRect pixels = screen_pixels_of(area);
    if (pixels.isEmpty() || shot.IsEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRect(pixels);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    draw_graphics(painter, shot, pixels);
    if (shot.TxtCols == 80) {
        painter.setFont(font);
        draw_text(painter, shot, pixels);
    } else {
        QImage layer(kScreenWidth / 2, kScreenHeight, QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        {
            QPainter text(&layer);
            text.setRenderHint(QPainter::TextAntialiasing, false);
            text.setFont(font);
            // The cells are chosen by screen pixels; each is drawn at its layer column.
            draw_text(text, shot, pixels);
        }
        painter.drawImage(QRect(0, 0, kScreenWidth, kScreenHeight), layer);
    }
    if (withCursor) draw_cursor(painter, shot);
    painter.restore();
}
