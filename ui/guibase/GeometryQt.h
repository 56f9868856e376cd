#pragma once
// Rectangles with inclusive right and bottom edges, as the records keep them, and
// Qt's: a frame whose right edge is 300 more than its left is 301 pixels wide.

#include <QPoint>
#include <QRect>
#include <cmath>

#include "platform/Geometry.h"

inline QRect to_qrect(const platform::Rect& r)
{
    return QRect(QPoint(static_cast<int>(std::lround(r.left)), static_cast<int>(std::lround(r.top))),
                 QPoint(static_cast<int>(std::lround(r.right)), static_cast<int>(std::lround(r.bottom))));
}

inline platform::Rect from_qrect(const QRect& r)
{
    return platform::Rect{static_cast<float>(r.left()), static_cast<float>(r.top()), static_cast<float>(r.right()),
                          static_cast<float>(r.bottom())};
}

inline platform::Point from_qpointf(const QPointF& p)
{
    return platform::Point{static_cast<float>(p.x()), static_cast<float>(p.y())};
}
