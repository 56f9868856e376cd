#include "ui/guibase/ResizingMode.h"

namespace {

// One axis: the low and high edges of the view, its mode bits on that axis.
void follow_axis(float* low, float* high, bool followLow, bool followHigh, bool center, float delta)
{
    if (center) {
        *low += delta / 2;
        *high += delta / 2;
    } else if (followHigh && followLow) {
        *high += delta;
    } else if (followHigh) {
        *low += delta;
        *high += delta;
    }
}

}  // namespace

platform::Rect follow_parent_resize(platform::Rect frame, uint32_t mode, float dw, float dh)
{
    follow_axis(&frame.left, &frame.right, mode & kFollowLeft, mode & kFollowRight, mode & kFollowHCenter, dw);
    follow_axis(&frame.top, &frame.bottom, mode & kFollowTop, mode & kFollowBottom, mode & kFollowVCenter, dh);
    return frame;
}
