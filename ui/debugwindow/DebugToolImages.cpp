#include "ui/debugwindow/DebugToolImages.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "ui/widgets/ToolImageQt.h"

namespace {

constexpr int SIZE = 16;

void arrow_head(QPainter& p, QPointF tip, QPointF back1, QPointF back2)
{
    QPainterPath path(tip);
    path.lineTo(back1);
    path.lineTo(back2);
    path.closeSubpath();
    p.fillPath(path, p.pen().color());
}

}  // namespace

std::optional<ToolImage> debug_tool_image(const std::string& name)
{
    QImage image(SIZE, SIZE, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    if (name == "TBRun") {
        p.setPen(QColor(20, 140, 40));
        arrow_head(p, {13, 8}, {4, 2}, {4, 14});
    } else if (name == "TBPause") {
        p.fillRect(QRectF(4, 3, 3, 10), QColor(30, 30, 30));
        p.fillRect(QRectF(9, 3, 3, 10), QColor(30, 30, 30));
    } else if (name == "TBStepOver") {
        p.drawArc(QRectF(3, 4, 10, 10), 0, 180 * 16);
        arrow_head(p, {13, 12}, {10, 8}, {15.5, 8});
        p.fillRect(QRectF(7, 13, 2, 2), QColor(30, 30, 30));
    } else if (name == "TBStepIn") {
        p.drawLine(QPointF(8, 2), QPointF(8, 9));
        arrow_head(p, {8, 13}, {4, 8}, {12, 8});
        p.fillRect(QRectF(7, 14, 2, 2), QColor(30, 30, 30));
    } else if (name == "TBStepOut") {
        p.drawLine(QPointF(8, 14), QPointF(8, 7));
        arrow_head(p, {8, 2}, {4, 7}, {12, 7});
    } else if (name == "TBKill") {
        p.fillRect(QRectF(3, 3, 10, 10), QColor(200, 30, 30));
    } else {
        return std::nullopt;
    }
    p.end();
    return tool_image_from_qimage(image);
}
