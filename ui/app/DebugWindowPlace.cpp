#include "ui/app/DebugWindowPlace.h"

namespace {

bool lies_within(const platform::Rect& inner, const platform::Rect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

platform::Point debug_window_corner(const platform::Rect& frame, const platform::Rect& runFrame)
{
    if (!lies_within(frame, runFrame)) return platform::Point{frame.left, frame.top};
    return platform::Point{runFrame.right + 1 + kDebugWindowGap, runFrame.top};
}
