#pragma once
// Where the debug window opens. Every Continue and every run the user starts brings
// the run window forward, so whatever part of the debug window lies under the run
// window is hidden then: its tool bar (Run, Pause, the steps, Kill) near the top, or
// its variable values on the right. A frame kept from an earlier session, or the
// default one on a screen narrower than it was made for, may lie so.
//
// The frame first shrinks to the screen's available area where it is larger, and
// moves inside it. When it then overlaps the run window it goes beside the run
// window: to its right at its height, else below it at its left edge, else to its
// left, else above it, each kept inside the screen; the first that does not overlap
// the run window is taken, or, when every place does, the one that overlaps it least.
// No window is needed to decide it.

#include "platform/Geometry.h"

// The room between the run window and the debug window beside it.
inline constexpr float kDebugWindowGap = 10;

// The debug window's frame for its kept `frame`, with the run window at `runFrame`,
// on a screen whose available area (for frames without their title bars) is `screen`.
platform::Rect debug_window_frame(const platform::Rect& frame, const platform::Rect& runFrame,
                                  const platform::Rect& screen);
