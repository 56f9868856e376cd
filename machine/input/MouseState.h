#pragma once
// The mouse over the run view as a running program sees it: the pointer position,
// the two buttons, counts of presses and releases with the place of the last of each,
// the movement references and the rectangle that limits the reported position.
//
// The run window's thread writes the buttons, the counters and the points; the
// machine thread reads them and alone touches the ranges and the movement
// references. Counters change only by atomic additions (the machine subtracts exactly
// what it read, so no event is lost); button states are single atomic words; each
// point is copied as one unit under the state's lock.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "machine/host/GrphPoint.h"

enum class TMouseButton : uint8_t { Left = 0, Right = 1 };

class TMouseState {
public:
    // The range setters: the minimum becomes the smaller, the maximum the larger value.
    void SetMouseRangeX(int32_t a, int32_t b);
    void SetMouseRangeY(int32_t a, int32_t b);
    // SCREEN's mode sets only the Y maximum (199 or 399).
    void SetMouseRangeYMax(int32_t max) { mYMax = max; }

    // The pointer at view position p; y is divided by the vertical factor (2 in the
    // 200-line modes, else 1).
    void SetMousePosCurrent(const TGrphPoint& p, int8_t vertFactor);
    // state −1: pressed at p (counted as a press); anything else: released at p.
    void SetMouseButtonState(TMouseButton button, int32_t state, const TGrphPoint& p);

    // The current coordinate, truncated toward zero and limited to the range.
    int32_t MousePosCurrentX() const;
    int32_t MousePosCurrentY() const;
    // The place of the button's last press or release, truncated, not limited.
    TGrphPoint LastPress(TMouseButton button) const;
    TGrphPoint LastRelease(TMouseButton button) const;
    // Presses or releases since the count was last taken; taking it leaves any
    // event that arrives meanwhile for the next call.
    int32_t TakePresses(TMouseButton button) { return MouseNumCounts(mButtons[Index(button)].Presses); }
    int32_t TakeReleases(TMouseButton button) { return MouseNumCounts(mButtons[Index(button)].Releases); }
    // −1 while pressed, 0 otherwise.
    int32_t ButtonState(TMouseButton button) const { return mButtons[Index(button)].State.load(); }
    // The movement since the last query of the same axis, in reported coordinates.
    int32_t MouseDistanceX();
    int32_t MouseDistanceY();

    // Whole-number coordinate of a stored position.
    static int32_t Truncate(float v);

private:
    struct TButton {
        std::atomic<int32_t> State{0};
        std::atomic<int32_t> Presses{0};
        std::atomic<int32_t> Releases{0};
        TGrphPoint LastPress;
        TGrphPoint LastRelease;
    };
    static size_t Index(TMouseButton button) { return static_cast<size_t>(button); }
    static int32_t MouseNumCounts(std::atomic<int32_t>& counter);
    TGrphPoint Current() const;

    mutable std::mutex mPointLock;
    TGrphPoint mCurrent;
    TButton mButtons[2];
    int32_t mXMin = 0;
    int32_t mXMax = 639;
    int32_t mYMin = 0;
    int32_t mYMax = 399;
    float mRefX = 0;
    float mRefY = 0;
};
