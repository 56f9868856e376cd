#pragma once
// Where the debug window opens. Every Continue brings the run window forward, so a
// debug window lying wholly under the run window could not be reached without moving
// windows: such a frame (one kept from an earlier session) goes beside the run window,
// to its right and at its height. Any other frame stays where it is. No window is
// needed to decide it.

#include "platform/Geometry.h"

// The room between the run window's right edge and the debug window beside it.
inline constexpr float kDebugWindowGap = 10;

// The top-left corner for the debug window at `frame`, with the run window at `runFrame`.
platform::Point debug_window_corner(const platform::Rect& frame, const platform::Rect& runFrame);
