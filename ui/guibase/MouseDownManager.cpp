#include "ui/guibase/MouseDownManager.h"

namespace {
constexpr int32_t kPrimary = 1;
constexpr int32_t kSecondary = 2;
// Strictly more than 4 pixels from the press point starts a drag.
constexpr float kDragDistanceSquared = 16;
}  // namespace

void TMouseDownManager::ManageMouseDown(platform::Point point, int32_t buttons, int32_t clicks)
{
    mDragging = false;
    mButtons = buttons;
    mClicks = clicks;
    mPressPoint = point;
    if (mClicks % 3 != 1) return;
    if (mButtons == kPrimary) MouseDownLeft(point);
    if (mButtons == kSecondary) MouseDownRight(point);
}

void TMouseDownManager::ManageMouseMoved(platform::Point point)
{
    if (mButtons == 0) return;
    if (!mDragging) {
        float dx = point.x - mPressPoint.x;
        float dy = point.y - mPressPoint.y;
        if (dx * dx + dy * dy <= kDragDistanceSquared) return;
        mDragging = true;
        if (mButtons == kPrimary) MouseDragBeginLeft(mPressPoint, point);
        if (mButtons == kSecondary) MouseDragBeginRight(mPressPoint, point);
    }
    if (mButtons == kPrimary) MouseDraggingLeft(mPressPoint, point);
    if (mButtons == kSecondary) MouseDraggingRight(mPressPoint, point);
}

void TMouseDownManager::ManageMouseUp(platform::Point point)
{
    if (mButtons == 0) return;
    int32_t series = mClicks % 3;
    if (!mDragging) {
        if (series == 1 && mButtons == kPrimary) MouseClickLeftSingle(point);
        if (series == 1 && mButtons == kSecondary) MouseClickRightSingle(point);
        if (series == 2 && mButtons == kPrimary) MouseClickLeftDouble(point);
        if (series == 2 && mButtons == kSecondary) MouseClickRightDouble(point);
    } else {
        if (mButtons == kPrimary) MouseDragEndLeft(mPressPoint, point);
        if (mButtons == kSecondary) MouseDragEndRight(mPressPoint, point);
    }
    if (series == 1 && mButtons == kPrimary) MouseUpLeft(point);
    if (series == 1 && mButtons == kSecondary) MouseUpRight(point);
    mButtons = 0;
    mDragging = false;
}
