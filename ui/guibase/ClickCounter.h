#pragma once
// Counts the clicks of a series, as the platform's click count does: a press of the
// same buttons within the double-click interval of the previous press and near its
// point continues the series; any other press starts a new one at 1.

#include <cstdint>

#include "platform/Geometry.h"

class TClickCounter {
public:
    // `intervalMs`: the user's double-click interval; `maxDistance`: how far (in
    // pixels along either axis) a press may be from the previous one.
    TClickCounter(int64_t intervalMs, float maxDistance) : mIntervalMs(intervalMs), mMaxDistance(maxDistance) {}

    // The click count of a press at `timeMs` (any monotonic milliseconds).
    int32_t Press(int32_t buttons, platform::Point point, int64_t timeMs);

private:
    int64_t mIntervalMs;
    float mMaxDistance;
    int32_t mCount = 0;
    int32_t mButtons = 0;
    int64_t mTimeMs = 0;
    platform::Point mPoint;
};
