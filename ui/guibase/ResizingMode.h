#pragma once
// How a view follows its parent's resizing: which of its edges keep their distance to
// the parent's matching edges. One horizontal and one vertical choice are or-ed.

#include <cstdint>

#include "platform/Geometry.h"

inline constexpr uint32_t kFollowLeft = 0x01;
inline constexpr uint32_t kFollowRight = 0x02;
inline constexpr uint32_t kFollowLeftRight = kFollowLeft | kFollowRight;
inline constexpr uint32_t kFollowHCenter = 0x04;
inline constexpr uint32_t kFollowTop = 0x10;
inline constexpr uint32_t kFollowBottom = 0x20;
inline constexpr uint32_t kFollowTopBottom = kFollowTop | kFollowBottom;
inline constexpr uint32_t kFollowVCenter = 0x40;
inline constexpr uint32_t kFollowNone = kFollowLeft | kFollowTop;
inline constexpr uint32_t kFollowAll = kFollowLeftRight | kFollowTopBottom;

// The frame of a view with `mode` after its parent grew by `dw` and `dh` (negative:
// shrank). A mode without a horizontal (or vertical) choice follows the left (top).
platform::Rect follow_parent_resize(platform::Rect frame, uint32_t mode, float dw, float dh);
