#pragma once
// Screen coordinates as the records and messages hold them.

namespace platform {

struct Point {
    float x = 0;
    float y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Left, top, right and bottom edges, all inclusive.
struct Rect {
    float left = 0;
    float top = 0;
    float right = -1;
    float bottom = -1;
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform
