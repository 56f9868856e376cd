#pragma once
// Turns a view's raw mouse presses, moves and releases into single clicks, double
// clicks, drags and releases of the primary (left) and secondary (right) button.
//
// The caller gives each press its button mask (1 primary, 2 secondary, other masks are
// tracked but call no hook) and its click count (1 for a first click, 2 for the second
// of a double click...). Counting modulo 3 makes a third click do nothing and a fourth
// count as a first again. A move of more than 4 pixels from the press point is a drag.
// All calls come from the GUI thread.

#include <cstdint>

#include "platform/Geometry.h"

class TMouseDownManager {
public:
    TMouseDownManager() = default;
    virtual ~TMouseDownManager() = default;

    void ManageMouseDown(platform::Point point, int32_t buttons, int32_t clicks);
    void ManageMouseMoved(platform::Point point);
    void ManageMouseUp(platform::Point point);

    // The hooks do nothing here; two-point hooks get the press point first.
    virtual void MouseClickLeftDouble(platform::Point) {}
    virtual void MouseClickLeftSingle(platform::Point) {}
    virtual void MouseClickRightDouble(platform::Point) {}
    virtual void MouseClickRightSingle(platform::Point) {}
    virtual void MouseDownLeft(platform::Point) {}
    virtual void MouseDownRight(platform::Point) {}
    virtual void MouseDragBeginLeft(platform::Point, platform::Point) {}
    virtual void MouseDragBeginRight(platform::Point, platform::Point) {}
    virtual void MouseDragEndLeft(platform::Point, platform::Point) {}
    virtual void MouseDragEndRight(platform::Point, platform::Point) {}
    virtual void MouseDraggingLeft(platform::Point, platform::Point) {}
    virtual void MouseDraggingRight(platform::Point, platform::Point) {}
    virtual void MouseUpLeft(platform::Point) {}
    virtual void MouseUpRight(platform::Point) {}

private:
    bool mDragging = false;
    int32_t mButtons = 0;  // 0: no press tracked
    int32_t mClicks = 0;
    platform::Point mPressPoint;
};
