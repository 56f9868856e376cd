#include "machine/input/MouseState.h"

#include <algorithm>
#include <cmath>

int32_t TMouseState::Truncate(float v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(v);
}

void TMouseState::SetMouseRangeX(int32_t a, int32_t b)
{
    mXMin = std::min(a, b);
    mXMax = std::max(a, b);
}

void TMouseState::SetMouseRangeY(int32_t a, int32_t b)
{
    mYMin = std::min(a, b);
    mYMax = std::max(a, b);
}

void TMouseState::SetMousePosCurrent(const TGrphPoint& p, int8_t vertFactor)
{
    const float factor = vertFactor == 2 ? 2.0f : 1.0f;
    std::lock_guard<std::mutex> lock(mPointLock);
    mCurrent = TGrphPoint{p.x, p.y / factor};
}

void TMouseState::SetMouseButtonState(TMouseButton button, int32_t state, const TGrphPoint& p)
{
    TButton& b = mButtons[Index(button)];
    b.State.store(state);
    if (state == -1) {
        b.Presses.fetch_add(1);
        std::lock_guard<std::mutex> lock(mPointLock);
        b.LastPress = p;
    } else {
        b.Releases.fetch_add(1);
        std::lock_guard<std::mutex> lock(mPointLock);
        b.LastRelease = p;
    }
}

TGrphPoint TMouseState::Current() const
{
    std::lock_guard<std::mutex> lock(mPointLock);
    return mCurrent;
}

// A minimum left above the maximum: below the minimum gives the minimum, anything
// else the maximum.
static int32_t limit(int32_t v, int32_t min, int32_t max)
{
    if (v < min) return min;
    if (v > max) return max;
    return v;
}

int32_t TMouseState::MousePosCurrentX() const
{
    return limit(Truncate(Current().x), mXMin, mXMax);
}

int32_t TMouseState::MousePosCurrentY() const
{
    return limit(Truncate(Current().y), mYMin, mYMax);
}

TGrphPoint TMouseState::LastPress(TMouseButton button) const
{
    std::lock_guard<std::mutex> lock(mPointLock);
    return mButtons[Index(button)].LastPress;
}

TGrphPoint TMouseState::LastRelease(TMouseButton button) const
{
    std::lock_guard<std::mutex> lock(mPointLock);
    return mButtons[Index(button)].LastRelease;
}

int32_t TMouseState::MouseNumCounts(std::atomic<int32_t>& counter)
{
    const int32_t v = counter.load();
    counter.fetch_sub(v);
    return v;
}

int32_t TMouseState::MouseDistanceX()
{
    const int32_t c = MousePosCurrentX();
    const int32_t d = static_cast<int32_t>(static_cast<uint32_t>(c) - static_cast<uint32_t>(Truncate(mRefX)));
    mRefX = static_cast<float>(c);
    return d;
}

int32_t TMouseState::MouseDistanceY()
{
    const int32_t c = MousePosCurrentY();
    const int32_t d = static_cast<int32_t>(static_cast<uint32_t>(c) - static_cast<uint32_t>(Truncate(mRefY)));
    mRefY = static_cast<float>(c);
    return d;
}
