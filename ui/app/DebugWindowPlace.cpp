#include "ui/app/DebugWindowPlace.h"

#include <algorithm>
#include <array>

namespace {

using platform::Rect;

float width_of(const Rect& r)
{
    return r.right - r.left + 1;
}

float height_of(const Rect& r)
{
    return r.bottom - r.top + 1;
}

// A frame of the size `w` x `h` whose top-left corner is as near (x, y) as the screen allows.
Rect inside(float x, float y, float w, float h, const Rect& screen)
{
    x = std::max(screen.left, std::min(x, screen.right + 1 - w));
    y = std::max(screen.top, std::min(y, screen.bottom + 1 - h));
    return Rect{x, y, x + w - 1, y + h - 1};
}

float overlap(const Rect& a, const Rect& b)
{
    const float w = std::min(a.right, b.right) - std::max(a.left, b.left) + 1;
    const float h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top) + 1;
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

Rect debug_window_frame(const Rect& frame, const Rect& runFrame, const Rect& screen)
{
    const float w = std::min(width_of(frame), width_of(screen));
    const float h = std::min(height_of(frame), height_of(screen));
    const Rect kept = inside(frame.left, frame.top, w, h, screen);
    if (overlap(kept, runFrame) == 0) return kept;

    const std::array<Rect, 5> places = {
        inside(runFrame.right + 1 + kDebugWindowGap, runFrame.top, w, h, screen),
        inside(runFrame.left, runFrame.bottom + 1 + kDebugWindowGap, w, h, screen),
        inside(runFrame.left - kDebugWindowGap - w, runFrame.top, w, h, screen),
        inside(runFrame.left, runFrame.top - kDebugWindowGap - h, w, h, screen),
        kept,
    };
    const Rect* best = &places.front();
    for (const Rect& place : places)
        if (overlap(place, runFrame) < overlap(*best, runFrame)) best = &place;
    return *best;
}
