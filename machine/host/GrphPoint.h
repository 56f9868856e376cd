#pragma once
// A point of a graphics page in page pixels; STEP coordinates are relative to one.
// The run view reports the mouse with it too, so it lives apart from the pages.

struct TGrphPoint {
    float x = 0;
    float y = 0;
    friend bool operator==(const TGrphPoint&, const TGrphPoint&) = default;
};
