#pragma once
// A rectangle of screen pixels (left, top, right, bottom). It is empty when its right
// edge lies left of its left edge or its bottom above its top.

struct TScreenRect {
    float left = 0;
    float top = 0;
    float right = -1;
    float bottom = -1;

    bool IsEmpty() const { return right < left || bottom < top; }

    // The smallest rectangle holding both; an empty one adds nothing.
    void Include(const TScreenRect& r)
    {
        if (r.IsEmpty()) return;
        if (IsEmpty()) {
            *this = r;
            return;
        }
        if (r.left < left) left = r.left;
        if (r.top < top) top = r.top;
        if (r.right > right) right = r.right;
        if (r.bottom > bottom) bottom = r.bottom;
    }

    bool operator==(const TScreenRect&) const = default;
};
