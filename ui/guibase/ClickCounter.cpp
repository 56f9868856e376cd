#include "ui/guibase/ClickCounter.h"

#include <cmath>

int32_t TClickCounter::Press(int32_t buttons, platform::Point point, int64_t timeMs)
{
    bool continues = mCount > 0 && buttons == mButtons && timeMs - mTimeMs <= mIntervalMs &&
                     std::fabs(point.x - mPoint.x) <= mMaxDistance && std::fabs(point.y - mPoint.y) <= mMaxDistance;
    mCount = continues ? mCount + 1 : 1;
    mButtons = buttons;
    mTimeMs = timeMs;
    mPoint = point;
    return mCount;
}
